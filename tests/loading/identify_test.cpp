// The identification rule against a real version.ini.
#include "identify.h"
#include "inifile.h"
#include "process.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class IdentifyTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = testing_support::MakeTempFolder("tarlin-identify");
        ASSERT_TRUE(versions.AttachInFolder(folder.c_str(), "version.ini"));
    }
    void TearDown() override { testing_support::RemoveTree(folder); }
    void Version(int key, const char* text) {
        ASSERT_TRUE(versions.Write("VER", std::to_string(key).c_str(), text));
    }
    int32_t Run(const std::string& received) {
        text.SetString(received.c_str(), static_cast<int>(received.size()));
        return Identify(&versions, text);
    }
    std::string Text() const { return text.GetString(); }

    std::string folder;
    CMyIniFile versions;
    CDynString text;
};

TEST_F(IdentifyTest, TwentyFiveCharactersAndARecordAreNeeded) {
    Version(1, "modul ab");
    EXPECT_EQ(kIdentifyTooShort, Run("\n\rMODUL AB 1.0 and more!")); // 24 characters
    EXPECT_EQ("\n\rMODUL AB 1.0 and more!", Text()) << "a short text stays as received";
    EXPECT_EQ(1, Run("\n\rMODUL AB 1.0 and more!!"));
    EXPECT_EQ(kIdentifyNoRecord, Run("MODUL AB 1.0 and no record"));
    EXPECT_EQ(kIdentifyNoRecord, Identify(nullptr, text));
}

TEST_F(IdentifyTest, CapitalsMatchTheFileAndTheFileSpellingIsKept) {
    Version(1, "Řídicí modul RX 2.0");
    Version(2, "Řídicí modul ŘX 3.1 Žluť");
    EXPECT_EQ(2, Run("boot\n\rŘÍDICÍ MODUL ŘX 3.1 ŽLUŤ\n\r"));
    EXPECT_EQ("Řídicí modul ŘX 3.1 Žluť", Text());
    // The record equal to the version, also without anything around it.
    EXPECT_EQ(1, Run("power up banner v\n\rŘídicí MODUL rx 2.0"));
}

TEST_F(IdentifyTest, ListEndsAtTheFirstGap) {
    Version(1, "alpha module");
    Version(2, "beta module");
    Version(4, "delta module");
    EXPECT_EQ(2, Run("\n\rBETA MODULE build 2024\n\r"));
    EXPECT_EQ(kIdentifyUnknown, Run("\n\rDELTA MODULE build 2024\n\r"));
    Version(3, "");
    EXPECT_EQ(kIdentifyUnknown, Run("\n\rDELTA MODULE build 2024\n\r"));
}

TEST_F(IdentifyTest, BeginningOfAVersionIsIncomplete) {
    Version(1, "tarlin test module 1.0 2024");
    Version(2, "other module");
    EXPECT_EQ(kIdentifyIncomplete, Run("power on self test\n\rTARLIN TEST"));
    EXPECT_EQ(kIdentifyUnknown, Run("power on self test\n\rTARLIN TESTX"));
    // Only the first "\n\r" starts the record.
    EXPECT_EQ(kIdentifyUnknown, Run("\n\rgarbage garbage garbage\n\rTARLIN TEST"));
}

} // namespace
