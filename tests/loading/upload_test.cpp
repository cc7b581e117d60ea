// The upload threads against the module simulator over the null-modem.
#include "comm.h"
#include "fileio.h"
#include "loadingrecorder.h"
#include "modsim.h"
#include "myfile.h"
#include "nullmodem.h"
#include "process.h"
#include "timing.h"
#include "uploadstate.h"
#include "uploadthreads.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

using testing_support::Clock;
using testing_support::ElapsedMs;
using testing_support::ModuleSimulator;
using testing_support::NullModem;
using testing_support::Pause;
using testing_support::ProcessCpuMs;
using Kind = CLoadingRecorder::Kind;

namespace {

std::string HexLine(int n) {
    char line[64];
    std::snprintf(line, sizeof line, ":10%04X0000112233445566778899AABBCCDDEEFF%02X\n", n * 16,
                  n & 0xFF);
    return line;
}

class UploadTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = testing_support::MakeTempFolder("tarlin-upload");
        ASSERT_TRUE(modem.Ready());
        ASSERT_EQ(1, port.Open(modem.PortName(0).c_str(), 1));
    }
    void TearDown() override {
        threads.reset();
        testing_support::RemoveTree(folder);
    }
    void Begin(std::vector<std::string> options = {}) {
        options.insert(options.end(), {"--idle", "silent", "--record"});
        options.push_back(modem.Folder() + "/record");
        sim = std::make_unique<ModuleSimulator>(modem, options);
        ASSERT_TRUE(sim->Started());
    }
    void File(const std::string& content) {
        const std::string path = folder + "/modul.mhx";
        FILE* out = OpenSharedFile(path.c_str(), "wb");
        ASSERT_NE(nullptr, out);
        std::fwrite(content.data(), 1, content.size(), out);
        std::fclose(out);
        ASSERT_EQ(1, file.Open(path.c_str()));
    }
    // What the main window does before the dialog: the command, then the dialog's threads.
    void Upload(CLoadingRecorder& dialog) {
        ASSERT_EQ(1, port.WriteString("HEXDWL\n\r"));
        threads = std::make_unique<CUploadThreads>(&state);
        ASSERT_TRUE(threads->IsValid());
        ASSERT_EQ(1, threads->Start(&port, &file, &dialog));
    }
    // The module restarts; its banner is not part of the next upload.
    void Restart() {
        ASSERT_EQ(1, port.WriteString("RST\r"));
        Pause(300);
        port.Purge();
    }
    std::string Recorded() const {
        std::ifstream in(sim->LocalRecordPath(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    int32_t ExitCode(CMyThread& thread) {
        int32_t code = 12345;
        thread.Wait(0, &code);
        return code;
    }

    std::string folder;
    NullModem modem;
    CComm port;
    std::unique_ptr<ModuleSimulator> sim;
    CMyFile file;
    CUploadState state;
    CLoadingRecorder recorder{&state};
    std::unique_ptr<CUploadThreads> threads;
};

TEST_F(UploadTest, FortyFiveLinesGoOutOneByOneWithProgressEveryTwentyLines) {
    Begin();
    std::string content, sent;
    for (int n = 0; n < 45; n++) {
        // A blank line and one of two characters (line feed included) are neither sent nor
        // counted.
        const std::string line = n == 7 ? "\n" : n == 30 ? "a\n" : HexLine(n);
        content += line;
        if (line.size() >= 3) sent += line;
    }
    File(content);
    Upload(recorder);
    ASSERT_TRUE(recorder.WaitFor(Kind::kEnd, 20000));
    ASSERT_EQ(1, threads->Wait(3000));
    EXPECT_EQ(std::vector<int64_t>{1}, recorder.Values(Kind::kEnd));
    EXPECT_EQ(CWriteThread::kExitDone, ExitCode(threads->Writer()));
    EXPECT_EQ(CConfirmThread::kExitConfirmed, ExitCode(threads->Confirmer()));
    EXPECT_EQ(std::vector<int64_t>{44}, recorder.Values(Kind::kRange));
    EXPECT_EQ(std::vector<int64_t>{1}, recorder.Values(Kind::kPosition));
    EXPECT_EQ((std::vector<int64_t>{21, 41}), recorder.Values(Kind::kPosted));
    EXPECT_EQ(43, recorder.Count(Kind::kLineSent));
    EXPECT_EQ(std::vector<int64_t>{43}, recorder.Values(Kind::kAllSent));
    EXPECT_EQ(sent, Recorded());
    // The no-confirmation timer: 6 s before the first line, 5 s after each, killed at the end.
    std::vector<int64_t> timers = recorder.Values(Kind::kTimer);
    ASSERT_EQ(44u, timers.size());
    EXPECT_EQ(6000, timers.front());
    EXPECT_EQ(43, std::count(timers.begin(), timers.end(), 5000));
    EXPECT_EQ(1, recorder.Count(Kind::kKill));
}

TEST_F(UploadTest, DoubleAckAfterOneLineCountsOnce) {
    Begin({"--double-ack", "1,3"});
    std::string content;
    for (int n = 0; n < 5; n++)
        content += HexLine(n);
    File(content);
    Upload(recorder);
    ASSERT_TRUE(recorder.WaitFor(Kind::kEnd, 10000)) << "a second count would never match";
    EXPECT_EQ(std::vector<int64_t>{1}, recorder.Values(Kind::kEnd));
    EXPECT_EQ(std::vector<int64_t>{5}, recorder.Values(Kind::kAllSent));
    EXPECT_EQ(content, Recorded());
}

TEST_F(UploadTest, WithoutAckNothingEndsUntilCancelWhichEndsBothThreadsWithinASecond) {
    Begin({"--drop-ack", "2"});
    File(HexLine(0) + HexLine(1) + HexLine(2));
    Upload(recorder);
    Pause(2500);
    EXPECT_EQ(0, threads->Wait(0)) << "both threads still wait";
    EXPECT_EQ(2, recorder.Count(Kind::kLineSent)) << "the third line waits for the second's ACK";
    EXPECT_EQ(0, recorder.Count(Kind::kEnd));
    EXPECT_EQ(0, recorder.Count(Kind::kAllSent));
    const auto start = Clock::now();
    threads->Cancel();
    ASSERT_EQ(1, threads->Wait(3000));
    // The cancel wakes both threads; the margin is for a loaded machine.
    EXPECT_LT(ElapsedMs(start), 1000);
    EXPECT_EQ(CWriteThread::kExitDone, ExitCode(threads->Writer()));
    EXPECT_EQ(CConfirmThread::kExitStopped, ExitCode(threads->Confirmer()));
    EXPECT_EQ(0, recorder.Count(Kind::kEnd));
    EXPECT_EQ(HexLine(0) + HexLine(1), Recorded());
}

TEST_F(UploadTest, EmptyFileOrOnlyShortLinesSendNothingAndLeaveTheDialogToTheUser) {
    Begin();
    for (const std::string content : {"", "\n\na\n\r\nab"}) {
        File(content);
        CLoadingRecorder dialog(&state);
        Upload(dialog);
        ASSERT_TRUE(dialog.WaitFor(Kind::kAllSent, 3000));
        EXPECT_EQ(std::vector<int64_t>{0}, dialog.Values(Kind::kAllSent));
        ASSERT_EQ(1, threads->Wait(3000)) << "the confirmation thread stops listening";
        EXPECT_EQ(CConfirmThread::kExitStopped, ExitCode(threads->Confirmer()));
        EXPECT_EQ(0, dialog.Count(Kind::kEnd)) << "nothing sent is no success";
        threads.reset();
        Restart();
    }
    EXPECT_EQ("", Recorded());
}

TEST_F(UploadTest, LongLineGoesOutIn255CharacterPieces) {
    // This module takes 255 bytes without a line feed as a line of its own.
    Begin({"--max-line", "255"});
    const std::string longLine = std::string(300, 'A') + "\n";
    File(HexLine(1) + longLine + HexLine(2));
    Upload(recorder);
    ASSERT_TRUE(recorder.WaitFor(Kind::kEnd, 10000));
    EXPECT_EQ(std::vector<int64_t>{4}, recorder.Values(Kind::kAllSent));
    EXPECT_EQ(4, recorder.Count(Kind::kLineSent));
    EXPECT_EQ(std::vector<int64_t>{3}, recorder.Values(Kind::kRange));
    EXPECT_EQ(HexLine(1) + longLine + HexLine(2), Recorded());
}

TEST_F(UploadTest, ThreeUploadsInARowOfTheSameFile) {
    Begin();
    std::string content;
    for (int n = 0; n < 25; n++)
        content += HexLine(n);
    File(content);
    for (int round = 1; round <= 3; round++) {
        CLoadingRecorder dialog(&state);
        Upload(dialog);
        ASSERT_TRUE(dialog.WaitFor(Kind::kEnd, 10000)) << "round " << round;
        EXPECT_EQ(std::vector<int64_t>{25}, dialog.Values(Kind::kAllSent));
        threads.reset();
        Restart();
    }
    EXPECT_EQ(content + content + content, Recorded());
}

TEST_F(UploadTest, DialogWithoutProgressBarEndsTheWriteThread) {
    Begin();
    File(HexLine(0));
    recorder.hasProgressBar = false;
    Upload(recorder);
    threads->Cancel(); // the dialog's user gives up; the confirmation thread ends with it
    ASSERT_EQ(1, threads->Wait(3000));
    EXPECT_EQ(CWriteThread::kExitNoDialog, ExitCode(threads->Writer()));
    EXPECT_EQ("", Recorded());
}

// Dialog's end against the write thread's report, which follows the last confirmation.
TEST_F(UploadTest, DialogEndsAsSoonAsTheLastLineIsConfirmed) {
    Begin();
    File(HexLine(0) + HexLine(1) + HexLine(2));
    for (int round = 0; round < 3; round++) {
        CLoadingRecorder dialog(&state);
        Upload(dialog);
        ASSERT_TRUE(dialog.WaitFor(Kind::kEnd, 10000));
        const auto late = dialog.FirstAt(Kind::kEnd) - dialog.FirstAt(Kind::kAllSent);
        EXPECT_LT(late, std::chrono::milliseconds(500)) << "nothing waited out a second";
        threads.reset();
        Restart();
    }
}

// An ACK that came before a line was written (here: an answer to the upload command) must not
// confirm that line; the module never confirms line 1, so line 2 must never go out.
TEST_F(UploadTest, AckReceivedBeforeALineDoesNotConfirmIt) {
    Begin({"--drop-ack", "1"});
    File(HexLine(0) + HexLine(1));
    ASSERT_EQ(1, port.WriteString("HEXDWL\n\r"));
    sim->Command("send \\x06");
    Pause(500);
    threads = std::make_unique<CUploadThreads>(&state);
    ASSERT_EQ(1, threads->Start(&port, &file, &recorder));
    Pause(1500);
    EXPECT_EQ(1, recorder.Count(Kind::kLineSent));
    EXPECT_EQ(HexLine(0), Recorded());
    threads->Cancel();
    EXPECT_EQ(1, threads->Wait(3000));
    EXPECT_EQ(0, recorder.Count(Kind::kEnd));
}

// Every byte of the file reaches the module; CR LF ends a line as the line feed alone.
TEST_F(UploadTest, LinesWithNulAndCtrlZGoOutWhole) {
    Begin();
    const std::string first = std::string(":10\x00\x1a"
                                          "AB",
                                          7);
    File(first + "\r\n" + HexLine(1) + std::string("\x1a\x1a\x1a\n", 4));
    Upload(recorder);
    ASSERT_TRUE(recorder.WaitFor(Kind::kEnd, 10000));
    EXPECT_EQ(std::vector<int64_t>{3}, recorder.Values(Kind::kAllSent));
    EXPECT_EQ(first + "\n" + HexLine(1) + std::string("\x1a\x1a\x1a\n", 4), Recorded());
}

// A USB adapter pulled while a line waits for its ACK: the loss is reported once, the dialog
// ends with it, both threads end and nothing keeps reading the dead port.
TEST_F(UploadTest, PulledDeviceWhileWaitingForAnAckEndsTheUpload) {
    Begin({"--drop-ack", "2"});
    File(HexLine(0) + HexLine(1) + HexLine(2));
    Upload(recorder);
    ASSERT_TRUE(
        testing_support::WaitFor([&] { return recorder.Count(Kind::kLineSent) == 2; }, 5000));
    modem.Vanish(0);
    ASSERT_TRUE(recorder.WaitFor(Kind::kEnd, 5000));
    ASSERT_EQ(1, threads->Wait(3000));
    EXPECT_EQ(std::vector<int64_t>{ILoadingNotify::kDeviceLost}, recorder.Values(Kind::kEnd));
    EXPECT_EQ(1, recorder.Count(Kind::kLost));
    EXPECT_EQ(CConfirmThread::kExitDeviceLost, ExitCode(threads->Confirmer()));
    EXPECT_EQ(CWriteThread::kExitDeviceLost, ExitCode(threads->Writer()));
}

// The write thread sees the loss first when the device is gone before a line is written.
TEST_F(UploadTest, PulledDeviceBeforeALineIsWrittenEndsTheUpload) {
    Begin();
    File(HexLine(0) + HexLine(1));
    ASSERT_EQ(1, port.WriteString("HEXDWL\n\r"));
    modem.Vanish(0);
    ASSERT_TRUE(modem.WaitPresent(0, false, 3000));
    threads = std::make_unique<CUploadThreads>(&state);
    ASSERT_EQ(1, threads->Start(&port, &file, &recorder));
    ASSERT_TRUE(recorder.WaitFor(Kind::kEnd, 5000));
    ASSERT_EQ(1, threads->Wait(3000));
    EXPECT_EQ(std::vector<int64_t>{ILoadingNotify::kDeviceLost}, recorder.Values(Kind::kEnd));
    EXPECT_EQ(1, recorder.Count(Kind::kLost));
    EXPECT_EQ(CWriteThread::kExitDeviceLost, ExitCode(threads->Writer()));
    EXPECT_EQ(0, recorder.Count(Kind::kAllSent)) << "no success";
}

// The dialog's owner destroys the threads while a line waits for its ACK: they end first.
TEST_F(UploadTest, DestroyingTheThreadsWhileWaitingEndsThem) {
    Begin({"--drop-ack", "1"});
    File(HexLine(0) + HexLine(1));
    Upload(recorder);
    ASSERT_TRUE(recorder.WaitFor(Kind::kLineSent, 5000));
    const auto start = Clock::now();
    threads.reset();
    EXPECT_LT(ElapsedMs(start), 1500);
    const size_t notes = recorder.Notes().size();
    Pause(300);
    EXPECT_EQ(notes, recorder.Notes().size()) << "nothing runs on after the object went";
}

} // namespace
