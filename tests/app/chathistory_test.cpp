// The chat history kept in chat.ini through the data object.
#include "chathistory.h"
#include "process.h"
#include "tarlinsendingdata.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

namespace {

class ChatHistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = testing_support::MakeTempFolder("tarlin-chat");
        Reopen();
    }
    void TearDown() override { testing_support::RemoveTree(folder); }
    // A fresh data object on the same folder, as at the next start of the program.
    void Reopen() {
        data = std::make_unique<CTarlinData>();
        data->LocateSettingsFiles(folder.c_str());
        store.Bind(data.get());
    }
    std::string ChatIni() {
#ifdef _WIN32
        return folder + "\\chat.ini";
#else
        return folder + "/chat.ini";
#endif
    }

    std::string folder;
    std::unique_ptr<CTarlinData> data;
    CTarlinSendingData store;
};

TEST_F(ChatHistoryTest, TwelveEntriesSurviveARestartInOrder) {
    CChatHistory history;
    for (int i = 1; i <= 12; ++i)
        history.Promote(("zpráva " + std::to_string(i)).c_str(), static_cast<unsigned>(i % 16));
    history.Save(store);
    EXPECT_STREQ(store.ReadChatSetting("TEXT", "1"), "zpráva 12") << "the newest is key 1";
    EXPECT_STREQ(store.ReadChatSetting("TEXT_SETTING", "12"), "1");
    EXPECT_EQ(store.ReadChatSetting("TEXT", "13"), nullptr);

    Reopen();
    CChatHistory loaded;
    loaded.Load(store);
    ASSERT_EQ(loaded.GetCount(), 12);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(loaded.Get(i).text, "zpráva " + std::to_string(12 - i));
        EXPECT_EQ(loaded.Get(i).flags, static_cast<unsigned>((12 - i) % 16));
    }
}

TEST_F(ChatHistoryTest, SendingATextAgainMovesItToTheTop) {
    CChatHistory history;
    history.Promote("ABC", CChatHistory::kCR | CChatHistory::kLF);
    history.Promote("1B 5B 32 4A", CChatHistory::kHex);
    history.Promote("abc", CChatHistory::kEscape);
    ASSERT_EQ(history.GetCount(), 2);
    EXPECT_EQ(history.Get(0).text, "abc") << "the newer spelling replaces the older";
    EXPECT_EQ(history.Get(0).flags, static_cast<unsigned>(CChatHistory::kEscape));
    EXPECT_EQ(history.Get(1).text, "1B 5B 32 4A");
    history.Promote("ŽLUŤOUČKÝ", 0);
    history.Promote("žluťoučký", 3);
    EXPECT_EQ(history.GetCount(), 3) << "Czech capitals match their small letters";
    EXPECT_EQ(history.Find("ŽluťOučký"), 0);
}

// A damaged option word reads as every option except CR, and stays so after the next save.
TEST_F(ChatHistoryTest, MissingOptionsKeepTheirMeaningAcrossSaves) {
    std::ofstream(ChatIni(), std::ios::binary)
        << "[TEXT]\r\n1=prvni\r\n2=druhy\r\n3=treti\r\n5=za mezerou\r\n"
           "[TEXT_SETTING]\r\n1=3\r\n3=nic\r\n";
    Reopen();
    CChatHistory history;
    history.Load(store);
    ASSERT_EQ(history.GetCount(), 3) << "the first missing text ends the list";
    EXPECT_EQ(history.Get(0).flags, 3u);
    const unsigned allButCR = CChatHistory::kLF | CChatHistory::kEscape | CChatHistory::kHex;
    EXPECT_EQ(history.Get(1).flags, allButCR);
    EXPECT_EQ(history.Get(2).flags, 0u) << "text without digits reads as 0";

    history.Save(store);
    Reopen();
    CChatHistory again;
    again.Load(store);
    ASSERT_EQ(again.GetCount(), 3);
    EXPECT_EQ(again.Get(1).flags, allButCR);
}

TEST_F(ChatHistoryTest, ClearingTheFileLeavesNoHistory) {
    CChatHistory history;
    history.Promote("ABC", 3);
    history.Save(store);
    EXPECT_TRUE(store.ClearChatFile());
    CChatHistory loaded;
    loaded.Load(store);
    EXPECT_EQ(loaded.GetCount(), 0);
}

} // namespace
