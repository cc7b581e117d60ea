// Faults on the line, end to end: the adapter pulled while the program is idle, identifying
// or uploading, and a module that misbehaves. The program disconnects, claims nothing that
// did not happen, keeps no core busy while the device is gone and connects again once it is
// back. tarlin.exe runs on a fresh null-modem pair with the module simulator at end b.
#include "modsim.h"
#include "nullmodem.h"
#include "process.h"
#include "tarlin_harness_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>

using namespace tarlin_gui;
using testing_support::ModuleSimulator;
using testing_support::NullModem;

namespace {

const char kBanner[] = "MODUL XY verze 1.23 (c) 2024";
const size_t kNoise = 100 * 1024;
const unsigned int kConnect = 1506, kDisconnect = 1507, kManualSignals = 1520;
const wchar_t kPowerCycleTitle[] = L"Tarlin - zapnutí a vypnutí modulu";
const wchar_t kProgressTitle[] = L"Průběh nahrávání";
const wchar_t kPortSettingsTitle[] = L"Tarlin - nastavení portu";
const wchar_t kManualSignalsTitle[] = L"Manuální nastavení signálů";
// Controls: the power-cycle dialog's state line, the progress dialog's cancel, the
// port settings' cancel.
const int kPowerCycleState = 32831, kProgressCancel = 32789, kPortCancel = 32780;
// The command the identification thread reports a line error with (the error in the high
// word).
const unsigned int kCommandError = 32830;

// The share of one core the process used over ms milliseconds.
double CpuShare(DWORD process, int ms) {
    HANDLE handle = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
    if (handle == nullptr) return -1;
    auto used = [handle] {
        FILETIME created, ended, kernel, user;
        if (!::GetProcessTimes(handle, &created, &ended, &kernel, &user)) return 0.0;
        auto value = [](const FILETIME& t) {
            return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e4;
        };
        return value(kernel) + value(user);
    };
    const double before = used();
    Pump(ms);
    const double share = (used() - before) / ms;
    ::CloseHandle(handle);
    return share;
}

class LineFaults : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveUserSettings();
        ASSERT_TRUE(modem.Ready());
        // Disconnecting keeps the screen without asking.
        const std::string file = UserSettingsFile();
        ::CreateDirectoryA(file.substr(0, file.rfind('\\')).c_str(), nullptr);
        std::ofstream(file, std::ios::binary)
            << "[LAST_SETTING]\r\nAlwaysClear=false\r\nAlwaysWithoutClear=true\r\n";
    }
    void TearDown() override { RemoveUserSettings(); }
    void Simulate(std::vector<std::string> options = {}) {
        options.insert(options.end(), {"--banner", kBanner});
        sim = std::make_unique<ModuleSimulator>(modem, options);
        ASSERT_TRUE(sim->Started());
    }
    void StartConnected() {
        ASSERT_TRUE(program.Start({"-c", modem.PortName(0), "115200", "8", "0", "-w", "rc"},
                                  folder.Path()));
        ASSERT_NE(program.MainWindow(), nullptr);
        ASSERT_TRUE(program.WaitFor([](const ProgramState& s) { return s.portOpen == 1; }, 10000));
    }
    bool WaitForText(const std::string& text, int ms = 10000) {
        return program.WaitFor([&](const ProgramState& s) { return s.Contains(text); }, ms);
    }
    // Pulls the program's end, checks the disconnect and the quiet wait, plugs it back and
    // connects again: the module's banner shows that reading works as before.
    void VanishAndReturn() {
        modem.Vanish(0);
        ExpectDisconnectedAndQuiet();
        ConnectAgainAndRead();
    }
    void ConnectAgainAndRead() {
        modem.Replug(0);
        ASSERT_TRUE(modem.WaitPresent(0, true, 5000));
        program.Command(kConnect);
        ASSERT_TRUE(program.WaitFor([](const ProgramState& s) { return s.portOpen == 1; }, 10000))
            << "connects again once the device is back";
        sim->Command("power");
        EXPECT_TRUE(WaitForText(kBanner)) << "and reads again";
    }
    void ExpectDisconnectedAndQuiet() {
        ProgramState state;
        EXPECT_TRUE(
            program.WaitFor([](const ProgramState& s) { return s.portOpen == 0; }, 10000, &state))
            << "a pulled adapter disconnects";
        EXPECT_EQ(state.Status(2), "Odpojen");
        ExpectQuiet();
    }
    void ExpectQuiet() {
        const double share = CpuShare(program.ProcessId(), 2000);
        EXPECT_LT(share, 0.3) << "no core is kept busy while the device is gone";
        std::printf("CPU while the device is gone: %.1f %% of a core\n", share * 100);
    }

    NullModem modem;
    StartFolder folder;
    std::unique_ptr<ModuleSimulator> sim;
    TarlinProcess program;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string SampleFile() {
    return ReadFile(testing_support::FromLinux(TARLIN_SAMPLE_MODULE));
}

bool WaitGone(HWND window, int ms) {
    for (int waited = 0; waited < ms && ::IsWindow(window); waited += 50)
        Pump(50);
    return !::IsWindow(window);
}

// The same with a module file to upload: the program starts with it and asks for the power
// cycle at once.
class LineFaultsUpload : public LineFaults {
protected:
    void SimulateRecording(std::vector<std::string> options) {
        options.insert(options.end(), {"--record", modem.Folder() + "/record"});
        Simulate(options);
    }
    std::string Recorded() const { return ReadFile(sim->LocalRecordPath()); }
    // The power-cycle dialog, waiting for the module.
    HWND StartUpload() {
        std::ofstream(folder.File("demo.mhx"), std::ios::binary) << SampleFile();
        if (!program.Start({"-c", modem.PortName(0), "115200", "8", "0", "-f", "demo.mhx"},
                           folder.Path()))
            return nullptr;
        return program.WaitForDialog(kPowerCycleTitle, 30000);
    }
    bool WaitForSuccess(int ms = 60000) { return WaitForText("úspěšně nahrán", ms); }
    // Message boxes the program shows within ms are answered; their texts, each ended by "|".
    std::wstring AnswerBoxes(int ms) {
        std::wstring seen;
        for (int waited = 0; waited < ms; waited += 100) {
            HWND box = program.FindWindowTitled(L" Tarlin ", L"#32770");
            if (box == nullptr) {
                Pump(100);
                continue;
            }
            seen += WindowText(FindChild(box, L"Static", 0xFFFF)) + L"|";
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            WaitGone(box, 2000);
        }
        return seen;
    }
    std::wstring Lost() const {
        const std::string port = modem.PortName(0);
        return L"Zařízení portu " + std::wstring(port.begin(), port.end()) + L" bylo odpojeno.";
    }
};

} // namespace

TEST_F(LineFaults, AdapterPulledWhileIdle) {
    Simulate({"--idle", "silent"});
    StartConnected();
    VanishAndReturn();
}

// Pulled while the manual signals are shown: the dialog's refresh does not spin on the gone
// device, and once it is closed the program disconnects and later connects again.
TEST_F(LineFaults, AdapterPulledWithTheManualSignalsOpen) {
    Simulate({"--idle", "silent"});
    StartConnected();
    program.Command(kManualSignals);
    HWND signals = program.WaitForDialog(kManualSignalsTitle, 10000);
    ASSERT_NE(signals, nullptr);
    modem.Vanish(0);
    Pump(1000);
    ExpectQuiet();
    ::PostMessageW(signals, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitGone(signals, 5000));
    ExpectDisconnectedAndQuiet();
    ConnectAgainAndRead();
}

// 100 KB of noise with NUL bytes, then the banner: the terminal takes all of it, counts every
// byte and shows the banner at the end.
TEST_F(LineFaults, ModuleBabblesGarbageAndNulBytesInTheTerminal) {
    Simulate({"--idle", "silent"});
    StartConnected();
    std::string noise;
    unsigned seed = 5;
    for (size_t i = 0; i < kNoise; ++i) {
        seed = seed * 1103515245u + 12345u;
        const unsigned byte = (seed >> 16) & 0xFF;
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", byte % 7 == 0 ? 0u : byte);
        noise += escaped;
    }
    sim->Command("send " + noise);
    ProgramState state;
    auto received = [&](size_t n) {
        return program.WaitFor(
            [&](const ProgramState& s) { return s.Status(1) == "Přijato: " + std::to_string(n); },
            60000, &state);
    };
    EXPECT_TRUE(received(kNoise)) << state.Status(1);
    // The banner comes after the noise (a power cycle drops what the module still had to send).
    sim->Command("power");
    EXPECT_TRUE(received(kNoise + 4 + std::string(kBanner).size())) << state.Status(1);
    EXPECT_TRUE(state.Contains(kBanner));
    EXPECT_EQ(state.portOpen, 1);
}

// Pulled in the middle of the upload: the user is told, nothing claims success, the module
// got only part of the file, and the program connects again once the adapter is back.
TEST_F(LineFaultsUpload, AdapterPulledDuringTheUpload) {
    SimulateRecording({"--idle", "silent", "--ack-delay", "30"});
    ASSERT_NE(StartUpload(), nullptr);
    sim->Command("power");
    HWND progress = program.WaitForDialog(kProgressTitle, 30000);
    ASSERT_NE(progress, nullptr);
    Pump(500); // some lines are on their way
    modem.Vanish(0);
    const std::wstring boxes = AnswerBoxes(4000);
    EXPECT_NE(boxes.find(Lost()), std::wstring::npos) << boxes.size();
    EXPECT_TRUE(WaitGone(progress, 10000)) << "the progress dialog ends";
    ProgramState state;
    ASSERT_NE(program.MainWindow(10000), nullptr);
    EXPECT_TRUE(program.Query(state));
    EXPECT_FALSE(state.Contains("úspěšně nahrán")) << "an upload that did not finish";
    EXPECT_EQ(state.uploads, 0);
    EXPECT_LT(Recorded().size(), SampleFile().size());
    ExpectDisconnectedAndQuiet();
}

// Pulled while the power cycle waits for the module: the user is told, nothing is sent, and
// the port settings wait without keeping a core busy.
TEST_F(LineFaultsUpload, AdapterPulledDuringIdentification) {
    SimulateRecording({"--idle", "silent"});
    HWND dialog = StartUpload();
    ASSERT_NE(dialog, nullptr);
    sim->Command("send MODUL");
    Pump(300);
    modem.Vanish(0);
    const std::wstring boxes = AnswerBoxes(3000);
    EXPECT_NE(boxes.find(Lost()), std::wstring::npos) << boxes.size();
    EXPECT_TRUE(WaitGone(dialog, 10000)) << "the power-cycle dialog ends";
    HWND settings = program.WaitForDialog(kPortSettingsTitle, 10000);
    ASSERT_NE(settings, nullptr);
    ExpectQuiet();
    EXPECT_EQ(Recorded(), "");
    ::PostMessageW(settings, WM_COMMAND, kPortCancel, 0);
    int code = 0;
    EXPECT_TRUE(program.WaitForExit(10000, &code));
    EXPECT_EQ(code, -2);
}

// 100 KB of talk without a record before the banner, two ACKs nobody asked for and two for
// some lines: the module is recognised, and every line reaches it exactly once and in order.
TEST_F(LineFaultsUpload, BabblingModuleWithDoubleAndEarlyAcknowledgements) {
    SimulateRecording({"--idle", "silent", "--double-ack", "1,2,3,10", "--ack-delay", "5"});
    HWND dialog = StartUpload();
    ASSERT_NE(dialog, nullptr);
    std::string talk;
    for (int i = 0; i < 100 * 1024 / 64; ++i)
        talk += std::string(62, static_cast<char>('a' + i % 26)) + "\\r\\n";
    sim->Command("send " + talk);
    sim->Command("send \\x06\\x06");
    Pump(3000);
    sim->Command("power");
    EXPECT_TRUE(WaitForSuccess());
    EXPECT_EQ(Recorded(), SampleFile());
}

// A module that answers line 3 with a wrong byte and then stays silent: the line is not taken
// as confirmed, the upload waits, and cancelling leaves the port connected without a
// success line.
TEST_F(LineFaultsUpload, WrongAnswerAndSilenceAreNoConfirmation) {
    SimulateRecording({"--idle", "silent", "--garbage-ack", "3"});
    ASSERT_NE(StartUpload(), nullptr);
    sim->Command("power");
    HWND progress = program.WaitForDialog(kProgressTitle, 30000);
    ASSERT_NE(progress, nullptr);
    Pump(3000);
    EXPECT_TRUE(::IsWindow(progress)) << "line 3 is still waiting";
    ::PostMessageW(progress, WM_COMMAND, kProgressCancel, 0);
    EXPECT_TRUE(WaitGone(progress, 5000));
    ProgramState state;
    EXPECT_TRUE(
        program.WaitFor([](const ProgramState& s) { return s.portOpen == 1; }, 5000, &state));
    EXPECT_FALSE(state.Contains("úspěšně nahrán"));
    const std::string recorded = Recorded();
    EXPECT_EQ(std::count(recorded.begin(), recorded.end(), '\n'), 3);
}

// Line errors while the power cycle waits. Wine passes no line-error flags on (the port's
// report of them is checked natively), so the dialog is also handed the reports the
// identification thread makes of them; either way the state line names the fault and the
// identification goes on.
TEST_F(LineFaultsUpload, LineErrorsDuringThePowerCycle) {
    SimulateRecording({"--idle", "silent"});
    HWND dialog = StartUpload();
    ASSERT_NE(dialog, nullptr);
    modem.InjectFrameError(0);
    modem.InjectParityError(0);
    modem.InjectOverrun(0);
    Pump(1500);
    std::printf("state line after injected line errors: %ls\n",
                WindowText(::GetDlgItem(dialog, kPowerCycleState)).c_str());
    const struct {
        int code;
        const wchar_t* text;
    } reports[] = {{-13, L"Detekována chyba nastavení portu!"},
                   {-20, L"Detekována chyba nastavení parity!"},
                   {-17, L"Detekována chyba nastavení portu!"},
                   {-19, L"Vstupní buffer je plný!"}};
    for (const auto& report : reports) {
        ::SendMessageW(dialog, WM_COMMAND,
                       MAKEWPARAM(kCommandError, static_cast<WORD>(report.code)), 0);
        EXPECT_EQ(WindowText(::GetDlgItem(dialog, kPowerCycleState)), report.text) << report.code;
    }
    sim->Command("power");
    EXPECT_TRUE(WaitForSuccess()) << "the damaged characters do not stop the identification";
    EXPECT_EQ(Recorded(), SampleFile());
}
