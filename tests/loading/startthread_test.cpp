// The identification thread against the module simulator over the null-modem.
#include "comm.h"
#include "inifile.h"
#include "iniversionlist.h"
#include "loadingrecorder.h"
#include "modsim.h"
#include "nullmodem.h"
#include "process.h"
#include "startthread.h"
#include "timing.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

using testing_support::ModuleSimulator;
using testing_support::NullModem;
using testing_support::Pause;
using testing_support::ProcessCpuMs;
using testing_support::RunningUnderWine;
using Note = CLoadingRecorder::Note;

namespace {

const char kVersion[] = "tarlin test module 1.0 2024";

// version.ini as the program reads it, counting the reads.
class CountingVersions : public IVersionList {
public:
    explicit CountingVersions(CMyIniFile& file) : m_list(file) {}
    const char* ReadVersion(int key) override {
        ++reads;
        return m_list.ReadVersion(key);
    }
    std::atomic<int> reads{0};

private:
    CIniVersionList m_list;
};

class StartThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = testing_support::MakeTempFolder("tarlin-start");
        ASSERT_TRUE(versions.AttachInFolder(folder.c_str(), "version.ini"));
        ASSERT_TRUE(versions.Write("VER", "1", "other module 0.1"));
        ASSERT_TRUE(versions.Write("VER", "2", kVersion));
        ASSERT_TRUE(modem.Ready());
        ASSERT_EQ(1, port.Open(modem.PortName(0).c_str(), 1));
    }
    void TearDown() override {
        // The thread goes before the port, the simulator and the folder it uses.
        thread.reset();
        testing_support::RemoveTree(folder);
    }
    void Begin(std::vector<std::string> options = {}, bool startThread = true) {
        options.insert(options.end(),
                       {"--idle", "silent", "--banner", "TARLIN TEST MODULE 1.0 2024"});
        sim = std::make_unique<ModuleSimulator>(modem, options);
        ASSERT_TRUE(sim->Started());
        if (startThread) StartThread();
    }
    void StartThread() {
        state.ClearAbort();
        thread = std::make_unique<CStartThread>(&state);
        thread->SetContext(&port, &list, &recorder, nullptr);
        ASSERT_EQ(1, thread->Start(nullptr, 0));
    }
    // The thread's exit code, or 12345 when it still runs after ms.
    int32_t Finish(int ms) {
        int32_t code = 12345;
        thread->Wait(static_cast<uint32_t>(ms), &code);
        return code;
    }
    bool Running() { return !thread->Wait(0, nullptr); }
    // Sends raw bytes from the module, in pieces with a pause after each.
    void Send(const std::vector<std::string>& pieces, int pauseMs) {
        for (const std::string& piece : pieces) {
            sim->Command("send " + piece);
            Pause(pauseMs);
        }
    }

    std::string folder;
    CMyIniFile versions;
    CountingVersions list{versions};
    NullModem modem;
    CComm port;
    std::unique_ptr<ModuleSimulator> sim;
    CLoadingRecorder recorder;
    CIdentifyState state;
    std::unique_ptr<CStartThread> thread;
};

TEST_F(StartThreadTest, RaisedDtrPowersTheModuleAndItsBannerInOneChunkIsRecognised) {
    ASSERT_EQ(1, port.DisableLineControl());
    Begin({"--power-on-dtr"}, false);
    Pause(300); // the simulator sees our DTR low before the thread raises it
    StartThread();
    ASSERT_TRUE(recorder.WaitFor(CLoadingRecorder::kEnd, 5000)) << recorder.Received();
    EXPECT_EQ(2, Finish(1000));
    EXPECT_EQ(std::vector<int64_t>{2}, recorder.Values(CLoadingRecorder::kEnd));
    EXPECT_EQ("\n\rTARLIN TEST MODULE 1.0 2024\n\r", recorder.Received());
    EXPECT_EQ(1, recorder.Count(CLoadingRecorder::kBytes));
    EXPECT_STREQ(kVersion, state.GetText()) << "the text as written in version.ini";
    EXPECT_EQ(0, recorder.Count(CLoadingRecorder::kError));
}

TEST_F(StartThreadTest, BannerSplitOverChunksWithAnIncompleteRecordBetween) {
    Begin();
    // 26 characters with the beginning of the version, then the rest.
    Send({"boot v2\\n\\rTARLIN TEST MO", "DULE", " 1.0 2024\\n\\r"}, 250);
    ASSERT_TRUE(recorder.WaitFor(CLoadingRecorder::kEnd, 5000)) << recorder.Received();
    EXPECT_EQ(2, Finish(1000));
    EXPECT_GE(recorder.Count(CLoadingRecorder::kBytes), 2);
    EXPECT_EQ("boot v2\n\rTARLIN TEST MODULE 1.0 2024\n\r", recorder.Received());
    EXPECT_EQ(0, recorder.Count(CLoadingRecorder::kError)) << "an incomplete record is no error";
}

TEST_F(StartThreadTest, CzechCapitalsMatchSmallLetters) {
    ASSERT_TRUE(versions.Write("VER", "3", "Řídicí jednotka ŽŮ-2"));
    Begin();
    Send({"\\n\\rŘÍDICÍ JEDNOTKA žů-2 firmware 7\\n\\r"}, 0);
    ASSERT_TRUE(recorder.WaitFor(CLoadingRecorder::kEnd, 5000)) << recorder.Received();
    EXPECT_EQ(3, Finish(1000));
    EXPECT_STREQ("Řídicí jednotka ŽŮ-2", state.GetText());
}

TEST_F(StartThreadTest, TwentyFourCharactersNeverIdentifyTheTwentyFifthDoes) {
    ASSERT_TRUE(versions.Write("VER", "1", "short module"));
    Begin();
    Send({"\\n\\rSHORT MODULE 1234567\\n\\r"}, 1000); // 24 characters
    EXPECT_EQ(24u, recorder.Received().size());
    EXPECT_EQ(0, recorder.Count(CLoadingRecorder::kEnd));
    EXPECT_EQ(0, recorder.Count(CLoadingRecorder::kError));
    Send({"!"}, 0);
    ASSERT_TRUE(recorder.WaitFor(CLoadingRecorder::kEnd, 5000));
    EXPECT_EQ(1, Finish(1000));
}

TEST_F(StartThreadTest, NoRecordIsReportedOnceTwentyFiveCharactersArrived) {
    Begin();
    Send({"ABCDEFGHIJKLMNOPQRSTUVWX"}, 500);
    EXPECT_EQ(0, recorder.Count(CLoadingRecorder::kError));
    Send({"Y"}, 0);
    ASSERT_TRUE(recorder.WaitFor(CLoadingRecorder::kError, 3000));
    EXPECT_EQ(std::vector<int64_t>{CStartThread::kReportNoVersion},
              recorder.Values(CLoadingRecorder::kError));
    EXPECT_TRUE(Running()) << "the thread keeps listening";
}

TEST_F(StartThreadTest, FirstHalfOfAVersionThenAnUnknownRestIsReportedIncomplete) {
    Begin();
    Send({"booting\\n\\rTARLIN TEST MODULE", " 9.9 XYZ\\n\\r"}, 250);
    ASSERT_TRUE(recorder.WaitFor(CLoadingRecorder::kError, 3000)) << recorder.Received();
    EXPECT_EQ(std::vector<int64_t>{CStartThread::kReportIncomplete},
              recorder.Values(CLoadingRecorder::kError));
    EXPECT_EQ(0, recorder.Count(CLoadingRecorder::kEnd));
    EXPECT_TRUE(Running());
}

TEST_F(StartThreadTest, SilenceOfFourReadsDiscardsAPartialBanner) {
    Begin();
    Send({"\\n\\rTARLIN TEST MO"}, 3000);
    // Together with the first part this would be the version; alone it holds no record.
    Send({"DULE 1.0 2024 and then some"}, 0);
    ASSERT_TRUE(recorder.WaitFor(CLoadingRecorder::kError, 3000)) << recorder.Received();
    EXPECT_EQ(std::vector<int64_t>{CStartThread::kReportNoVersion},
              recorder.Values(CLoadingRecorder::kError));
    EXPECT_EQ(0, recorder.Count(CLoadingRecorder::kEnd));
}

// The prompt is waited for 2.5 s; the cases stay half a second clear of it either way.
TEST_F(StartThreadTest, PromptAfterTwoSecondsIsAccepted) {
    Begin({"--prompt-delay", "2000"});
    sim->Command("power");
    ASSERT_TRUE(recorder.WaitFor(CLoadingRecorder::kEnd, 8000));
    EXPECT_EQ(2, Finish(1000));
    EXPECT_EQ(0, recorder.Count(CLoadingRecorder::kWarn));
    EXPECT_GE(recorder.FirstAt(CLoadingRecorder::kEnd) - recorder.FirstAt(CLoadingRecorder::kBytes),
              std::chrono::milliseconds(1900))
        << "the end waited for the prompt";
}

TEST_F(StartThreadTest, PromptAfterThreeSecondsTimesOutAndListeningGoesOn) {
    Begin({"--prompt-delay", "3000"});
    sim->Command("power");
    ASSERT_TRUE(recorder.WaitFor(CLoadingRecorder::kWarn, 8000));
    const std::vector<Note> notes = recorder.Notes();
    EXPECT_EQ(0, recorder.Count(CLoadingRecorder::kEnd));
    EXPECT_EQ("Bohužel do časového limitu se nepodařilo inicializovat nahrávání souboru!\t\n\n"
              "Vypněte a zapněte modul znova.",
              notes.back().text);
    EXPECT_GE(notes.back().at - recorder.FirstAt(CLoadingRecorder::kBytes),
              std::chrono::milliseconds(2400));
    // Another module now: the version of the first must not identify it.
    sim->Command("prompt-delay 0");
    Pause(1500); // the late prompt has come and gone
    Send({"\\n\\rUNKNOWN MODULE 7.7 build 99\\n\\r"}, 1500);
    EXPECT_EQ(0, recorder.Count(CLoadingRecorder::kEnd));
    EXPECT_TRUE(Running());
    sim->Command("power");
    ASSERT_TRUE(recorder.WaitFor(CLoadingRecorder::kEnd, 5000));
    EXPECT_EQ(2, Finish(1000));
}

TEST_F(StartThreadTest, AbortEndsTheThreadDuringARead) {
    Begin();
    Pause(700);
    ASSERT_TRUE(Running());
    const auto start = std::chrono::steady_clock::now();
    state.Abort();
    EXPECT_EQ(CStartThread::kExitAborted, Finish(2000));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
    EXPECT_EQ(0, recorder.Count(CLoadingRecorder::kEnd)) << "the dialog ends itself";
}

TEST_F(StartThreadTest, AbortEndsTheWaitForThePrompt) {
    Begin({"--prompt-delay", "3000"});
    sim->Command("power");
    ASSERT_TRUE(recorder.WaitFor(CLoadingRecorder::kBytes, 5000));
    Pause(500);
    state.Abort();
    EXPECT_EQ(CStartThread::kExitAborted, Finish(1500));
    EXPECT_EQ(0, recorder.Count(CLoadingRecorder::kWarn));
    EXPECT_EQ(0, recorder.Count(CLoadingRecorder::kEnd));
}

TEST_F(StartThreadTest, LineErrorsAreReported) {
    if (RunningUnderWine()) GTEST_SKIP() << "Wine reports no line-error flags";
    Begin();
    Pause(200);
    modem.InjectFrameError(0);
    ASSERT_TRUE(recorder.WaitFor(CLoadingRecorder::kError, 3000));
    EXPECT_EQ(CComm::kLineFraming, recorder.Values(CLoadingRecorder::kError).front());
}

// A pulled USB adapter: the thread says so and ends the dialog instead of reading a dead
// port a thousand times a second.
TEST_F(StartThreadTest, PulledDeviceIsReportedAndEndsTheDialog) {
    Begin();
    Pause(700);
    modem.Vanish(0);
    ASSERT_TRUE(recorder.WaitFor(CLoadingRecorder::kEnd, 5000));
    EXPECT_EQ(CStartThread::kExitDeviceLost, Finish(2000));
    EXPECT_EQ(1, recorder.Count(CLoadingRecorder::kLost));
    EXPECT_EQ(std::vector<int64_t>{ILoadingNotify::kDeviceLost},
              recorder.Values(CLoadingRecorder::kEnd));
}

// A module that talks without a pause: version.ini is read once, and the received text the
// rule scans stays bounded however long the talk.
TEST_F(StartThreadTest, LongTalkReadsVersionIniOnceAndKeepsTheTextBounded) {
    Begin();
    for (int burst = 0; burst < 10; burst++) {
        std::string talk;
        for (int n = 0; n < 20; n++)
            talk += "\\n\\rlog " + std::to_string(burst * 20 + n) + " pressure 1013 hPa ok";
        Send({talk}, 100);
    }
    ASSERT_TRUE(testing_support::WaitFor([&] { return recorder.Received().size() > 5000; }, 5000));
    EXPECT_LE(state.Length(), kIdentifyKeptText + static_cast<int>(sizeof kVersion));
    EXPECT_EQ(3, list.reads.load()) << "keys 1, 2 and the gap, once";
    sim->Command("power");
    ASSERT_TRUE(recorder.WaitFor(CLoadingRecorder::kEnd, 5000));
    EXPECT_EQ(2, Finish(1000));
}

TEST_F(StartThreadTest, MissingContextEndsAtOnce) {
    CStartThread bare(&state);
    bare.SetContext(&port, nullptr, &recorder, nullptr);
    ASSERT_EQ(1, bare.Start(nullptr, 0));
    int32_t code = 0;
    ASSERT_TRUE(bare.Wait(2000, &code));
    EXPECT_EQ(CStartThread::kExitNoContext, code);
}

} // namespace
