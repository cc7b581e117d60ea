// The shipped version.ini: its bytes, and every listed module recognised by its banner.
#include "identify.h"
#include "inifile.h"
#include "iniversionlist.h"
#include "process.h"
#include "versionlist.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Windows builds test the copy shipped next to tarlin.exe, native builds the source.
std::string ShippedFolder() {
#ifdef _WIN32
    return testing_support::OwnFolder();
#else
    return TARLIN_RESOURCES_DIR "/";
#endif
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class VersionListTest : public ::testing::Test {
protected:
    void SetUp() override {
        bytes = ReadBytes(ShippedFolder() + "version.ini");
        ASSERT_FALSE(bytes.empty()) << "version.ini lies next to the program";
        folder = testing_support::MakeTempFolder("tarlin-versions");
        std::ofstream(folder + "/version.ini", std::ios::binary) << bytes;
        ASSERT_TRUE(versions.AttachInFolder(folder.c_str(), "version.ini"));
    }
    void TearDown() override { testing_support::RemoveTree(folder); }

    std::vector<std::string> Listed() {
        std::vector<std::string> texts;
        for (int key = 1; versions.Read("VER", std::to_string(key).c_str()); ++key)
            texts.push_back(versions.GetValue());
        return texts;
    }
    // What the module sends after power-up: "\n\r", its version, "\n\r".
    int32_t Recognise(const std::string& version) {
        const std::string banner = "\n\r" + version + "\n\r";
        text.SetString(banner.c_str(), static_cast<int>(banner.size()));
        CIniVersionList list(versions);
        const CVersionTable table(list);
        return Identify(&table, text);
    }

    std::string bytes;
    std::string folder;
    CMyIniFile versions;
    CDynString text;
};

TEST_F(VersionListTest, IsCp1250WithoutByteOrderMark) {
    EXPECT_NE(0, bytes.compare(0, 3, "\xEF\xBB\xBF"));
    EXPECT_NE(0, bytes.compare(0, 2, "\xFF\xFE"));
    EXPECT_EQ(0, bytes.compare(0, 5, "[VER]"));
    // "Řídicí" as code page 1250 bytes, not UTF-8.
    EXPECT_NE(std::string::npos, bytes.find("\xD8\xED"
                                            "dic\xED"));
    EXPECT_EQ(std::string::npos, bytes.find("\xC5\x98")) << "UTF-8 'Ř' in the file";
}

TEST_F(VersionListTest, TheSimulatorsModuleIsRecognised) {
    EXPECT_EQ(1, Recognise("MODUL XY verze 1.23 (c) 2024"));
    EXPECT_STREQ("MODUL XY verze 1.23 (c) 2024", text.GetString());
}

TEST_F(VersionListTest, EveryListedModuleIsRecognisedAsItself) {
    const std::vector<std::string> listed = Listed();
    ASSERT_GE(listed.size(), 4u);
    for (size_t k = 0; k < listed.size(); ++k) {
        EXPECT_EQ(static_cast<int32_t>(k + 1), Recognise(listed[k])) << listed[k];
        EXPECT_EQ(listed[k], text.GetString());
    }
}

TEST_F(VersionListTest, CzechCapitalsMatchTheListedSpelling) {
    // Windows' profile functions read a file without a byte-order mark in the ANSI code page;
    // where that is not 1250 the Czech letters arrive changed until the settings reader
    // passes the bytes through.
    ASSERT_TRUE(versions.Read("VER", "3"));
    if (std::string(versions.GetValue()) != "Řídicí modul RM-12 verze 2.05")
        GTEST_SKIP() << "settings reader changes cp1250 letters: " << versions.GetValue();
    EXPECT_EQ(3, Recognise("ŘÍDICÍ MODUL RM-12 VERZE 2.05"));
    EXPECT_STREQ("Řídicí modul RM-12 verze 2.05", text.GetString());
}

} // namespace
