// The data object against a real null-modem pair: end a is the program's port, end b a peer.
#include "interpreter.h"
#include "nullmodem.h"
#include "process.h"
#include "readthread.h"
#include "tarlindata.h"
#include "terminalconsumer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>

using testing_support::NullModem;

namespace {

using Clock = std::chrono::steady_clock;

std::string Collect(CComm& from, size_t want, int ms) {
    std::string got;
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (got.size() < want && Clock::now() < end) {
        int32_t count = 0;
        if (const char* data = from.Read(&count, 100, 0)) got.append(data, count);
    }
    return got;
}

// Under the buffer's lock: the read thread may be writing into it.
std::string Row(CStdBuffer& buffer, int row) {
    CStdBufferHold hold(buffer);
    std::string text(buffer.GetLine(row), 80);
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class DataTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(modem.Ready());
        folder = testing_support::MakeTempFolder("tarlin-data");
        data = Fresh();
        ASSERT_EQ(data->OpenPort(modem.PortName(0).c_str()), 1);
        ASSERT_EQ(peer.Open(modem.PortName(1).c_str(), 1), 1);
    }
    void TearDown() override { testing_support::RemoveTree(folder); }
    std::unique_ptr<CTarlinData> Fresh() {
        auto fresh = std::make_unique<CTarlinData>();
        EXPECT_EQ(fresh->LocateSettingsFiles(folder.c_str()), 1);
        return fresh;
    }
    std::string IniPath() {
#ifdef _WIN32
        return folder + "\\tarlin.ini";
#else
        return folder + "/tarlin.ini";
#endif
    }
    NullModem modem;
    CComm peer;
    std::string folder;
    std::unique_ptr<CTarlinData> data;
};

TEST_F(DataTest, LastSettingsRoundTrip) {
    ASSERT_EQ(data->SetBaudRate(19200), 1);
    const int bits = testing_support::RunningUnderWine() ? 8 : 7; // Wine's ptys take only 8
    ASSERT_EQ(data->SetByteSize(bits), 1);
    ASSERT_EQ(data->SetParity(2), 1);
    data->SetES(2);
    data->SetHexOutput(1);
    data->SetAutoScroll(0);
    data->SetEcho(0);
    data->ToggleChatMode();
    data->SetAlwaysWithoutClear();
    data->SaveLastSettings(true);
    for (const char* key : {"ChatMode", "PortName", "BaudRate", "ByteSize", "Parity", "ES",
                            "HexOutput", "AutoScroll", "Echo", "AlwaysClear", "AlwaysWithoutClear"})
        EXPECT_NE(data->ReadMainSetting("LAST_SETTING", key), nullptr) << key;
    const std::string portName = data->GetPortName();
    data.reset(); // the port is free again

    auto loaded = Fresh();
    loaded->LoadLastSettings(true);
    EXPECT_EQ(std::string(loaded->GetPortName()), portName);
    EXPECT_EQ(loaded->IsPortOpen(), 1);
    EXPECT_EQ(loaded->GetBaudRate(), 19200);
    EXPECT_EQ(loaded->GetByteSize(), bits);
    EXPECT_EQ(loaded->GetParity(), 2);
    EXPECT_EQ(loaded->GetES(), 2);
    EXPECT_EQ(loaded->GetHexOutput(), 1);
    EXPECT_EQ(loaded->GetAutoScroll(), 0);
    EXPECT_EQ(loaded->GetEcho(), 0);
    EXPECT_EQ(loaded->GetChatMode(), 0); // wanted, but no window is open yet
    EXPECT_TRUE(loaded->IsChatWantedAtStart());
    EXPECT_EQ(loaded->GetAlwaysClear(), 0);
    EXPECT_EQ(loaded->GetAlwaysWithoutClear(), 1);

    // With a command line only the two disconnect answers travel.
    loaded->SetHexOutput(0);
    loaded->SetAlwaysClear();
    loaded->SaveLastSettings(false);
    auto third = Fresh();
    third->LoadLastSettings(false);
    EXPECT_EQ(third->GetAlwaysClear(), 1);
    EXPECT_EQ(third->GetHexOutput(), 0);
    EXPECT_STREQ(third->ReadMainSetting("LAST_SETTING", "HexOutput"), "true");
}

// "ChatMode=true" asks for the chat window at start; ChatMode itself says whether it is open,
// so the first opening command opens it and the answer saved at exit is the window's.
TEST_F(DataTest, ChatWantedAtStartIsNoOpenWindow) {
    data->WriteMainSetting("LAST_SETTING", "ChatMode", "true");
    data->LoadLastSettings(true);
    EXPECT_TRUE(data->IsChatWantedAtStart());
    EXPECT_EQ(data->GetChatMode(), 0);
    data->ToggleChatMode(); // the window opens
    EXPECT_EQ(data->GetChatMode(), 1);
    data->SaveLastSettings(true);
    EXPECT_STREQ(data->ReadMainSetting("LAST_SETTING", "ChatMode"), "true");
    data->ToggleChatMode(); // and closes
    data->SaveLastSettings(true);
    EXPECT_STREQ(data->ReadMainSetting("LAST_SETTING", "ChatMode"), "false");
    EXPECT_TRUE(data->IsChatWantedAtStart()) << "what the start asked for stays as it was";

    auto withArguments = Fresh();
    withArguments->WriteMainSetting("LAST_SETTING", "ChatMode", "true");
    withArguments->LoadLastSettings(false);
    EXPECT_FALSE(withArguments->IsChatWantedAtStart());
}

TEST_F(DataTest, GarbageSettingsChangeNothing) {
    ASSERT_EQ(data->SetBaudRate(9600), 1);
    std::ofstream(IniPath(), std::ios::binary)
        << "[LAST_SETTING]\r\nChatMode=TRUE\r\nPortName=\x01\xff\xfe//..\\\\nic\r\n"
           "BaudRate=99999999999999999999\r\nByteSize=abc\r\nParity=-4\r\nES=99\r\n"
           "HexOutput=True\r\nAutoScroll=0\r\nEcho=no\r\nAlwaysClear=true\r\n"
           "AlwaysWithoutClear=\r\n\x00\x01\x02 binary tail";
    data->LoadLastSettings(true);
    EXPECT_EQ(data->IsPortOpen(), 1) << "the port open before stays open";
    EXPECT_EQ(std::string(data->GetPortName()), modem.PortName(0));
    EXPECT_EQ(data->GetBaudRate(), 9600);
    EXPECT_EQ(data->GetChatMode(), 0);
    EXPECT_EQ(data->GetES(), 1);
    EXPECT_EQ(data->GetHexOutput(), 0);
    EXPECT_EQ(data->GetAutoScroll(), 1);
    EXPECT_EQ(data->GetEcho(), 1);
    EXPECT_EQ(data->GetAlwaysClear(), 1);
    EXPECT_EQ(data->GetAlwaysWithoutClear(), 0);

    std::ofstream(IniPath(), std::ios::binary) << "[OTHER]\r\nES=2\r\n";
    auto fresh = Fresh();
    fresh->LoadLastSettings(true);
    EXPECT_EQ(fresh->GetES(), 1);
    EXPECT_STREQ(fresh->GetPortName(), "COM1"); // nothing else was asked for
}

TEST_F(DataTest, SendersEchoWhatWasWritten) {
    CStdBuffer& buffer = data->GetBuffer();
    buffer.SetAttribute(0x74);
    for (char c : {'A', 'B', '\r'})
        ASSERT_EQ(data->SendChar(c), 1);
    EXPECT_EQ(Collect(peer, 3, 2000), "AB\r");
    EXPECT_EQ(Row(buffer, 0), "AB");
    EXPECT_EQ(buffer.GetLineAttributes(0)[0], 0x78);
    EXPECT_EQ(buffer.GetRow(), 1);
    EXPECT_EQ(buffer.GetAttribute(), 0x74);
    ASSERT_EQ(data->SendText("HEXDWL\n\r"), 1);
    EXPECT_EQ(Collect(peer, 8, 2000), "HEXDWL\n\r");
    EXPECT_EQ(buffer.GetRow(), 2);
    EXPECT_EQ(buffer.GetColumn(), 0);
    data->SetEcho(0);
    ASSERT_EQ(data->SendData("x\0y", 3), 1);
    EXPECT_EQ(Collect(peer, 3, 2000), std::string("x\0y", 3));
    EXPECT_EQ(Row(buffer, 2), "");
    data->ClosePort();
    data->SetEcho(1);
    EXPECT_EQ(data->SendChar('Z'), -4);
    EXPECT_EQ(Row(buffer, 2), "") << "nothing echoed when the write failed";
}

TEST_F(DataTest, CommandLineOperations) {
    const std::string name = modem.PortName(0);
    data->SetCommandLine(("-c " + name + " 4800 8 0 -t rl ABC -ti e 'bad\\q'").c_str());
    ASSERT_EQ(data->ValidateCommandLine(), 0);
    data->ClosePort();
    ASSERT_EQ(data->ApplyPortSwitch(), 1);
    EXPECT_EQ(data->GetBaudRate(), 4800);
    EXPECT_EQ(data->SendTextSwitch(), 1);
    EXPECT_EQ(Collect(peer, 5, 2000), "ABC\r\n");
    EXPECT_EQ(data->SendInitialTextSwitch(), -2); // nothing sent: the next read is exact
    EXPECT_EQ(Row(data->GetBuffer(), 0), "") << "switch texts are not echoed";

    data->SetCommandLine("-t lre \\x041\\000B");
    ASSERT_EQ(data->ValidateCommandLine(), 0);
    EXPECT_EQ(data->SendTextSwitch(), 1);
    EXPECT_EQ(Collect(peer, 5, 2000), std::string("A\0B\r\n", 5));
    EXPECT_EQ(data->SendInitialTextSwitch(), 0);
    data->ClosePort();
    EXPECT_EQ(data->SendTextSwitch(), -1);

    data->SetCommandLine("-c /no/such/port 9600 8 0");
    ASSERT_EQ(data->ValidateCommandLine(), 0);
    EXPECT_EQ(data->ApplyPortSwitch(), 0);
}

TEST_F(DataTest, SavedScreenIsRewrittenEachTime) {
    const std::string path = folder + "/screen.txt";
    EXPECT_FALSE(data->WriteScreenToSaveFile());
    data->GetBuffer().Clear();
    for (char c : std::string("abc\ndef"))
        data->AddChar(static_cast<unsigned char>(c));
    ASSERT_TRUE(data->CreateSaveFile(path.c_str()));
    ASSERT_TRUE(data->WriteScreenToSaveFile());
    ASSERT_TRUE(data->WriteScreenToSaveFile());
    const std::string text = FileText(path);
    ASSERT_EQ(text.size(), 243u);
    EXPECT_EQ(text.substr(0, 4), "abc ");
    EXPECT_EQ(text.substr(81, 4), "def ");
    EXPECT_EQ(text.substr(162), std::string(80, ' ') + "\n");
    data->ClearScreen();
    ASSERT_TRUE(data->WriteScreenToSaveFile());
    EXPECT_EQ(FileText(path).size(), 81u);
    data->CloseSaveFile();
    EXPECT_FALSE(data->IsSaveFileOpen());
    EXPECT_FALSE(data->CreateSaveFile((folder + "/missing/screen.txt").c_str()));
}

// Received bytes flow from the port through the read thread and the interpreter into the
// screen buffer, with a sequence split between two writes.
TEST_F(DataTest, ReadThreadFeedsTheScreen) {
    CTerminalConsumer consumer(*data);
    CReadThreadControl control{false, 1000};
    CReadThread thread{&control};
    thread.SetContext(&data->GetPort(), &consumer, data.get(), nullptr);
    ASSERT_EQ(thread.Start(nullptr, 0), 1);
    ASSERT_EQ(peer.WriteString("old text\x1b[2"), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    ASSERT_EQ(peer.WriteString("J\x1b[1;31mModul\r\n> "), 1);
    const auto end = Clock::now() + std::chrono::seconds(3);
    while (Row(data->GetBuffer(), 1) != ">" && Clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    thread.RequestStop();
    int32_t code = 0;
    thread.Wait(3000, &code);
    EXPECT_EQ(code, 1);
    EXPECT_EQ(Row(data->GetBuffer(), 0), "Modul");
    EXPECT_EQ(Row(data->GetBuffer(), 1), ">");
    EXPECT_EQ(data->GetBuffer().GetLineAttributes(0)[0], 0x71);
    EXPECT_EQ(data->GetReceivedCount(true), 28u);
    EXPECT_EQ(data->GetReceivedCount(false), 0u);
}

// The read thread hands the terminal whole runs of a chunk; sequences cut at a run's or a
// chunk's end must come out as the same screen as the same bytes interpreted one by one.
TEST_F(DataTest, RunsOfAChunkDrawTheSameScreenAsSingleBytes) {
    std::string stream;
    for (int i = 0; i < 400; i++)
        stream += "\x1b[1;3" + std::to_string(i % 8) + "mline " + std::to_string(i) +
                  "\x1b[0m \x1b[K tail\r\n";
    CStdBuffer expected;
    expected.Init();
    CInterpreter reference(expected);
    for (char byte : stream)
        reference.InterpretByte(static_cast<unsigned char>(byte), data->GetES(), 0);

    CTerminalConsumer consumer(*data);
    CReadThreadControl control{false, 1000};
    CReadThread thread{&control};
    thread.SetContext(&data->GetPort(), &consumer, data.get(), nullptr);
    ASSERT_EQ(thread.Start(nullptr, 0), 1);
    ASSERT_EQ(peer.WriteString(stream.c_str()), 1);
    const auto end = Clock::now() + std::chrono::seconds(10);
    uint32_t received = 0;
    while (received < stream.size() && Clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        received += data->GetReceivedCount(true);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    thread.RequestStop();
    thread.Wait(3000, nullptr);
    ASSERT_EQ(received, stream.size());
    CStdBuffer& buffer = data->GetBuffer();
    CStdBufferHold hold(buffer);
    EXPECT_EQ(buffer.GetRow(), expected.GetRow());
    for (int row = 0; row < buffer.GetLineCount(); row++) {
        ASSERT_EQ(std::string(buffer.GetLine(row), 80), std::string(expected.GetLine(row), 80))
            << "row " << row;
        ASSERT_EQ(0,
                  std::memcmp(buffer.GetLineAttributes(row), expected.GetLineAttributes(row), 80))
            << "row " << row;
    }
}

} // namespace
