#include "escape.h"
#include "hextext.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string Bytes(const CEscape& e) {
    return std::string(e.GetData(), e.GetLength());
}

// Decodes typed text: the bytes, or "error a..b" with the reported range.
std::string Decoded(const char* typed) {
    CEscape e;
    EXPECT_TRUE(e.SetText(typed));
    const uint32_t range = e.Decode();
    if (range != 0)
        return "error " + std::to_string(CEscape::RangeStart(range)) + ".." +
               std::to_string(CEscape::RangeEnd(range));
    return Bytes(e);
}

TEST(EscapeDecode, SequencesGiveTheirBytes) {
    EXPECT_EQ(Decoded("a\\tb"), "a\tb");
    EXPECT_EQ(Decoded("\\b\\t\\n\\r\\\"\\'\\\\"), "\b\t\n\r\"'\\");
    EXPECT_EQ(Decoded("\\101\\777"), "A\xFF");
    EXPECT_EQ(Decoded("\\x041\\X1FF\\x0ff"), "A\xFF\xFF");
    EXPECT_EQ(Decoded("\\400z"), std::string("\0z", 2)); // kept as a byte, not an end
    EXPECT_EQ(Decoded("\\\\101"), "\\101");              // a produced backslash starts nothing
    EXPECT_EQ(Decoded("\\x05C101"), "\\101");            // nor does a numeric one
    EXPECT_EQ(Decoded("plain text"), "plain text");
    EXPECT_EQ(Decoded(""), "");
    EXPECT_EQ(Decoded("příliš"), "příliš");
}

TEST(EscapeDecode, BadSequencesReportTheirPlace) {
    EXPECT_EQ(Decoded("abc\\"), "error 3..5");
    EXPECT_EQ(Decoded("\\08"), "error 0..4");
    EXPECT_EQ(Decoded("ab\\01"), "error 2..6");
    EXPECT_EQ(Decoded("\\x4"), "error 0..5");
    EXPECT_EQ(Decoded("\\x4g1"), "error 0..5");
    EXPECT_EQ(Decoded("\\a\\f\\v"), "error 0..2");
    // The place is counted in the text as typed, after earlier sequences shrank the data.
    EXPECT_EQ(Decoded("\\x041ab\\q"), "error 7..9");
    EXPECT_EQ(Decoded("\\n\\101\\\\\\x7"), "error 8..13");
}

TEST(EscapeBuffer, ReserveAppendAndRemove) {
    CEscape e;
    EXPECT_EQ(e.GetData(), nullptr);
    EXPECT_FALSE(e.KeepTyped());
    EXPECT_FALSE(e.AppendText("x"));
    ASSERT_TRUE(e.Reserve(3));
    EXPECT_EQ(e.GetCapacity(), 6);
    char* first = e.GetData();
    EXPECT_TRUE(e.Reserve(6)); // enough room: kept
    EXPECT_EQ(e.GetData(), first);
    std::strcpy(e.GetData(), "a\\n");
    ASSERT_TRUE(e.KeepTyped());
    EXPECT_EQ(e.GetLength(), 3);
    EXPECT_EQ(e.Decode(), 0u);
    EXPECT_STREQ(e.GetTyped(), "a\\n");
    EXPECT_TRUE(e.AppendText("\r\n"));
    EXPECT_EQ(Bytes(e), "a\n\r\n");
    EXPECT_TRUE(e.AppendText("xy"));
    EXPECT_FALSE(e.AppendText("z")); // one past the capacity
    EXPECT_FALSE(e.AppendText(nullptr));
    EXPECT_EQ(e.GetLength(), 6);
    EXPECT_TRUE(e.RemoveBefore(4, 2));
    EXPECT_EQ(Bytes(e), "a\nxy");
    EXPECT_FALSE(e.RemoveBefore(1, 2));
    EXPECT_FALSE(e.RemoveBefore(5, 1));
    EXPECT_FALSE(e.RemoveBefore(-1, 0));
    EXPECT_FALSE(e.RemoveBefore(2, -1));
    EXPECT_FALSE(e.Reserve(0x7FFFFFFF));
    EXPECT_EQ(e.GetCapacity(), 0);
    EXPECT_FALSE(e.SetText(nullptr));
}

std::string Formatted(const char* text, int& caret) {
    CDynString field(text);
    EXPECT_TRUE(FormatHexText(field, caret));
    return field.GetString();
}

TEST(HexForm, FormatKeepsPairsAndCaret) {
    int caret = 4;
    EXPECT_EQ(Formatted("1b5b", caret), "1B 5B");
    EXPECT_EQ(caret, 4);
    caret = 3; // typing the third digit moves the caret over the new space
    EXPECT_EQ(Formatted("1B5", caret), "1B 5");
    EXPECT_EQ(caret, 4);
    caret = 9;
    EXPECT_EQ(Formatted("zz 1g-B ,5", caret), "1B 5");
    EXPECT_EQ(caret, 4);
    caret = 0;
    EXPECT_EQ(Formatted("", caret), "");
}

TEST(HexForm, ParseAndConvert) {
    CEscape bytes;
    EXPECT_EQ(ParseHexText("1B 5B", bytes), 2);
    EXPECT_EQ(Bytes(bytes), "\x1b[");
    EXPECT_EQ(ParseHexText("", bytes), 0);
    EXPECT_EQ(ParseHexText("41  zz 142", bytes), 4); // empty and non-hex pieces give 0
    EXPECT_EQ(Bytes(bytes), std::string("A\0\0B", 4));

    CDynString text;
    ASSERT_TRUE(HexToEscapeText("41 0D 5C", text));
    EXPECT_STREQ(text.GetString(), "A\\x00D\\x05C");
    EXPECT_EQ(Decoded(text.GetString()), "A\r\\");
    ASSERT_TRUE(HexToEscapeText("80 FF 7E 20", text));
    EXPECT_STREQ(text.GetString(), "\\x080\\x0FF~ ");
    EXPECT_FALSE(HexToEscapeText("", text));

    EXPECT_EQ(EscapeToHexText("A\\x00D\\x05C", true, text), 0u);
    EXPECT_STREQ(text.GetString(), "41 0D 5C");
    EXPECT_EQ(EscapeToHexText("A\\n", false, text), 0u);
    EXPECT_STREQ(text.GetString(), "41 5C 6E");
    EXPECT_EQ(EscapeToHexText("", true, text), 0u);
    EXPECT_STREQ(text.GetString(), "");
    CDynString untouched("keep");
    const uint32_t range = EscapeToHexText("ok\\z", true, untouched);
    EXPECT_EQ(CEscape::RangeStart(range), 2);
    EXPECT_EQ(CEscape::RangeEnd(range), 4);
    EXPECT_STREQ(untouched.GetString(), "keep");
}

// Every byte survives the round trip escape text -> hex -> escape text -> bytes.
TEST(HexForm, AllBytesRoundTrip) {
    std::string hex;
    const char* digits = "0123456789ABCDEF";
    for (int b = 0; b < 256; ++b) {
        if (b) hex += ' ';
        hex += digits[b >> 4];
        hex += digits[b & 15];
    }
    CDynString escaped;
    ASSERT_TRUE(HexToEscapeText(hex.c_str(), escaped));
    CEscape e;
    ASSERT_TRUE(e.SetText(escaped.GetString()));
    ASSERT_EQ(e.Decode(), 0u);
    ASSERT_EQ(e.GetLength(), 256);
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(static_cast<unsigned char>(e.GetData()[b]), b);
    CDynString back;
    ASSERT_EQ(EscapeToHexText(escaped.GetString(), true, back), 0u);
    EXPECT_EQ(std::string(back.GetString()), hex);
}

} // namespace
