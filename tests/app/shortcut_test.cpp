// The command lines and descriptions that shortcuts start the program with.
#include "shortcut.h"

#include <gtest/gtest.h>

namespace {

CurrentShortcut Connected(unsigned options, const char* file = "") {
    CurrentShortcut shortcut;
    shortcut.connected = true;
    shortcut.port = {"COM2", 9600, 8, 0};
    shortcut.file = file;
    shortcut.options = options;
    return shortcut;
}

TEST(CurrentShortcut, DisconnectedWithoutFile) {
    CurrentShortcut shortcut;
    shortcut.options = 0;
    EXPECT_EQ(CurrentShortcutArguments(shortcut), "");
    EXPECT_EQ(CurrentShortcutDescription(shortcut), "* Vantor * Tarlin *");
    shortcut.options = kShortcutDefaultOptions;
    EXPECT_EQ(CurrentShortcutArguments(shortcut), "") << "no port and no file to name";
}

TEST(CurrentShortcut, PortFileAndChatMode) {
    const CurrentShortcut shortcut =
        Connected(kShortcutPortSetting | kShortcutLoadedFile | kShortcutChatMode, "C:\\X\\A.MHX");
    EXPECT_EQ(CurrentShortcutArguments(shortcut), "-c COM2 9600 8 0  -f \"C:\\X\\A.MHX\" -cm");
    EXPECT_EQ(CurrentShortcutDescription(shortcut),
              "* Vantor * Tarlin *\n\nPort: COM2\nRychlost: 9600\nDat. bity: 8\n"
              "Parita: Žádná (NO)\n\nSoubor: C:\\X\\A.MHX");
    EXPECT_EQ(CurrentShortcutDescription(Connected(0)),
              "* Vantor * Tarlin *\n\nPort: COM2\nRychlost: 9600\nDat. bity: 8\n"
              "Parita: Žádná (NO)");
}

TEST(CurrentShortcut, EveryOptionInItsOrder) {
    EXPECT_EQ(CurrentShortcutArguments(Connected(0x7F, "D:\\m.mhx")),
              "-c COM2 9600 8 0  -f \"D:\\m.mhx\" -cm -h -r -w r")
        << "with the port setting the connection dialog is needed anyway";
    EXPECT_EQ(CurrentShortcutArguments(Connected(kShortcutNoConnectDialog)), " -w c");
    EXPECT_EQ(CurrentShortcutArguments(Connected(kShortcutNoConnectDialog | kShortcutNoPowerCycle)),
              " -w cr");
    CurrentShortcut away = Connected(kShortcutPortSetting | kShortcutLoadedFile, "C:\\a.mhx");
    away.connected = false;
    EXPECT_EQ(CurrentShortcutArguments(away), " -f \"C:\\a.mhx\"");
}

TEST(CurrentShortcut, ParityNames) {
    CurrentShortcut shortcut = Connected(0);
    shortcut.port.parity = 3;
    EXPECT_NE(CurrentShortcutDescription(shortcut).find("Parita: Značka (MARK)"),
              std::string::npos);
    shortcut.port.parity = 7;
    EXPECT_NE(CurrentShortcutDescription(shortcut).find("Parita: Žádná (NO)"), std::string::npos);
}

TEST(BuiltShortcut, FileResetAndEcho) {
    BuiltShortcut shortcut;
    shortcut.port = {"COM1", 115200, 8, 2};
    shortcut.upload = BuiltShortcut::kThisFile;
    shortcut.file = "C:\\M\\A.MHX";
    shortcut.reset = true;
    EXPECT_EQ(BuiltShortcutArguments(shortcut), "-c COM1 115200 8 2 -f \"C:\\M\\A.MHX\" -r -io a");
    EXPECT_EQ(BuiltShortcutDescription(shortcut),
              "* Vantor * Tarlin *\n\nPort: COM1\nRychlost: 115200\nDat. bity: 8\n"
              "Parita: Sudá (EVEN)\n\nSoubor: C:\\M\\A.MHX");
}

TEST(BuiltShortcut, NoFileClosingAndTerminalOptions) {
    BuiltShortcut shortcut;
    shortcut.port = {"COM16", 9600, 7, 1};
    shortcut.upload = BuiltShortcut::kNoFile;
    shortcut.closeWhenDone = true;
    shortcut.chatMode = true;
    shortcut.echo = false;
    shortcut.hexOutput = true;
    shortcut.noAutoScroll = true;
    EXPECT_EQ(BuiltShortcutArguments(shortcut), "-c COM16 9600 7 1 -w rx -cm -io aohn");
    shortcut.upload = BuiltShortcut::kChooseAtStart;
    shortcut.file = "C:\\ignored.mhx";
    EXPECT_EQ(BuiltShortcutArguments(shortcut), "-c COM16 9600 7 1 -w x -cm -io aohn");
    EXPECT_EQ(BuiltShortcutDescription(shortcut).find("Soubor"), std::string::npos);
}

TEST(ShortcutFileName, LongPathsAreShortened) {
    EXPECT_EQ(ShortenedFileName("C:\\A\\B\\C\\F.MHX"), "C:\\A\\B\\C\\F.MHX") << "four backslashes";
    EXPECT_EQ(ShortenedFileName("C:\\A\\B\\C\\D\\F.MHX"), "C:\\A\\...\\D\\F.MHX");
    EXPECT_EQ(ShortenedFileName("\\\\server\\share\\a\\b\\c.mhx"), "\\\\...\\b\\c.mhx");
    EXPECT_EQ(ShortenedFileName("F.MHX"), "F.MHX");
}

TEST(IconChoice, WalksTheThirtyFourIcons) {
    CIconChoice icon;
    EXPECT_FALSE(icon.CanGoBack());
    EXPECT_EQ(icon.GetResourceId(), 1002);
    EXPECT_EQ(icon.GetIconIndex(), 0);
    EXPECT_STREQ(icon.GetName(), "Tarlin");
    icon.Back();
    EXPECT_EQ(icon.GetPosition(), 0);
    icon.On();
    EXPECT_EQ(icon.GetResourceId(), 1021);
    EXPECT_EQ(icon.GetIconIndex(), 7);
    EXPECT_STREQ(icon.GetName(), "Tarlin COM1");
    for (int i = 0; i < 40; ++i)
        icon.On();
    EXPECT_EQ(icon.GetPosition(), 33);
    EXPECT_FALSE(icon.CanGoOn());
    EXPECT_EQ(icon.GetResourceId(), 1053);
    EXPECT_EQ(icon.GetIconIndex(), 39);
}

} // namespace
