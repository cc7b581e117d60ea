#include "cmdline.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Split(const char* line) {
    CCmdLine cmd;
    cmd.SetCommandLine(line);
    std::vector<std::string> params;
    for (int ok = cmd.GetFirstParam(); ok == 1; ok = cmd.GetNextParam())
        params.push_back(cmd.GetParam() ? cmd.GetParam() : "<null>");
    return params;
}

using Params = std::vector<std::string>;

TEST(CmdLineSplit, Spaces) {
    EXPECT_EQ(Split("a b"), (Params{"a", "b"}));
    EXPECT_EQ(Split("a   b  "), (Params{"a", "b"}));
    EXPECT_EQ(Split("  lead"), (Params{"lead"}));
    EXPECT_EQ(Split("   "), Params{});
    EXPECT_EQ(Split(""), Params{});
    EXPECT_EQ(Split(nullptr), Params{});
    EXPECT_EQ(Split("tab\tis\tordinary"), (Params{"tab\tis\tordinary"}));
}

TEST(CmdLineSplit, Quotes) {
    EXPECT_EQ(Split("\"C:\\Program Files\\Tarlin\\tarlin.exe\" -c"),
              (Params{"C:\\Program Files\\Tarlin\\tarlin.exe", "-c"}));
    EXPECT_EQ(Split("ab\"cd ef\"gh"), (Params{"cd ef", "gh"}));
    EXPECT_EQ(Split("'a \"b' c"), (Params{"a \"b", "c"}));
    EXPECT_EQ(Split("-f \"soubor s mezerou.mhx\" -t 'ahoj světe'"),
              (Params{"-f", "soubor s mezerou.mhx", "-t", "ahoj světe"}));
    // An empty quoted parameter ends the parameters.
    EXPECT_EQ(Split("a \"\" b"), (Params{"a"}));
}

TEST(CmdLineSplit, UnterminatedQuoteEndsTheIteration) {
    CCmdLine cmd("it's ok");
    EXPECT_EQ(cmd.GetFirstParam(), 0);
    EXPECT_EQ(cmd.GetPosition(), -1);
    EXPECT_EQ(cmd.GetNextParam(), 0);
    EXPECT_EQ(cmd.GetParam(), nullptr);
    EXPECT_EQ(Split("a \"b c"), (Params{"a"}));
}

TEST(CmdLineState, NextBeforeFirstAndAfterReinit) {
    CCmdLine fresh("a b");
    EXPECT_EQ(fresh.GetNextParam(), 0);
    EXPECT_EQ(fresh.GetParam(), nullptr);
    ASSERT_EQ(fresh.GetFirstParam(), 1);
    EXPECT_STREQ(fresh.GetParam(), "a");
    fresh.SetCommandLine("x y");
    EXPECT_EQ(fresh.GetParam(), nullptr); // the old parameter is gone
    EXPECT_EQ(fresh.GetNextParam(), 0);
    ASSERT_EQ(fresh.GetFirstParam(), 1);
    EXPECT_STREQ(fresh.GetParam(), "x");
    ASSERT_EQ(fresh.GetNextParam(), 1);
    EXPECT_STREQ(fresh.GetParam(), "y");
    EXPECT_EQ(fresh.GetNextParam(), 0);
    EXPECT_EQ(fresh.GetNextParam(), 0);
}

// A new command line forgets the last parameter, even when its first parameter is empty.
TEST(CmdLineState, NewLineClearsTheParameter) {
    CCmdLine cmd("a b");
    ASSERT_EQ(cmd.GetFirstParam(), 1);
    cmd.SetCommandLine("\"\" x");
    EXPECT_EQ(cmd.GetFirstParam(), 0);
    EXPECT_EQ(cmd.GetParam(), nullptr);
    EXPECT_EQ(cmd.GetNextParam(), 0);
    cmd.SetCommandLine("'x y");
    EXPECT_EQ(cmd.GetFirstParam(), 0);
    EXPECT_EQ(cmd.GetParam(), nullptr);
}

// InitParam copies only text that exists: no position before the text, no end beyond it.
TEST(CmdLineState, InitParamOutsideTheText) {
    CCmdLine fresh("abc");
    EXPECT_EQ(fresh.InitParam(2), 0); // not started: position -1
    EXPECT_EQ(fresh.GetPosition(), -1);
    CCmdLine cmd("ab cd");
    ASSERT_EQ(cmd.GetFirstParam(), 1); // position 3
    EXPECT_EQ(cmd.InitParam(40), 0);
    EXPECT_EQ(cmd.GetPosition(), 3);
    EXPECT_STREQ(cmd.GetParam(), "ab");
    ASSERT_EQ(cmd.GetNextParam(), 1); // position 6, one past the text
    EXPECT_EQ(cmd.InitParam(7), 0);
    EXPECT_STREQ(cmd.GetParam(), "cd");
    ASSERT_EQ(cmd.GetFirstParam(), 1);
    EXPECT_EQ(cmd.InitParam(5), 1); // up to the end of the text is fine
    EXPECT_STREQ(cmd.GetParam(), "cd");
}

TEST(CmdLineFindBreak, ExplicitKinds) {
    CCmdLine at0("a b'c\"d");
    at0.GetFirstParam(); // position 2
    EXPECT_EQ(at0.FindBreak(3), 3);
    EXPECT_EQ(at0.GetBreakKind(), CCmdLine::Apostrophe);
    EXPECT_EQ(at0.FindBreak(2), 5);
    EXPECT_EQ(at0.FindBreak(4), -1);
    EXPECT_EQ(at0.GetBreakKind(), CCmdLine::Space);
    EXPECT_EQ(at0.FindBreak(1), 7);
    EXPECT_EQ(at0.GetBreakKind(), CCmdLine::EndOfText);
    EXPECT_EQ(at0.FindBreak(-1), 3);
    EXPECT_EQ(at0.GetBreakKind(), CCmdLine::Apostrophe);
}

TEST(CmdLineFindBreak, OnTwoLetters) {
    CCmdLine cmd("ab");
    EXPECT_EQ(cmd.FindBreak(1), 2); // position -1 finds no delimiter, the length still counts
    EXPECT_EQ(cmd.FindBreak(4), -1);
    EXPECT_EQ(cmd.GetBreakKind(), CCmdLine::Space);
}

} // namespace
