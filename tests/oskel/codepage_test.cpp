#include "codepage.h"

#include <gtest/gtest.h>

#include <string>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

TEST(Encoding, CzechLiteralsAreCp1250Bytes) {
    const std::string text = "Připojení";
    const std::string expected = "P\xF8ipojen\xED";
    EXPECT_EQ(text, expected);
    EXPECT_EQ(std::string("Žádná (NO)"), "\x8E\xE1\x64n\xE1 (NO)");
    EXPECT_EQ(std::string("úspěšně"), "\xFAsp\xEC\x9An\xEC");
}

TEST(Encoding, RoundTripsThroughWideAndUtf8) {
    std::string all;
    for (int c = 1; c < 256; ++c)
        all += static_cast<char>(c);
    unsigned short wide[256];
    ASSERT_EQ(OskelCp1250ToWide(all.c_str(), wide, 256), 256);
    EXPECT_EQ(wide[0xF8 - 1], 0x0159); // ř
    EXPECT_EQ(wide[0x8A - 1], 0x0160); // Š
    EXPECT_EQ(wide[0x81 - 1], 0x0081); // a hole in the code page keeps its value
    char back[256];
    ASSERT_EQ(OskelWideToCp1250(wide, back, 256), 256);
    EXPECT_EQ(std::string(back), all);
    char utf8[1024];
    const int size = OskelCp1250ToUtf8(all.c_str(), utf8, sizeof utf8);
    ASSERT_LE(size, 1024);
    char again[256];
    ASSERT_EQ(OskelUtf8ToCp1250(utf8, again, 256), 256);
    EXPECT_EQ(std::string(again), all);
}

TEST(Encoding, MeasuresTruncatesAndReplaces) {
    EXPECT_EQ(OskelUtf8ToCp1250("\xC5\x99\xC3\xA1", nullptr, 0), 3);
    char small[3];
    EXPECT_EQ(OskelUtf8ToCp1250("abcdef", small, 3), 7);
    EXPECT_STREQ(small, "ab");
    char out[8];
    OskelUtf8ToCp1250("\xE4\xB8\xAD|\xFF|\xC3", out, 8); // CJK, a stray byte, a cut sequence
    EXPECT_STREQ(out, "?|?|?");
    const unsigned short pair[] = {0xD83D, 0xDE00, 'x', 0};
    EXPECT_EQ(OskelWideToCp1250(pair, out, 8), 3);
    EXPECT_STREQ(out, "?x");
    EXPECT_EQ(OskelCp1250ToWide(nullptr, nullptr, 0), 0);
}

TEST(Encoding, LowerCasesCzechCapitals) {
    std::string text = "ŘÍZENÍ ŠÉF ŽÁK ĎÁBEL ŤUK ŇADRA ŮL ĚČ Ľ Ą Ł Ź Ś Ż × ß 1.23";
    OskelCp1250LowerBuffer(&text[0], static_cast<int>(text.size()));
    EXPECT_EQ(std::string("řízení šéf žák ďábel ťuk ňadra ůl ěč ľ ą ł ź ś ż × ß 1.23"), text);
    char withNul[] = {'A', 0, 'B'};
    OskelCp1250LowerBuffer(withNul, 3);
    EXPECT_EQ(std::string("a\0b", 3), std::string(withNul, 3));
}

#if defined(_WIN32)
// Our table against Windows' own Unicode rules, byte by byte, whatever the system code page.
TEST(Encoding, LowerCasingAgreesWithWindows) {
    for (int c = 1; c < 256; ++c) {
        WCHAR wide[2] = {static_cast<WCHAR>(OskelCp1250ToUnicode(static_cast<unsigned char>(c))),
                         0};
        CharLowerBuffW(wide, 1);
        const unsigned char windows = OskelUnicodeToCp1250(wide[0]);
        EXPECT_EQ(windows, OskelCp1250ToLower(static_cast<unsigned char>(c))) << "byte " << c;
    }
}
#endif

} // namespace
