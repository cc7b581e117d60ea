// Text from the port, the command line and the settings files is data, never a format, and
// overlong names and command lines stay inside their buffers. End a of the null-modem is the
// program's port, end b a peer.
#include "interpreter.h"
#include "nullmodem.h"
#include "portsetting.h"
#include "process.h"
#include "tarlindata.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

using testing_support::NullModem;

namespace {

using Clock = std::chrono::steady_clock;

const char kFormat[] = "%s%n%x%p%d%%";

std::string Collect(CComm& from, size_t want, int ms) {
    std::string got;
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (got.size() < want && Clock::now() < end) {
        int32_t count = 0;
        if (const char* data = from.Read(&count, 100, 0)) got.append(data, count);
    }
    return got;
}

class UnsafeInput : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(modem.Ready());
        folder = testing_support::MakeTempFolder("tarlin-input");
        data = std::make_unique<CTarlinData>();
        ASSERT_EQ(data->LocateSettingsFiles(folder.c_str()), 1);
        ASSERT_EQ(data->OpenPort(modem.PortName(0).c_str()), 1);
        ASSERT_EQ(peer.Open(modem.PortName(1).c_str(), 1), 1);
    }
    void TearDown() override {
        data.reset();
        testing_support::RemoveTree(folder);
    }
    NullModem modem;
    CComm peer;
    std::string folder;
    std::unique_ptr<CTarlinData> data;
};

TEST_F(UnsafeInput, FormatDirectivesTravelAsPlainText) {
    // From the command line to the port, as plain and as escape text.
    data->SetCommandLine((std::string("-t n ") + kFormat + " -ti e " + kFormat).c_str());
    ASSERT_EQ(data->ValidateCommandLine(), 0);
    EXPECT_EQ(data->SendTextSwitch(), 1);
    EXPECT_EQ(Collect(peer, std::strlen(kFormat), 2000), kFormat);
    EXPECT_EQ(data->SendInitialTextSwitch(), 1);
    EXPECT_EQ(Collect(peer, std::strlen(kFormat), 2000), kFormat);

    // From the port to the screen, and from the keyboard as echo.
    CStdBuffer& buffer = data->GetBuffer();
    buffer.Clear();
    CInterpreter interpreter(buffer);
    interpreter.Interpret(kFormat, static_cast<int>(std::strlen(kFormat)), 1, 0);
    ASSERT_EQ(data->SendText(kFormat), 1);
    EXPECT_EQ(std::string(buffer.GetLine(0), 2 * std::strlen(kFormat)),
              std::string(kFormat) + kFormat);

    // Settings values and the port name from the command line or a settings file.
    ASSERT_TRUE(data->WriteMainSetting("LAST_SETTING", "PortName", kFormat));
    EXPECT_STREQ(data->ReadMainSetting("LAST_SETTING", "PortName"), kFormat);
    data->LoadLastSettings(true);
    EXPECT_EQ(data->IsPortOpen(), 1) << "a port that cannot be opened leaves the open one";
    CDynString text;
    ASSERT_EQ(FormatPortSetting(text, kFormat, 9600, 8, 0), 1);
    EXPECT_NE(std::strstr(text.GetString(), kFormat), nullptr);
    data->SetCommandLine((std::string("-c ") + kFormat + " 9600 8 0").c_str());
    ASSERT_EQ(data->ValidateCommandLine(), 0);
    EXPECT_EQ(data->ApplyPortSwitch(), 0);
    EXPECT_STREQ(data->GetPortName(), kFormat);
}

// A port name far beyond the device path's room is refused, never cut to another name.
TEST_F(UnsafeInput, OverlongPortNameIsRefused) {
    const std::string name = "COM" + std::string(297, '1');
    data->SetCommandLine(("-c " + name + " 9600 8 0").c_str());
    ASSERT_EQ(data->ValidateCommandLine(), 0);
    EXPECT_EQ(data->ApplyPortSwitch(), 0);
    EXPECT_EQ(data->IsPortOpen(), 0);
    const std::string kept = data->GetPortName();
    EXPECT_LT(kept.size(), name.size());
    EXPECT_EQ(name.compare(0, kept.size(), kept), 0);
    EXPECT_EQ(data->ReopenPort(), data->GetPort().Open(name.c_str(), 1));
    EXPECT_EQ(data->IsPortOpen(), 0);
    // A name that only just fits still opens nothing that is not there.
    data->SetCommandLine(("-c " + std::string(27, 'X') + " 9600 8 0").c_str());
    ASSERT_EQ(data->ValidateCommandLine(), 0);
    EXPECT_EQ(data->ApplyPortSwitch(), 0);
}

// The peer reads while the text goes out, as a module would.
bool SendsWhole(CTarlinData& data, CComm& peer, const std::string& text) {
    std::string got;
    std::thread reader([&] { got = Collect(peer, text.size(), 20000); });
    const int sent = data.SendTextSwitch();
    reader.join();
    return sent == 1 && got == text;
}

// The longest command line Windows passes (32,767 characters) is read whole.
TEST_F(UnsafeInput, CommandLineOfThirtyTwoThousandCharacters) {
    const std::string text(31990, 'A');
    data->SetCommandLine(("-t n " + text).c_str());
    ASSERT_EQ(data->ValidateCommandLine(), 0);
    EXPECT_TRUE(SendsWhole(*data, peer, text));

    std::string many;
    while (many.size() < 32000)
        many += "-r x -cm ";
    data->SetCommandLine(("-w c " + many + "-f \"" + std::string(300, 'p') + "\"").c_str());
    ASSERT_EQ(data->ValidateCommandLine(), 0);
    EXPECT_FALSE(data->IsCommandLineEmpty());
    ASSERT_NE(data->GetParameter(CTarlinCmdLine::kFile, 1), nullptr);
    EXPECT_EQ(std::strlen(data->GetParameter(CTarlinCmdLine::kFile, 1)), 300u);

    const std::string percents(32000, '%');
    data->SetCommandLine(("-t n " + percents).c_str());
    ASSERT_EQ(data->ValidateCommandLine(), 0);
    EXPECT_TRUE(SendsWhole(*data, peer, percents));
}

} // namespace
