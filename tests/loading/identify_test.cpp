// The identification rule against a real version.ini.
#include "identify.h"
#include "inifile.h"
#include "iniversionlist.h"
#include "process.h"
#include "versionlist.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class IdentifyTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = testing_support::MakeTempFolder("tarlin-identify");
        ASSERT_TRUE(file.AttachInFolder(folder.c_str(), "version.ini"));
    }
    void TearDown() override { testing_support::RemoveTree(folder); }
    void Version(int key, const char* text) {
        ASSERT_TRUE(file.Write("VER", std::to_string(key).c_str(), text));
    }
    int32_t Run(const std::string& received) {
        text.SetString(received.c_str(), static_cast<int>(received.size()));
        CIniVersionList list(file);
        const CVersionTable table(list);
        return Identify(&table, text);
    }
    std::string Text() const { return text.GetString(); }

    std::string folder;
    CMyIniFile file;
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

// One version text inside another must not pick the shorter one for the longer module.
TEST_F(IdentifyTest, SeveralMatchesPreferTheExactRecordThenTheLongestText) {
    Version(1, "TMX-100 v1.0");
    Version(2, "TMX-100 v1.0b");
    EXPECT_EQ(2, Run("boot loader\n\rTMX-100 V1.0B\n\r"));
    EXPECT_EQ("TMX-100 v1.0b", Text());
    EXPECT_EQ(1, Run("boot loader\n\rTMX-100 V1.0\n\r")) << "one match: as before";
    // The record itself outranks a longer text found elsewhere in what came.
    Version(3, "abc modul 2.0");
    Version(4, "abc modul 2.0 extended");
    EXPECT_EQ(3, Run("was: abc modul 2.0 extended\n\rABC MODUL 2.0\n\r"));
    EXPECT_EQ(4, Run("was: abc modul 2.0\n\rABC MODUL 2.0 EXTENDED\n\r"));
}

// A module that talks without a pause: what identification keeps stays bounded, and a banner
// that follows the talk is still found.
TEST_F(IdentifyTest, LongTalkIsCutToWhatCanStillMatch) {
    Version(1, "tarlin test module 1.0 2024");
    std::string talk = "boot\n\r";
    for (int n = 0; n < 300; n++)
        talk += "log line " + std::to_string(n) + " temperature 21.5 C\n\r";
    EXPECT_EQ(kIdentifyUnknown, Run(talk));
    const size_t bound = kIdentifyKeptText + std::string("tarlin test module 1.0 2024").size();
    EXPECT_LE(Text().size(), bound);
    // Cut where a line starts; CRs ahead of it make up the least length evaluated.
    EXPECT_EQ(Text().find_first_not_of('\r'), Text().find("\n\r")) << "cut where a line starts";
    EXPECT_GE(Text().size(), static_cast<size_t>(kIdentifyMinLength));
    text.Append("tarlin TEST module 1.0 2024\n\r");
    CIniVersionList list(file);
    const CVersionTable table(list);
    EXPECT_EQ(1, Identify(&table, text));
    // A line longer than the bound is cut too, and stays a record.
    EXPECT_EQ(kIdentifyUnknown, Run("\n\r" + std::string(5000, 'x')));
    EXPECT_LE(Text().size(), bound + 3);
    EXPECT_EQ(0u, Text().find("\n\r"));
    EXPECT_EQ(kIdentifyNoRecord, Run(std::string(5000, 'y')));
    EXPECT_LE(Text().size(), bound);
}

TEST(VersionTable, ReadsEachKeyOnceUpToTheFirstGap) {
    struct Counting : IVersionList {
        int reads = 0;
        const char* ReadVersion(int key) override {
            ++reads;
            static const char* const values[] = {"One", "Two longer", ""};
            return key <= 3 ? values[key - 1] : "four";
        }
    } list;
    const CVersionTable table(list);
    EXPECT_EQ(3, list.reads);
    ASSERT_EQ(2, table.GetCount());
    EXPECT_EQ("Two longer", table.GetWritten(2));
    EXPECT_EQ("two longer", table.GetLower(2));
    EXPECT_EQ(10, table.GetLongest());
}

// Text arrives in pieces and is evaluated after each, as the identification thread does; the
// outcome must be the one the whole text gives, and what is kept stays bounded.
void ExpectChunksAgreeWithTheWholeText(const CVersionTable& table, const std::string& received) {
    CDynString whole(received.c_str());
    const int32_t expected = Identify(&table, whole);
    ASSERT_GE(expected, 1);
    CDynString text;
    int32_t result = kIdentifyTooShort;
    const size_t bound = 2u * table.GetLongest() + 3 + kIdentifyKeptText + 200;
    for (size_t at = 0; at < received.size() && result < 1; at += 200) {
        text.Append(received.substr(at, 200).c_str());
        result = Identify(&table, text);
        if (result < 1) {
            EXPECT_LE(std::strlen(text.GetString()), bound);
        }
    }
    EXPECT_EQ(expected, result);
    EXPECT_STREQ(whole.GetString(), text.GetString());
}

struct TwoVersions : IVersionList {
    const char* ReadVersion(int key) override {
        static const char* const values[] = {"abcdefgh", "abcdefgh 2.0", nullptr};
        return values[key <= 3 ? key - 1 : 2];
    }
};

TEST(IdentifyChunks, VersionBeforeTheFirstRecordSurvivesTheBound) {
    TwoVersions list;
    const CVersionTable table(list);
    ExpectChunksAgreeWithTheWholeText(table, "abcdefgh" + std::string(1500, 'x') +
                                                 "\n\rsome record text here ok");
    ExpectChunksAgreeWithTheWholeText(table, "ABCDEFGH 2.0" + std::string(3000, 'x') + "abcdefgh" +
                                                 std::string(3000, 'y') + "\n\rrecord");
}

// A record longer than what is kept: its start is cut away, yet it is still a record.
TEST(IdentifyChunks, RecordLongerThanTheBoundStaysARecord) {
    TwoVersions list;
    const CVersionTable table(list);
    ExpectChunksAgreeWithTheWholeText(table,
                                      "boot\n\r" + std::string(1500, 'x') + "ABCDEFGH 2.0 ready");
    ExpectChunksAgreeWithTheWholeText(table, "\n\r" + std::string(5000, 'x') + "abcdefgh");
}

// Long talk, then a record whose first piece is shorter than the least text evaluated: what
// was received before still counts towards that length.
TEST(IdentifyChunks, ShortLastLineAfterLongTalkIsStillEvaluated) {
    TwoVersions list;
    const CVersionTable table(list);
    // The pieces are 200 bytes: the seventh ends after "ABC".
    ExpectChunksAgreeWithTheWholeText(table, std::string(1395, 'x') + "\n\rABC" + "DEFGH\n\r");
}

} // namespace
