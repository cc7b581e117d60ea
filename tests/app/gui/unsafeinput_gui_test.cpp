// The program under input it must take as data: format directives, a port name far beyond
// its field and a command line near the system's limit. tarlin.exe runs on a fresh
// null-modem pair with the module simulator echoing at the other end.
#include "modsim.h"
#include "nullmodem.h"
#include "tarlin_harness_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>

using namespace tarlin_gui;
using testing_support::ModuleSimulator;
using testing_support::NullModem;

namespace {

const char kFormat[] = "%s%n%x%p%n%d";
const wchar_t kPortSettings[] = L"Tarlin - nastavení portu";
const unsigned int kCancelPortSettings = 32780;

class UnsafeInputGui : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveUserSettings();
        ASSERT_TRUE(modem.Ready());
    }
    void TearDown() override { RemoveUserSettings(); }
    void Echoing() {
        sim = std::make_unique<ModuleSimulator>(modem, std::vector<std::string>{"--idle", "echo"});
        ASSERT_TRUE(sim->Started());
    }
    std::vector<std::string> Connected(std::vector<std::string> more) {
        std::vector<std::string> args{"-c", modem.PortName(0), "115200", "8", "0", "-w", "r"};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }
    // The port settings come up instead of a port that cannot be opened; cancelling them ends
    // the program with -2, so it neither crashed nor hung on the way.
    void ExpectPortSettingsThenCancel() {
        HWND dialog = program.WaitForDialog(kPortSettings, 20000);
        ASSERT_NE(dialog, nullptr);
        ::PostMessageW(dialog, WM_COMMAND, kCancelPortSettings, 0);
        int code = 0;
        ASSERT_TRUE(program.WaitForExit(10000, &code));
        EXPECT_EQ(code, -2);
    }
    static size_t CountOf(const ProgramState& state, char c) {
        size_t n = 0;
        for (const std::string& line : state.lines)
            n += std::count(line.begin(), line.end(), c);
        return n;
    }

    NullModem modem;
    StartFolder folder;
    std::unique_ptr<ModuleSimulator> sim;
    TarlinProcess program;
};

TEST_F(UnsafeInputGui, FormatDirectivesFromTheCommandLineReachTheModuleAsText) {
    Echoing();
    ASSERT_TRUE(program.Start(Connected({"-ti", "n", kFormat}), folder.Path()));
    ASSERT_NE(program.MainWindow(), nullptr);
    ProgramState state;
    EXPECT_TRUE(
        program.WaitFor([](const ProgramState& s) { return s.Contains(kFormat); }, 10000, &state))
        << state.Line(0);
}

TEST_F(UnsafeInputGui, FormatDirectivesInTheSavedPortName) {
    const std::string file = UserSettingsFile();
    ::CreateDirectoryA(file.substr(0, file.rfind('\\')).c_str(), nullptr);
    std::ofstream(file, std::ios::binary)
        << "[LAST_SETTING]\r\nPortName=" << kFormat << "\r\nBaudRate=" << kFormat << "\r\n";
    ASSERT_TRUE(program.Start({}, folder.Path()));
    ExpectPortSettingsThenCancel();
}

TEST_F(UnsafeInputGui, PortNameOfThreeHundredCharacters) {
    ASSERT_TRUE(program.Start({"-c", "COM" + std::string(297, '7'), "9600", "8", "0", "-w", "r"},
                              folder.Path()));
    ExpectPortSettingsThenCancel();
}

// Close to the 32,767 characters Windows allows: the switch of the text sent before the start
// sequence takes almost all of it, and every character reaches the module and comes back.
TEST_F(UnsafeInputGui, CommandLineOfThirtyTwoThousandCharacters) {
    Echoing();
    const std::string text(31900, 'W');
    ASSERT_TRUE(program.Start(Connected({"-ti", "n", text}), folder.Path()));
    ASSERT_NE(program.MainWindow(), nullptr);
    ProgramState state;
    EXPECT_TRUE(program.WaitFor(
        [&](const ProgramState& s) { return CountOf(s, 'W') == text.size(); }, 60000, &state))
        << CountOf(state, 'W') << " of " << text.size();
    EXPECT_EQ(state.portOpen, 1);
}

} // namespace
