// Our profile reader and writer against the Windows profile functions, on the same files.
#include "ini_cases.h"
#include "inifile.h"
#include "process.h"
#include "profile.h"
#include "wide_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

std::string Platform(const std::string& path, const char* section, const char* key) {
    wchar_t value[2048];
    const DWORD n =
        GetPrivateProfileStringW(oskel::ToWide(section).c_str(), oskel::ToWide(key).c_str(), L"",
                                 value, 2048, oskel::ToWide(path.c_str()).c_str());
    if (n == 0) return "<absent>";
    return oskel::ToCp1250(value);
}

std::string Ours(const std::string& content, const char* section, const char* key) {
    std::string value;
    if (!profile::Find(content, section, key, value) || value.empty()) return "<absent>";
    return value.substr(0, 2047);
}

bool IsAscii(const std::string& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

class ProfileAgreement : public ::testing::Test {
protected:
    void SetUp() override { folder = testing_support::MakeTempFolder("tarlin-profile"); }
    void TearDown() override { testing_support::RemoveTree(folder); }
    // Every file gets its own name: the profile functions cache files by name.
    std::string Store(const std::string& content) {
        const std::string path = folder + "\\f" + std::to_string(count++) + ".ini";
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    std::string folder;
    int count = 0;
};

// The system reads ANSI files in its own code page, so only ASCII files compare byte for byte.
TEST_F(ProfileAgreement, SharedCases) {
    for (const ini_cases::Case& c : ini_cases::All()) {
        if (!IsAscii(c.content)) continue;
        const std::string path = Store(c.content);
        for (const ini_cases::Query& q : c.queries)
            EXPECT_EQ(Ours(c.content, q.section, q.key), Platform(path, q.section, q.key))
                << c.name << " [" << q.section << "] " << q.key;
    }
}

TEST_F(ProfileAgreement, GeneratedFiles) {
    const char* pieces[] = {"[s]",       "[S ]", " [t] ", "k=1",     " K = 2 ", "k='q'",
                            "j=\"x\"",   "=v",   "k",     "",        "j=",      "k=a=b",
                            "\tk\t=\tv", "[s]x", "[ ]",   "k = ' '", "j=\"\"",  "[t]]"};
    const int pieceCount = sizeof pieces / sizeof pieces[0];
    // Blank section names are left out: the program never asks for one.
    const char* sections[] = {"s", "S", "t", "t]"};
    const char* keys[] = {"k", "K", "j"};
    unsigned seed = 7;
    auto next = [&seed](unsigned n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    for (int file = 0; file < 300; ++file) {
        std::string content;
        const unsigned lines = 1 + next(8);
        for (unsigned i = 0; i < lines; ++i) {
            content += pieces[next(pieceCount)];
            content += next(2) ? "\r\n" : "\n";
        }
        const std::string path = Store(content);
        for (const char* section : sections)
            for (const char* key : keys)
                ASSERT_EQ(Ours(content, section, key), Platform(path, section, key))
                    << "[" << section << "] " << key << " in:\n"
                    << content;
    }
}

// Values the settings file protects with quotes read back as written through the profile
// functions too, in plain files and in UTF-16 files.
TEST_F(ProfileAgreement, ProtectedValues) {
    const char* values[] = {"  leading", "trailing\t", " both ", "'single'", "\"double\"", "\"\""};
    std::string unicode = "\xFF\xFE";
    for (char c : std::string("[CHAT]\r\n"))
        unicode += std::string{c, 0};
    for (const std::string& content : {std::string("[CHAT]\r\n"), unicode}) {
        const std::string path = Store(content);
        CMyIniFile file;
        ASSERT_TRUE(file.Attach(path.c_str()));
        int key = 0;
        for (const char* value : values) {
            const std::string name = std::to_string(key++);
            ASSERT_TRUE(file.Write("CHAT", name.c_str(), value));
            EXPECT_EQ(Platform(path, "CHAT", name.c_str()), value);
        }
    }
}

// Files our writer produced read the same through the profile functions.
TEST_F(ProfileAgreement, WrittenByOurs) {
    std::string content = "[LAST_SETTING]\r\nPortName=COM1\r\n\r\n[other]\r\nx=1";
    content = profile::Set(content, "last_setting", "PORTNAME", "COM9");
    content = profile::Set(content, "LAST_SETTING", "Echo", "  false");
    content = profile::Set(content, "other", "y", "2");
    content = profile::Set(content, "new", "z", "'3'");
    const std::string path = Store(content);
    for (auto [section, key] : {std::pair{"LAST_SETTING", "PortName"},
                                {"LAST_SETTING", "Echo"},
                                {"other", "x"},
                                {"other", "y"},
                                {"new", "z"}})
        EXPECT_EQ(Ours(content, section, key), Platform(path, section, key)) << key;
    EXPECT_EQ(Ours(content, "LAST_SETTING", "Echo"), "false");
}

} // namespace
