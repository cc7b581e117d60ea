// The program on settings files that are not what they seem: 100,000 keys, values longer
// than a value's room, binary bytes. It starts, uses what it can read, ends cleanly and keeps
// what it does not know. tarlin.exe runs on a fresh null-modem pair.
#include "nullmodem.h"
#include "tarlin_harness_win32.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

using namespace tarlin_gui;
using testing_support::NullModem;

namespace {

const wchar_t kPortSettings[] = L"Tarlin - nastavení portu";
const char kPort[] = "COM11";
const wchar_t kPowerCycle[] = L"Tarlin - zapnutí a vypnutí modulu";
const unsigned int kPortSettingsOk = 32779, kCancelPortSettings = 32780, kSkipPowerCycle = 32825;

class SettingsFilesGui : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveUserSettings();
        ASSERT_TRUE(modem.Ready());
        const std::string file = UserSettingsFile();
        ::CreateDirectoryA(file.substr(0, file.rfind('\\')).c_str(), nullptr);
    }
    void TearDown() override { RemoveUserSettings(); }
    static void WriteSettings(const std::string& content) {
        std::ofstream(UserSettingsFile(), std::ios::binary) << content;
    }
    static std::string ReadSettings() {
        std::ifstream in(UserSettingsFile(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Closes the program as the close box does and answers the disconnect question, if any.
    void CloseCleanly() {
        program.Close();
        int code = 1;
        ASSERT_TRUE(program.WaitForExit(30000, &code));
    }

    // The port settings offer COM1 ... COM16: the program's end gets a name among them.
    NullModem modem{kPort};
    StartFolder folder;
    TarlinProcess program;
};

// The saved port among 100,000 keys of other tools: the program connects to it, and at the
// end writes its settings back without losing one of the others.
TEST_F(SettingsFilesGui, HundredThousandKeys) {
    std::string content = "[OTHER_TOOL]\r\n";
    for (int k = 0; k < 50000; ++k)
        content += "Key" + std::to_string(k) + "=" + std::to_string(k) + "\r\n";
    content += std::string("[LAST_SETTING]\r\nPortName=") + kPort + "\r\nBaudRate=19200\r\n";
    for (int k = 0; k < 50000; ++k)
        content += "Extra" + std::to_string(k) + "=x\r\n";
    WriteSettings(content);
    ASSERT_TRUE(program.Start({}, folder.Path()));
    // Without a command line the start asks for the port, offering the saved one, and then
    // for the module's power cycle, which is skipped.
    HWND dialog = program.WaitForDialog(kPortSettings, 20000);
    ASSERT_NE(dialog, nullptr);
    ::PostMessageW(dialog, WM_COMMAND, kPortSettingsOk, 0);
    if (HWND power = program.WaitForDialog(kPowerCycle, 5000))
        ::PostMessageW(power, WM_COMMAND, kSkipPowerCycle, 0);
    ASSERT_NE(program.MainWindow(), nullptr);
    ProgramState state;
    ASSERT_TRUE(
        program.WaitFor([](const ProgramState& s) { return s.portOpen == 1; }, 20000, &state));
    EXPECT_EQ(state.portName, kPort);
    EXPECT_EQ(state.baudRate, 19200);
    CloseCleanly();
    const std::string after = ReadSettings();
    EXPECT_NE(after.find("\r\nKey49999=49999\r\n"), std::string::npos);
    EXPECT_NE(after.find("\r\nExtra49999=x\r\n"), std::string::npos);
    EXPECT_EQ(ReadLastSetting("PortName"), kPort);
}

// A port name of 3,000 characters and binary bytes: the name is cut to a value's room, opens
// nothing, and the port settings come up; nothing crashes.
TEST_F(SettingsFilesGui, OverlongValueAndBinaryBytes) {
    WriteSettings("[LAST_SETTING]\r\nPortName=" + std::string(3000, 'C') +
                  "\r\nBaudRate=\x01\x02\xff\xfe\r\nES=\x80\x81\r\n" + std::string("\0\0\x1a", 3) +
                  "\r\n");
    ASSERT_TRUE(program.Start({}, folder.Path()));
    HWND dialog = program.WaitForDialog(kPortSettings, 20000);
    ASSERT_NE(dialog, nullptr);
    ::PostMessageW(dialog, WM_COMMAND, kCancelPortSettings, 0);
    int code = 0;
    ASSERT_TRUE(program.WaitForExit(10000, &code));
    EXPECT_EQ(code, -2);
}

} // namespace
