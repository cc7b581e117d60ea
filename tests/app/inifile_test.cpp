#include "ini_cases.h"
#include "inifile.h"
#include "process.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include <fstream>
#include <iterator>
#include <string>

namespace {

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override { folder = testing_support::MakeTempFolder("tarlin-ini"); }
    void TearDown() override { testing_support::RemoveTree(folder); }
    std::string PathOf(const std::string& name) { return folder + SEPARATOR + name; }
    void WriteRaw(const std::string& name, const std::string& content) {
        std::ofstream(PathOf(name), std::ios::binary) << content;
    }
    std::string ReadRaw(const std::string& name) {
        std::ifstream in(PathOf(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string ReadOrAbsent(CMyIniFile& file, const char* section, const char* key) {
        return file.Read(section, key) ? file.GetValue() : "<absent>";
    }
#ifdef _WIN32
    static constexpr const char* SEPARATOR = "\\";
#else
    static constexpr const char* SEPARATOR = "/";
#endif
    std::string folder;
};

// The same files give the same values here and through the platform's profile functions.
TEST_F(IniFileTest, ReadsTheSharedCases) {
    int index = 0;
    for (const ini_cases::Case& c : ini_cases::All()) {
        const std::string name = "case" + std::to_string(index++) + ".ini";
        WriteRaw(name, c.content);
        CMyIniFile file;
        ASSERT_TRUE(file.Attach(PathOf(name).c_str())) << c.name;
        for (const ini_cases::Query& q : c.queries) {
            if (std::string(c.name) == "long value") continue;
            EXPECT_EQ(ReadOrAbsent(file, q.section, q.key), q.expected ? q.expected : "<absent>")
                << c.name << " [" << q.section << "] " << q.key;
        }
    }
}

TEST_F(IniFileTest, LongValuesAreCut) {
    WriteRaw("long.ini", "[s]\nk=" + std::string(3000, 'x') + "\n");
    CMyIniFile file;
    ASSERT_TRUE(file.Attach(PathOf("long.ini").c_str()));
    ASSERT_TRUE(file.Read("s", "k"));
    EXPECT_EQ(std::string(file.GetValue()), std::string(2047, 'x'));
}

TEST_F(IniFileTest, WritesAddSectionsAndKeys) {
    CMyIniFile file;
    ASSERT_TRUE(file.AttachInFolder(folder.c_str(), "tarlin.ini"));
    EXPECT_EQ(std::string(file.GetPath()), PathOf("tarlin.ini"));
    EXPECT_FALSE(file.Read("LAST_SETTING", "PortName"));
    EXPECT_EQ(file.GetValue(), nullptr);
    EXPECT_TRUE(file.Write("LAST_SETTING", "PortName", "COM7"));
    EXPECT_TRUE(file.Write("LAST_SETTING", "Echo", "true"));
    EXPECT_TRUE(file.Write("jiří", "Width", "640"));
    EXPECT_TRUE(file.Write("last_setting", "portname", "COM8")); // replaces, whatever the case
    EXPECT_TRUE(file.Write("TEXT", "0", "Příliš žluťoučký kůň \\r\\n"));
    EXPECT_TRUE(file.Write("TEXT", "1", "leading blanks"));
    EXPECT_EQ(ReadOrAbsent(file, "LAST_SETTING", "PortName"), "COM8");
    EXPECT_EQ(ReadOrAbsent(file, "LAST_SETTING", "Echo"), "true");
    EXPECT_EQ(ReadOrAbsent(file, "JIří", "width"), "640");
    EXPECT_EQ(ReadOrAbsent(file, "TEXT", "0"), "Příliš žluťoučký kůň \\r\\n");
    EXPECT_EQ(ReadOrAbsent(file, "TEXT", "1"), "leading blanks");
    // Values that would break the file apart are refused.
    EXPECT_FALSE(file.Write("TEXT", "2", "two\r\nlines=x"));
    EXPECT_FALSE(file.Write("TEXT", "a=b", "x"));
    EXPECT_FALSE(file.Write("TE]XT", "k", "x"));
    EXPECT_FALSE(file.Write("TEXT", nullptr, "x"));
    EXPECT_FALSE(file.Read(nullptr, "k"));
    EXPECT_EQ(ReadOrAbsent(file, "TEXT", "2"), "<absent>");

    CMyIniFile again; // a second object sees the same file
    ASSERT_TRUE(again.Attach(PathOf("tarlin.ini").c_str()));
    EXPECT_EQ(ReadOrAbsent(again, "LAST_SETTING", "PortName"), "COM8");
    ASSERT_TRUE(again.Truncate());
    EXPECT_EQ(ReadOrAbsent(file, "LAST_SETTING", "PortName"), "<absent>");
    EXPECT_TRUE(file.Write("TEXT", "0", "after"));
    EXPECT_EQ(ReadOrAbsent(again, "TEXT", "0"), "after");
}

// Readers drop blanks and one pair of quotes around a value; the writer protects values that
// would lose them, so typed chat lines come back as they were typed.
TEST_F(IniFileTest, WrittenValuesReadBackAsTheyWere) {
    CMyIniFile file;
    ASSERT_TRUE(file.AttachInFolder(folder.c_str(), "tarlin.ini"));
    const char* values[] = {"  leading", "trailing\t", " both ", "'single'", "\"double\"",
                            "\"\"",      "\"",         "'a\"",   "\t",       "\"mixed' "};
    int key = 0;
    for (const char* value : values) {
        const std::string name = std::to_string(key++);
        ASSERT_TRUE(file.Write("CHAT", name.c_str(), value)) << value;
        EXPECT_EQ(ReadOrAbsent(file, "CHAT", name.c_str()), value);
    }
    // Plain values are stored as they are (seen in a file of plain bytes).
    WriteRaw("plain.ini", "[S]\r\n");
    CMyIniFile plain;
    ASSERT_TRUE(plain.Attach(PathOf("plain.ini").c_str()));
    ASSERT_TRUE(plain.Write("S", "k", "a b"));
    ASSERT_TRUE(plain.Write("S", "j", " a b"));
    EXPECT_EQ(ReadRaw("plain.ini"), "[S]\r\nk=a b\r\nj=\" a b\"\r\n");
}

// Names that could not be read back, or that would read as a section, are refused, and
// nothing else in the file changes.
TEST_F(IniFileTest, UnreadableNamesAreRefused) {
    WriteRaw("s.ini", "[s]\r\na=1\r\nb=2\r\n");
    CMyIniFile file;
    ASSERT_TRUE(file.Attach(PathOf("s.ini").c_str()));
    EXPECT_FALSE(file.Write("s", "[x", "3"));
    EXPECT_FALSE(file.Write("s", "  [x]", "3"));
    EXPECT_FALSE(file.Write("s", "  ", "3"));
    EXPECT_FALSE(file.Write("", "k", "3"));
    EXPECT_FALSE(file.Write(" \t", "k", "3"));
    EXPECT_EQ(ReadRaw("s.ini"), "[s]\r\na=1\r\nb=2\r\n");
    EXPECT_TRUE(file.Write("s", "x[", "3")); // a bracket inside a name is harmless
    EXPECT_EQ(ReadOrAbsent(file, "s", "x["), "3");
    EXPECT_EQ(ReadOrAbsent(file, "s", "b"), "2");
}

// A file whose last line ends in a lone CR (cut short, or written by another tool) keeps
// that line's value when a key is added after it.
TEST_F(IniFileTest, LoneCarriageReturnAtTheEnd) {
    WriteRaw("cr.ini", "[s]\r\nk=v\r");
    CMyIniFile file;
    ASSERT_TRUE(file.Attach(PathOf("cr.ini").c_str()));
    ASSERT_TRUE(file.Write("t", "j", "1"));
    EXPECT_EQ(ReadOrAbsent(file, "s", "k"), "v");
    EXPECT_EQ(ReadOrAbsent(file, "t", "j"), "1");
    WriteRaw("cr2.ini", "[s]\r\nk=v\r");
    CMyIniFile second;
    ASSERT_TRUE(second.Attach(PathOf("cr2.ini").c_str()));
    ASSERT_TRUE(second.Write("s", "j", "1")); // added to the same section
    EXPECT_EQ(ReadOrAbsent(second, "s", "k"), "v");
    EXPECT_EQ(ReadOrAbsent(second, "s", "j"), "1");
}

TEST_F(IniFileTest, AttachAndExists) {
    CMyIniFile file;
    EXPECT_FALSE(file.Exists(folder.c_str(), "version.ini"));
    WriteRaw("version.ini", "[VER]\n1=x\n");
    EXPECT_TRUE(file.Exists((folder + SEPARATOR).c_str(), "version.ini"));
    EXPECT_FALSE(file.IsAttached());
    EXPECT_FALSE(file.Exists(folder.c_str(), "")); // the folder itself is no file
    // A folder that does not exist: detached, reads absent, writes ignored.
    EXPECT_FALSE(file.AttachInFolder((folder + SEPARATOR + "missing").c_str(), "x.ini"));
    EXPECT_FALSE(file.IsAttached());
    EXPECT_FALSE(file.Write("s", "k", "v"));
    EXPECT_FALSE(file.Read("s", "k"));
    EXPECT_FALSE(file.Truncate());
    EXPECT_FALSE(file.Attach(nullptr));
    ASSERT_TRUE(file.Attach(PathOf("version.ini").c_str())); // existing content is kept
    EXPECT_EQ(ReadOrAbsent(file, "VER", "1"), "x");
}

// Settings files that are not files, or that lie where nothing can be written: detached,
// every value absent, every write ignored, nothing created.
TEST_F(IniFileTest, FilesThatAreNotFiles) {
#ifdef _WIN32
    ASSERT_TRUE(CreateDirectoryA(PathOf("tarlin.ini").c_str(), nullptr));
#else
    ASSERT_EQ(mkdir(PathOf("tarlin.ini").c_str(), 0755), 0);
#endif
    CMyIniFile file;
    EXPECT_FALSE(file.AttachInFolder(folder.c_str(), "tarlin.ini"));
    EXPECT_FALSE(file.Exists(folder.c_str(), "tarlin.ini"));
    EXPECT_FALSE(file.Write("s", "k", "v"));
    EXPECT_FALSE(file.Read("s", "k"));
    // A folder below a file.
    WriteRaw("plain", "x");
    EXPECT_FALSE(file.AttachInFolder(PathOf("plain").c_str(), "tarlin.ini"));
    EXPECT_EQ(ReadRaw("plain"), "x");
#ifndef _WIN32
    // A folder no one may write, whoever runs the test.
    EXPECT_FALSE(file.AttachInFolder("/proc", "tarlin.ini"));
    EXPECT_FALSE(file.Write("s", "k", "v"));
#endif
}

// 100,000 keys: the last one is found, a write changes its one line and keeps every other.
TEST_F(IniFileTest, HundredThousandKeys) {
    std::string content = "[LAST_SETTING]\r\n";
    for (int k = 0; k < 100000; ++k)
        content += "K" + std::to_string(k) + "=" + std::to_string(k) + "\r\n";
    WriteRaw("big.ini", content);
    CMyIniFile file;
    ASSERT_TRUE(file.Attach(PathOf("big.ini").c_str()));
    EXPECT_EQ(ReadOrAbsent(file, "LAST_SETTING", "K99999"), "99999");
    ASSERT_TRUE(file.Write("LAST_SETTING", "K50000", "changed"));
    ASSERT_TRUE(file.Write("LAST_SETTING", "New", "1"));
    const std::string now = ReadRaw("big.ini");
    EXPECT_EQ(now.size(), content.size() - 5 + 7 + 7);
    EXPECT_NE(now.find("\r\nK49999=49999\r\nK50000=changed\r\nK50001=50001\r\n"),
              std::string::npos);
    EXPECT_EQ(ReadOrAbsent(file, "LAST_SETTING", "K0"), "0");
    EXPECT_EQ(ReadOrAbsent(file, "LAST_SETTING", "New"), "1");
}

// A list of 10,000 versions read key by key, as identification reads it: every key found
// (the file is parsed once, not once per key), and a file changed in between is read anew.
TEST_F(IniFileTest, TenThousandVersionsReadKeyByKey) {
    std::string content = "[VER]\r\n";
    for (int k = 1; k <= 10000; ++k)
        content += std::to_string(k) + "=MODUL " + std::to_string(k) + " verze 1.0\r\n";
    WriteRaw("version.ini", content);
    CMyIniFile file;
    ASSERT_TRUE(file.Attach(PathOf("version.ini").c_str()));
    int found = 0;
    for (int k = 1; k <= 10001; ++k)
        found += ReadOrAbsent(file, "VER", std::to_string(k).c_str()) ==
                 "MODUL " + std::to_string(k) + " verze 1.0";
    EXPECT_EQ(found, 10000);
    EXPECT_EQ(ReadOrAbsent(file, "ver", "10001"), "<absent>");
    WriteRaw("version.ini", "[VER]\r\n1=jiný\r\n");
    EXPECT_EQ(ReadOrAbsent(file, "VER", "1"), "jiný");
    EXPECT_EQ(ReadOrAbsent(file, "VER", "2"), "<absent>");
    ASSERT_TRUE(file.Write("VER", "2", "další"));
    EXPECT_EQ(ReadOrAbsent(file, "VER", "2"), "další");
}

// Files written by other tools (the shipped version.ini among them) are cp1250 without a
// byte-order mark: their bytes are read and kept as they are, whatever the system's code page.
TEST_F(IniFileTest, PlainCp1250FilesKeepTheirBytes) {
    const std::string content = "; Řídicí moduly\r\n[VER]\r\n1=Řídicí modul ŘX čěů\r\n"
                                "2=TMX-100 v1.0\r\n\r\n[Jiří]\r\nx=ďábel\r\n";
    WriteRaw("version.ini", content);
    CMyIniFile file;
    ASSERT_TRUE(file.Attach(PathOf("version.ini").c_str()));
    EXPECT_EQ(ReadOrAbsent(file, "VER", "1"), "Řídicí modul ŘX čěů");
    EXPECT_EQ(ReadOrAbsent(file, "jiří", "x"), "ďábel");
    EXPECT_EQ(ReadRaw("version.ini"), content) << "attaching changes nothing";

    ASSERT_TRUE(file.Write("VER", "3", "Šťastný modul"));
    ASSERT_TRUE(file.Write("VER", "2", "Žluťoučký"));
    EXPECT_EQ(ReadRaw("version.ini"), "; Řídicí moduly\r\n[VER]\r\n1=Řídicí modul ŘX čěů\r\n"
                                      "2=Žluťoučký\r\n3=Šťastný modul\r\n\r\n[Jiří]\r\n"
                                      "x=ďábel\r\n");
    EXPECT_EQ(ReadOrAbsent(file, "VER", "3"), "Šťastný modul");
}

// A file the program made itself starts empty, and what it writes reads back the same.
TEST_F(IniFileTest, OwnFilesKeepEveryLetter) {
    CMyIniFile file;
    ASSERT_TRUE(file.AttachInFolder(folder.c_str(), "chat.ini"));
    ASSERT_TRUE(file.Write("TEXT", "0", "Řekni „ahoj“ – ß ŕ ľ"));
    EXPECT_EQ(ReadOrAbsent(file, "TEXT", "0"), "Řekni „ahoj“ – ß ŕ ľ");
    CMyIniFile again;
    ASSERT_TRUE(again.Attach(PathOf("chat.ini").c_str()));
    EXPECT_EQ(ReadOrAbsent(again, "text", "0"), "Řekni „ahoj“ – ß ŕ ľ");
}

} // namespace
