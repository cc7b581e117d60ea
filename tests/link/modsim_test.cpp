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
#include "process.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <cstdlib>
#endif

using testing_support::FromLinux;
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

// The simulator writes its stats file when it stops; -1 until then.
long long SentWhenStopped(const std::string& path, int ms) {
    const auto start = Clock::now();
    while (Clock::now() - start < std::chrono::milliseconds(ms)) {
        std::ifstream in(FromLinux(path));
        std::string key;
        long long sent = -1;
        if (in >> key >> sent && key == "sent") return sent;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return -1;
}

void SetSimulatorOptions(const char* options) {
#if defined(_WIN32)
    SetEnvironmentVariableA("MODSIM_OPTIONS", options);
#else
    if (options)
        setenv("MODSIM_OPTIONS", options, 1);
    else
        unsetenv("MODSIM_OPTIONS");
#endif
}

class ModsimTest : public ::testing::Test {
protected:
    void Begin(const std::vector<std::string>& options) {
        ASSERT_TRUE(modem.Ready());
        ASSERT_EQ(1, port.Open(modem.PortName(0).c_str(), 1));
        std::vector<std::string> args = options;
        for (auto& arg : args) {
            if (arg == "{record}") arg = modem.Folder() + "/record";
            if (arg == "{stats}") arg = Stats();
        }
        sim.reset(new ModuleSimulator(modem, args));
        ASSERT_TRUE(sim->Started());
    }
    std::string Stats() const { return modem.Folder() + "/stats"; }
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

// At rate 0 the stream goes as fast as the line takes it, again and again; every byte
// written is counted, and every byte counted arrives.
TEST_F(ModsimTest, FullSpeedStreamArrivesWholeAndIsCounted) {
    {
        std::ofstream file(FromLinux(modem.Folder() + "/stream"), std::ios::binary);
        for (int i = 0; i < 1000; i++)
            file << "0123456789";
    }
    Begin({"--idle", "silent", "--stream-rate", "0", "--stream-repeat", "--stats", "{stats}"});
    sim->Command("stream " + modem.Folder() + "/stream");
    size_t received = ReadUntil(port, "never", 1500).size();
    sim->Command("silent");
    received += ReadUntil(port, "never", 1000).size();
    EXPECT_GT(received, 20000u) << "the file is played more than once";
    sim.reset();
    EXPECT_EQ(static_cast<long long>(received), SentWhenStopped(Stats(), 5000));
}

// A simulator whose device goes away stops (instead of spinning on the dead line).
TEST_F(ModsimTest, StopsWhenItsLineIsPulled) {
    Begin({"--stats", "{stats}"});
    modem.Vanish(1);
    EXPECT_EQ(0, SentWhenStopped(Stats(), 5000));
}

// Options from the environment come first; the command line's win.
TEST_F(ModsimTest, TakesOptionsFromTheEnvironment) {
    SetSimulatorOptions("--banner ENVIRONMENT-MODULE-2024-VERSION-9 --idle silent");
    Begin({"--idle", "echo"});
    SetSimulatorOptions(nullptr);
    sim->Command("power");
    EXPECT_NE(std::string::npos,
              ReadUntil(port, "VERSION-9\n\r", 5000).find("ENVIRONMENT-MODULE-2024-VERSION-9"));
    ASSERT_EQ(1, port.WriteString("xyz"));
    EXPECT_EQ("xyz", ReadUntil(port, "xyz", 3000)) << "--idle echo from the command line";
}

#if !defined(_WIN32)
#include <glob.h>

#include <set>

namespace {

std::set<std::string> OwnNullModemFolders() {
    std::set<std::string> folders;
    glob_t found{};
    if (glob("/tmp/nullmodem.*", 0, nullptr, &found) == 0)
        folders.insert(found.gl_pathv, found.gl_pathv + found.gl_pathc);
    globfree(&found);
    return folders;
}

} // namespace

// Without --dir the null-modem makes its own folder in /tmp and takes it away when it stops.
TEST(NullModemTool, LeavesNothingInTmpWithoutFolder) {
    const std::set<std::string> before = OwnNullModemFolders();
    std::string output;
    ASSERT_EQ(0, testing_support::RunCapture(NullModem::ToolFolder() + "/nullmodem", "nullmodem",
                                             {"--daemon", "--lifetime", "1"}, "/tmp", output));
    EXPECT_NE(std::string::npos, output.find("/dev/pts/"));
    std::set<std::string> made;
    for (const std::string& folder : OwnNullModemFolders())
        if (!before.count(folder)) made.insert(folder);
    ASSERT_EQ(1u, made.size());
    const auto start = Clock::now();
    while (OwnNullModemFolders().count(*made.begin()) &&
           Clock::now() - start < std::chrono::seconds(5))
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(0u, OwnNullModemFolders().count(*made.begin()));
}
#endif
