// Faults on the line, end to end: the adapter pulled while the program is idle, identifying
// or uploading, and a module that misbehaves. The program disconnects, claims nothing that
// did not happen, keeps no core busy while the device is gone and connects again once it is
// back. tarlin.exe runs on a fresh null-modem pair with the module simulator at end b.
#include "modsim.h"
#include "nullmodem.h"
#include "tarlin_harness_win32.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

using namespace tarlin_gui;
using testing_support::ModuleSimulator;
using testing_support::NullModem;

namespace {

const char kBanner[] = "MODUL XY verze 1.23 (c) 2024";
const size_t kNoise = 100 * 1024;
const unsigned int kConnect = 1506, kDisconnect = 1507;

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
        ProgramState state;
        EXPECT_TRUE(
            program.WaitFor([](const ProgramState& s) { return s.portOpen == 0; }, 10000, &state))
            << "a pulled adapter disconnects";
        EXPECT_EQ(state.Status(2), "Odpojen");
        const double share = CpuShare(program.ProcessId(), 2000);
        EXPECT_LT(share, 0.3) << "no core is kept busy while the device is gone";
        std::printf("CPU while the device is gone: %.1f %% of a core\n", share * 100);
        modem.Replug(0);
        ASSERT_TRUE(modem.WaitPresent(0, true, 5000));
        program.Command(kConnect);
        ASSERT_TRUE(program.WaitFor([](const ProgramState& s) { return s.portOpen == 1; }, 10000))
            << "connects again once the device is back";
        sim->Command("power");
        EXPECT_TRUE(WaitForText(kBanner)) << "and reads again";
    }

    NullModem modem;
    StartFolder folder;
    std::unique_ptr<ModuleSimulator> sim;
    TarlinProcess program;
};

} // namespace

TEST_F(LineFaults, AdapterPulledWhileIdle) {
    Simulate({"--idle", "silent"});
    StartConnected();
    VanishAndReturn();
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
