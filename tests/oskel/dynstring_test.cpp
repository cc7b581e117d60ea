#include "dynstring.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <string>

namespace {

std::string Text(const CDynString& s) {
    return s.GetString() ? s.GetString() : "<null>";
}

int ViaList(CDynString& s, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int result = s.FormatList(&args, format);
    va_end(args);
    return result;
}

TEST(DynStringGrowth, ConstructorsApplyTheMinimumAndDoubling) {
    CDynString none;
    EXPECT_EQ(none.GetString(), nullptr);
    EXPECT_EQ(none.GetCapacity(), 0);
    EXPECT_TRUE(none.IsEmpty());
    EXPECT_EQ(CDynString(5).GetCapacity(), 32);
    EXPECT_EQ(CDynString(40).GetCapacity(), 80);
    CDynString fromNull(static_cast<const char*>(nullptr));
    EXPECT_EQ(Text(fromNull), "");
    EXPECT_EQ(fromNull.GetCapacity(), 32);
}

TEST(DynStringGrowth, InitBufferReusesOnlyBelowCapacity) {
    CDynString s("hello");
    ASSERT_EQ(s.GetCapacity(), 32);
    const char* before = s.GetString();
    EXPECT_EQ(s.InitBuffer(31), 1);
    EXPECT_EQ(s.GetCapacity(), 32);
    EXPECT_EQ(s.GetString(), before);
    EXPECT_EQ(Text(s), "");
    EXPECT_EQ(s.InitBuffer(32), 1);
    EXPECT_EQ(s.GetCapacity(), 64);
}

// A negative request never writes through a missing buffer; an existing one is only emptied.
TEST(DynStringGrowth, NegativeRequests) {
    CDynString fresh;
    EXPECT_EQ(fresh.InitBuffer(-1), 0);
    EXPECT_EQ(fresh.GetString(), nullptr);
    EXPECT_EQ(fresh.GetCapacity(), 0);
    CDynString held("abc");
    EXPECT_EQ(held.InitBuffer(-5), 1);
    EXPECT_EQ(held.GetCapacity(), 32);
    EXPECT_EQ(Text(held), "");
}

TEST(DynStringGrowth, AppendGrowsToTwiceTheNeededLength) {
    CDynString s;
    EXPECT_EQ(s.Append("ab"), 1);
    EXPECT_EQ(s.GetCapacity(), 32);
    EXPECT_EQ(Text(s), "ab");
    s.SetString("012345678901234567890123456789", 30);
    EXPECT_EQ(s.Append("xyz"), 1);
    EXPECT_EQ(s.GetCapacity(), 66);
    EXPECT_EQ(Text(s), "012345678901234567890123456789xyz");
    EXPECT_EQ(s.Append(nullptr), 0);
}

TEST(DynStringGrowth, OwnTextAsSourceSurvivesReallocation) {
    CDynString s("abcdefghijklmnopqrstuvwxyz0123");
    EXPECT_EQ(s.Append(s.GetString()), 1);
    EXPECT_EQ(Text(s), "abcdefghijklmnopqrstuvwxyz0123abcdefghijklmnopqrstuvwxyz0123");
    EXPECT_EQ(s.SetString(s.GetString() + 3, 4), 1);
    EXPECT_EQ(Text(s), "defg");
    EXPECT_EQ(s.SetString(s.GetString(), 2), 1);
    EXPECT_EQ(Text(s), "de");
    EXPECT_EQ(s.InitBuffer(s.GetString() + 1), 1);
    EXPECT_EQ(Text(s), "e");
}

TEST(DynStringSet, SetStringChecksTheCount) {
    CDynString s;
    EXPECT_EQ(s.SetString("abc", 4), 0);
    EXPECT_EQ(s.SetString("abc", -1), 0);
    EXPECT_EQ(s.SetString(nullptr, 0), 0);
    EXPECT_EQ(s.SetString("abc", 2), 1);
    EXPECT_EQ(Text(s), "ab");
    EXPECT_EQ(s.SetString("abc", 0), 1);
    EXPECT_EQ(Text(s), "");
}

TEST(DynStringSet, SetStringAtNeverGrows) {
    CDynString s("abc");
    EXPECT_EQ(s.SetStringAt("xyz", 30), 0);
    EXPECT_EQ(s.SetStringAt("xy", 30), 1);
    EXPECT_EQ(s.SetStringAt("x", 1), 1);
    EXPECT_EQ(Text(s), "ax");
    EXPECT_EQ(s.SetStringAt("x", -1), 0);
    CDynString none;
    EXPECT_EQ(none.SetStringAt("x", 0), 0);
}

TEST(DynStringSearch, FindCharBounds) {
    CDynString s("abc");
    ASSERT_NE(s.FindChar('c', 2), nullptr);
    EXPECT_EQ(s.FindChar('c', 2) - s.GetString(), 2);
    EXPECT_EQ(s.FindChar('a', 3), nullptr);
    EXPECT_EQ(s.FindChar('a', 4), nullptr);
    EXPECT_EQ(s.FindChar('a', -1), nullptr);
    EXPECT_EQ(s.FindChar(0, 0) - s.GetString(), 3);
    CDynString path("a\\b\\c");
    EXPECT_EQ(path.FindCharReverse('\\', 0) - path.GetString(), 3);
    EXPECT_EQ(path.FindCharReverse('\\', 4), nullptr);
    CDynString none;
    EXPECT_EQ(none.FindChar('a', 0), nullptr);
}

TEST(DynStringReplace, ReplaceCharTouchesTheFirstOnly) {
    CDynString s("hello");
    EXPECT_EQ(s.ReplaceChar('l', 'L'), 1);
    EXPECT_EQ(Text(s), "heLlo");
    EXPECT_EQ(s.ReplaceChar('z', 'Z'), 0);
    EXPECT_EQ(s.ReplaceChar(0, 'x'), 0);
    EXPECT_EQ(Text(s), "heLlo");
    CDynString none;
    EXPECT_EQ(none.ReplaceChar('a', 'b'), -1);
}

TEST(DynStringReplace, ReplaceShrinksGrowsAndKeepsTheTail) {
    CDynString s("aXa");
    EXPECT_EQ(s.Replace("a", "bb", 0), 1);
    EXPECT_EQ(Text(s), "bbXa");
    EXPECT_EQ(s.Replace("a", "bb", 3), 1);
    EXPECT_EQ(Text(s), "bbXbb");
    EXPECT_EQ(s.Replace("bb", "c", 0), 1);
    EXPECT_EQ(Text(s), "cXbb");
    EXPECT_EQ(s.Replace("X", "Y", 0), 1);
    EXPECT_EQ(Text(s), "cYbb");
    EXPECT_EQ(s.Replace("q", "r", 0), 0);
    EXPECT_EQ(s.Replace("c", "d", 4), -2);
    EXPECT_EQ(s.Replace("c", "d", -1), -2);
    EXPECT_EQ(s.Replace(nullptr, "d", 0), -1);
    CDynString none;
    EXPECT_EQ(none.Replace("a", "b", 0), -1);
}

TEST(DynStringReplace, ExactFitStillGrows) {
    CDynString s(16);
    ASSERT_EQ(s.SetString("0123456789012345678901234567890", 31), 1);
    ASSERT_EQ(s.GetCapacity(), 32);
    EXPECT_EQ(s.Replace("0", "ab", 0), 1); // 32 characters: a grown length equal to capacity
    EXPECT_EQ(s.GetCapacity(), 66);
    EXPECT_EQ(Text(s), "ab123456789012345678901234567890");
}

TEST(DynStringReplace, LoopingWithAMovingStartReplacesAll) {
    CDynString s("a,b,,c");
    int start = 0;
    while (s.Replace(",", ";;", start) == 1)
        start = static_cast<int>(s.FindChar(';', start) - s.GetString()) + 2;
    EXPECT_EQ(Text(s), "a;;b;;;;c");
}

TEST(DynStringTrim, TrimRules) {
    CDynString s("  ab");
    EXPECT_EQ(s.TrimLeft(), 1);
    EXPECT_EQ(Text(s), "ab");
    CDynString blank("   ");
    EXPECT_EQ(blank.TrimLeft(), 1);
    EXPECT_EQ(Text(blank), "   ");
    EXPECT_EQ(blank.Trim(), 1);
    EXPECT_EQ(Text(blank), "");
    CDynString mixed("\t\r\n x y \v\f");
    EXPECT_EQ(mixed.Trim(), 1);
    EXPECT_EQ(Text(mixed), "x y");
    CDynString none;
    EXPECT_EQ(none.TrimLeft(), 0);
    EXPECT_EQ(none.TrimRight(), 0);
    EXPECT_EQ(none.Trim(), 0);
}

TEST(DynStringFormat, GrowsByFourTimesPlusTwoUntilItFits) {
    const std::string hundred(100, 'x');
    CDynString s;
    EXPECT_EQ(s.Format("%s", hundred.c_str()), 1);
    EXPECT_EQ(s.GetCapacity(), 130);
    EXPECT_EQ(Text(s), hundred);
}

TEST(DynStringFormat, ExactCapacityFitsWithoutGrowth) {
    CDynString s(16);
    const std::string exact(32, 'y');
    EXPECT_EQ(s.Format("%s", exact.c_str()), 1);
    EXPECT_EQ(s.GetCapacity(), 32);
    EXPECT_EQ(Text(s), exact);
}

TEST(DynStringFormat, ConversionsAndNullArguments) {
    CDynString s("keep");
    EXPECT_EQ(s.Format(nullptr), 0);
    EXPECT_EQ(Text(s), "keep");
    EXPECT_EQ(ViaList(s, nullptr), 0);
    EXPECT_EQ(Text(s), "keep");
    EXPECT_EQ(s.FormatList(nullptr, "%d"), 0);
    EXPECT_EQ(s.Format("%s %d/%d/%s %02d %u", "COM1", 9600, 8, "NO", 7, 4000000000u), 1);
    EXPECT_EQ(Text(s), "COM1 9600/8/NO 07 4000000000");
    const std::string long1(300, 'a');
    EXPECT_EQ(ViaList(s, "[%s|%s]", long1.c_str(), "end"), 1);
    EXPECT_EQ(Text(s), "[" + long1 + "|end]");
}

} // namespace
