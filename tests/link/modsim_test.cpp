// The module simulator seen from the program's port: the behaviour every later test uses.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "comm.h"
#include "modsim.h"
#include "nullmodem.h"

using testing_support::ModuleSimulator;
using testing_support::NullModem;
using Clock = std::chrono::steady_clock;

namespace {

// Reads until the text holds want or ms passed.
std::string ReadUntil(CComm& port, const std::string& want, int ms) {
    std::string got;
    const auto start = Clock::now();
    while (got.find(want) == std::string::npos &&
           Clock::now() - start < std::chrono::milliseconds(ms)) {
        int32_t count = 0;
        if (const char* data = port.Read(&count, 100, 0)) got.append(data, count);
    }
    return got;
}

class ModsimTest : public ::testing::Test {
protected:
    void Begin(const std::vector<std::string>& options) {
        ASSERT_TRUE(modem.Ready());
        ASSERT_EQ(1, port.Open(modem.PortName(0).c_str(), 1));
        std::vector<std::string> args = options;
        for (auto& arg : args)
            if (arg == "{record}") arg = modem.Folder() + "/record";
        sim.reset(new ModuleSimulator(modem, args));
        ASSERT_TRUE(sim->Started());
    }
    NullModem modem;
    CComm port;
    std::unique_ptr<ModuleSimulator> sim;
};

} // namespace

TEST_F(ModsimTest, PowerUpBannerPromptAndEcho) {
    Begin({"--banner", "TARLIN TEST MODULE 1.0 2024"});
    sim->Command("power");
    const std::string banner = ReadUntil(port, "2024\n\r", 5000);
    EXPECT_EQ("\n\rTARLIN TEST MODULE 1.0 2024\n\r", banner);
    EXPECT_GE(banner.size(), 25u);
    ASSERT_EQ(1, port.WriteChar(27));
    EXPECT_EQ(">", ReadUntil(port, ">", 3000));
    ASSERT_EQ(1, port.WriteString("abc"));
    EXPECT_EQ("abc", ReadUntil(port, "abc", 3000));
}

TEST_F(ModsimTest, UploadAcknowledgesAndRecordsEveryLine) {
    Begin({"--record", "{record}", "--drop-ack", "3", "--double-ack", "2", "--idle", "silent"});
    ASSERT_EQ(1, port.WriteString("HEXDWL\n\r"));
    const char* lines[] = {":10000000AA\n", ":10001000BB\n", ":10002000CC\n", ":00000001FF\n"};
    std::string acks;
    for (const char* line : lines) {
        ASSERT_EQ(1, port.WriteString(line));
        acks += ReadUntil(port, "\x06", 500);
    }
    acks += ReadUntil(port, "never", 300);
    EXPECT_EQ(std::string(4, '\x06'), acks) << "one, two, none, one";
    std::ifstream record(sim->LocalRecordPath(), std::ios::binary);
    std::stringstream text;
    text << record.rdbuf();
    EXPECT_EQ(":10000000AA\n:10001000BB\n:10002000CC\n:00000001FF\n", text.str());
    // A restart powers the module up again.
    ASSERT_EQ(1, port.WriteString("RST\r"));
    EXPECT_NE(std::string::npos, ReadUntil(port, "v1.0\n\r", 3000).find("\n\rMODSIM"));
}
