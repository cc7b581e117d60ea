// The program's frame driven from outside: start-up, the terminal, the bars, connecting and
// disconnecting, About and help, closing. tarlin.exe runs on a fresh null-modem pair with
// the module simulator at the other end.
#include "modsim.h"
#include "nullmodem.h"
#include "process.h"
#include "tarlin_harness_win32.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <fstream>
#include <memory>

using namespace tarlin_gui;
using testing_support::ModuleSimulator;
using testing_support::NullModem;

namespace {

const char kBanner[] = "MODUL XY verze 1.23 (c) 2024";
// Command ids of the main window and its bars.
const unsigned int kAbout = 1503, kConnect = 1506, kDisconnect = 1507, kHelpContents = 1512,
                   kAnsi = 1516, kHex = 1518, kVantor = 1519, kOpenUpload = 1504,
                   kOpenNonStandard = 1505, kInfo = 1510;
const int kBaudList = 32793, kButtonBar = 32790;
const uint8_t kNormal = 0x70, kEcho = 0x78, kAnnounce = 0x74, kError = 0x71, kRedText = 0x71;

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveUserSettings();
        ASSERT_TRUE(modem.Ready());
    }
    void Simulate(std::vector<std::string> options = {}) {
        options.insert(options.end(), {"--banner", kBanner});
        sim = std::make_unique<ModuleSimulator>(modem, options);
        ASSERT_TRUE(sim->Started());
    }
    // Starts the program connected to end a from the command line, without power cycle.
    void StartConnected(const char* letters = "r") {
        ASSERT_TRUE(program.Start({"-c", modem.PortName(0), "115200", "8", "0", "-w", letters},
                                  folder.Path()));
        main = program.MainWindow();
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(program.WaitFor([](const ProgramState& s) { return s.portOpen == 1; }, 10000));
    }
    bool WaitForText(const std::string& text, ProgramState* state = nullptr, int ms = 10000) {
        return program.WaitFor([&](const ProgramState& s) { return s.Contains(text); }, ms, state);
    }
    HWND ButtonBar() {
        HWND rebar = FindChild(main, L"ReBarWindow32");
        return rebar != nullptr ? ::GetWindow(rebar, GW_CHILD) : nullptr;
    }
    bool ButtonEnabled(unsigned int command) {
        HWND bar = FindChild(main, L"ToolbarWindow32", kButtonBar);
        return (::SendMessageW(bar, TB_GETSTATE, command, 0) & TBSTATE_ENABLED) != 0;
    }

    NullModem modem;
    StartFolder folder;
    std::unique_ptr<ModuleSimulator> sim;
    TarlinProcess program;
    HWND main = nullptr;
};

TEST_F(FrameTest, PortFromTheCommandLineConnectsWithoutDialogs) {
    Simulate({"--idle", "silent"});
    StartConnected();
    const std::string setting = "Připojen: " + modem.PortName(0) + " 115200/8/Žádná (NO)";
    ProgramState state;
    ASSERT_TRUE(program.WaitFor([&](const ProgramState& s) { return s.Status(2) == setting; }, 5000,
                                &state))
        << state.Status(2);
    EXPECT_EQ(state.statusIcon[2], 1067u);
    EXPECT_EQ(state.lists[kBaudList].text, "115200");
    EXPECT_TRUE(state.lists[kBaudList].enabled);
    EXPECT_EQ(state.lists[32794].text, "8");
    EXPECT_EQ(state.lists[32795].text, "Žádná (NO)");
    // Connected without a module: connect and upload wait, the rest is there.
    EXPECT_FALSE(state.menus[kConnect].enabled);
    EXPECT_TRUE(state.menus[kDisconnect].enabled);
    EXPECT_FALSE(state.menus[kOpenUpload].enabled);
    EXPECT_TRUE(state.menus[kOpenNonStandard].enabled);
    EXPECT_TRUE(state.menus[kInfo].enabled);
    EXPECT_FALSE(ButtonEnabled(kConnect));
    EXPECT_TRUE(ButtonEnabled(kDisconnect));
    EXPECT_FALSE(ButtonEnabled(kOpenUpload));
    EXPECT_TRUE(ButtonEnabled(1517));

    sim->Command("power");
    ASSERT_TRUE(WaitForText(kBanner, &state));
    int row = 0, column = 0;
    state.Find(kBanner, &row, &column);
    EXPECT_EQ(state.Attribute(row, column), kNormal);
    EXPECT_TRUE(
        program.WaitFor([](const ProgramState& s) { return s.Status(1) == "Přijato: 32"; }, 3000));
    EXPECT_TRUE(Screenshot("frame_connected"));
}

} // namespace
