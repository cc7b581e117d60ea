#include "tarlincmdline.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using C = CTarlinCmdLine;

struct Parsed {
    explicit Parsed(const char* text) {
        cmd.SetCommandLine(text);
        row = cmd.Validate();
    }
    std::string Param(unsigned bit, int n) {
        const char* p = cmd.GetParameter(bit, n);
        return p ? p : "<none>";
    }
    CTarlinCmdLine cmd;
    int row;
};

TEST(CmdLineValidate, EmptyAndValidLines) {
    Parsed empty("");
    EXPECT_EQ(empty.row, 0);
    EXPECT_TRUE(empty.cmd.IsCommandLineEmpty());
    EXPECT_FALSE(empty.cmd.IsPresent(C::kPort));
    Parsed blanks("   ");
    EXPECT_TRUE(blanks.cmd.IsCommandLineEmpty());

    Parsed full("-c COM2 115200 7 2 -f \"C:\\moduly\\test 1.mhx\" -cm -t rl ABC -r -w cx "
                "-ti e '\\x083 a' -io hn");
    ASSERT_EQ(full.row, 0);
    EXPECT_FALSE(full.cmd.IsCommandLineEmpty());
    for (unsigned bit : {C::kPort, C::kFile, C::kChatMode, C::kText, C::kReset, C::kWithout,
                         C::kInitialText, C::kInputOutput})
        EXPECT_TRUE(full.cmd.IsPresent(bit)) << bit;
    EXPECT_FALSE(full.cmd.IsPresent(C::kHelp));
    EXPECT_FALSE(full.cmd.IsPresent(C::kPort | C::kFile)); // not one row's bit
    EXPECT_EQ(full.Param(C::kPort, 1), "COM2");
    EXPECT_EQ(full.Param(C::kPort, 4), "2");
    EXPECT_EQ(full.Param(C::kPort, 5), "<none>");
    EXPECT_EQ(full.Param(C::kPort, 0), "<none>");
    EXPECT_EQ(full.Param(C::kFile, 1), "C:\\moduly\\test 1.mhx");
    EXPECT_EQ(full.Param(C::kInitialText, 2), "\\x083 a");
    EXPECT_TRUE(full.cmd.HasLetter(C::kWithout, 'x'));
    EXPECT_FALSE(full.cmd.HasLetter(C::kWithout, 'r'));
    EXPECT_EQ(full.Param(C::kHelp, 1), "<none>");
}

TEST(CmdLineValidate, MissingParametersIgnoreTheWholeLine) {
    Parsed shortPort("-r -c COM2 9600");
    EXPECT_EQ(shortPort.row, 1);
    EXPECT_FALSE(shortPort.cmd.IsPresent(C::kReset));
    EXPECT_FALSE(shortPort.cmd.IsCommandLineEmpty());
    EXPECT_EQ(shortPort.Param(C::kPort, 1), "<none>");
    EXPECT_EQ(Parsed("-t e -r").row, 4);
    EXPECT_EQ(Parsed("-f x -ti n").row, 9);
    Parsed upper("-C COM1 9600 8 0 -CM");
    EXPECT_EQ(upper.row, 0); // no switch at all, and yet not empty
    EXPECT_FALSE(upper.cmd.IsPresent(C::kPort));
    EXPECT_FALSE(upper.cmd.IsCommandLineEmpty());
}

// Emptiness is a matter of the text: arguments the tokenizer cannot read still count.
TEST(CmdLineValidate, EmptinessLooksAtTheText) {
    for (const char* text : {"\"\"", "'abc", "\"\" e \"a b\" xa -r rl -h -c", "''", "\""}) {
        Parsed given(text);
        EXPECT_FALSE(given.cmd.IsCommandLineEmpty()) << text;
        EXPECT_FALSE(given.cmd.IsPresent(C::kReset)) << text;
    }
    Parsed none(nullptr);
    EXPECT_TRUE(none.cmd.IsCommandLineEmpty());
}

// The numbers of the port switch are decimal numbers or the switch is invalid.
TEST(CmdLineValidate, PortNumbersAreStrict) {
    for (const char* text :
         {"-c COM1 38400x 8 0", "-c COM1 38400 8b 0", "-c COM1 38400 8 x", "-c COM1 -9600 8 0",
          "-c COM1 99999999999 8 0", "-c COM1 '' 8 0 -r", "-r -c COM1 9600 8 0x"}) {
        Parsed bad(text);
        EXPECT_EQ(bad.row, 1) << text;
        EXPECT_FALSE(bad.cmd.IsPresent(C::kReset)) << text;
        EXPECT_EQ(bad.Param(C::kPort, 2), "<none>") << text;
    }
    Parsed good("-c COM1 0038400 8 4");
    EXPECT_EQ(good.row, 0);
    EXPECT_EQ(good.Param(C::kPort, 2), "0038400");
    EXPECT_EQ(Parsed("-c COM7x 9600 8 0").row, 0); // the name is no number
}

TEST(CmdLineValidate, OneParameterSwitches) {
    Parsed lone("-f");
    EXPECT_EQ(lone.row, 0);
    EXPECT_TRUE(lone.cmd.IsPresent(C::kFile));
    EXPECT_EQ(lone.Param(C::kFile, 1), "<none>");
    Parsed swallowed("-f -r");
    EXPECT_EQ(swallowed.Param(C::kFile, 1), "-r");
    EXPECT_TRUE(swallowed.cmd.IsPresent(C::kReset));
    Parsed repeated("-io a -io h /?");
    EXPECT_EQ(repeated.Param(C::kInputOutput, 1), "a");
    EXPECT_TRUE(repeated.cmd.IsPresent(C::kHelp));
    Parsed unvalidated("");
    unvalidated.cmd.SetCommandLine("-r");
    EXPECT_FALSE(unvalidated.cmd.IsPresent(C::kReset)); // nothing counts before Validate
}

TEST(CmdLineTexts, SwitchesHelpAndMessage) {
    EXPECT_EQ(CTarlinCmdLine::GetSwitchCount(), 10);
    EXPECT_STREQ(CTarlinCmdLine::GetSwitchText(C::kHelp), "-h");
    EXPECT_STREQ(CTarlinCmdLine::GetSwitchText(C::kInitialText), "-ti");
    EXPECT_STREQ(CTarlinCmdLine::GetSwitchText(0x200), "");
    EXPECT_STREQ(CTarlinCmdLine::GetHelpText(0), "");
    EXPECT_STREQ(CTarlinCmdLine::GetHelpText(11), "");
    EXPECT_STREQ(CTarlinCmdLine::GetHelpText(6), "Zobrazení nápovědy:\r    /?");
    EXPECT_STREQ(CTarlinCmdLine::GetHelpText(1),
                 "Nastavení portu:\r    -c  NÁZEV_PORTU  PŘENOSOVÁ_RYCHLOST  DATOVÉ_BITY  "
                 "PARITA\r        (PARITA: 0 - žádná, 1 - lichá, 2 - sudá, 3 - značka, 4 - "
                 "mezera)\r    například: tarlin.exe -c COM1 38400 8 0");
    const std::string text4 = CTarlinCmdLine::GetHelpText(4);
    EXPECT_NE(text4.find("CR (\\r))\r"), std::string::npos);
    EXPECT_NE(text4.find("\"toto\\040je text\\x020k odeslani\\r\""), std::string::npos);
    // The help is cp1250: one byte per Czech letter.
    EXPECT_EQ(std::string(CTarlinCmdLine::GetHelpText(5)).size(), 26u);
    CDynString message;
    ASSERT_TRUE(CTarlinCmdLine::FormatValidationMessage(7, message));
    EXPECT_STREQ(message.GetString(),
                 "Detekována chyba v příkazové řádce: Chybný počet parametrů u přepínače.\r\r"
                 "Používejte:\r\rVyslat RST po nahrání souboru do modulu:\r    -r\r\rPro "
                 "zobrazení celé nápovědy k příkazovému řádku zadejte 'tarlin.exe /?' \r\r"
                 "Nastavení z příkazové řádky bude ignorováno.");
}

} // namespace
