// The read thread's park/release handshake under load: while the simulator streams, the
// window's side parks and releases the thread thousands of times and reads the port itself
// while the thread is parked, as identification and upload do. No request fails or hangs, and
// no byte is read twice or lost: the bytes of both readers, in the order they were read, are
// the stream, and they are all the bytes the port counted.
#include "readthread.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>

#include "comm.h"
#include "modsim.h"
#include "nullmodem.h"
#include "process.h"
#include "timing.h"

using testing_support::Clock;
using testing_support::ElapsedMs;
using testing_support::ModuleSimulator;
using testing_support::NullModem;
using testing_support::Pause;
using testing_support::WaitFor;

namespace {

// TARLIN_STRESS_CYCLES (10,000 for a full stress run), or a count the regular suite affords.
int Cycles() {
    const char* value = std::getenv("TARLIN_STRESS_CYCLES");
    const int cycles = value != nullptr ? std::atoi(value) : 0;
    return cycles > 0 ? cycles : 1000;
}

// Both readers' bytes in one record, in the order they were read.
class SharedRecord : public IReadConsumer {
public:
    void Consume(unsigned char byte) override {
        std::lock_guard<std::mutex> hold(m_lock);
        m_bytes.push_back(static_cast<char>(byte));
        ++m_byThread;
    }
    int GetRow() override { return 0; }
    void AddDirect(const char* bytes, int count) {
        std::lock_guard<std::mutex> hold(m_lock);
        m_bytes.append(bytes, static_cast<size_t>(count));
        m_byDirect += static_cast<size_t>(count);
    }
    std::string Bytes() {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_bytes;
    }
    size_t ByThread() {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_byThread;
    }
    size_t ByDirect() {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_byDirect;
    }

private:
    std::mutex m_lock;
    std::string m_bytes;
    size_t m_byThread = 0, m_byDirect = 0;
};

// Numbers in a row: a lost, doubled or reordered byte shows where it happened.
std::string Pattern() {
    std::string text;
    for (int n = 0; text.size() < 200000; ++n)
        text += std::to_string(n) + ",";
    return text;
}

// Where the record first differs from the stream played again and again, taken up where the
// record starts (the module streamed before the port was open); npos when it is all stream.
size_t FirstDifference(const std::string& record, const std::string& stream) {
    const size_t start = (stream + stream).find(record.substr(0, 64));
    if (start == std::string::npos) return 0;
    for (size_t i = 0; i < record.size(); ++i)
        if (record[i] != stream[(start + i) % stream.size()]) return i;
    return std::string::npos;
}

} // namespace

TEST(ReadThreadStress, ParkAndReleaseWhileTheModuleStreams) {
    NullModem modem;
    ASSERT_TRUE(modem.Ready());
    const std::string stream = Pattern();
    const std::string file = modem.Folder() + "/stream";
    std::ofstream(testing_support::FromLinux(file), std::ios::binary) << stream;
    ModuleSimulator sim(
        modem, {"--idle", "stream", "--stream", file, "--stream-rate", "40000", "--stream-repeat"});
    ASSERT_TRUE(sim.Started());
    CComm port;
    ASSERT_EQ(1, port.Open(modem.PortName(0).c_str(), 1));
    SharedRecord record;
    int data = 0;
    CReadThreadControl control{false, 2000};
    CReadThread thread{&control};
    thread.SetContext(&port, &record, &data, nullptr);
    ASSERT_EQ(1, thread.Start(nullptr, 0));
    ASSERT_TRUE(WaitFor([&] { return record.ByThread() > 0; }, 5000)) << "the stream flows";

    const int cycles = Cycles();
    int refusedSuspend = 0, refusedResume = 0;
    // A refused suspension costs its whole wait: a few are enough to tell.
    for (int cycle = 0; cycle < cycles && refusedSuspend < 5; ++cycle) {
        if (thread.RequestSuspend() != 1) ++refusedSuspend;
        int32_t count = 0;
        if (const char* bytes = port.Read(&count, 2, 0)) record.AddDirect(bytes, count);
        if (thread.RequestResume() != 1) ++refusedResume;
    }
    EXPECT_EQ(refusedSuspend, 0);
    EXPECT_EQ(refusedResume, 0);
    EXPECT_GT(record.ByDirect(), 0u) << "the parked thread left bytes to the other reader";

    // The module falls silent; what is on the way arrives, then the thread stops at once.
    sim.Command("silent");
    size_t seen = 0;
    const auto silenced = Clock::now();
    do {
        seen = record.Bytes().size();
        Pause(500);
    } while (record.Bytes().size() != seen && ElapsedMs(silenced) < 30000);
    ASSERT_EQ(seen, record.Bytes().size()) << "the module did not fall silent";
    int32_t code = 0;
    thread.RequestStop();
    ASSERT_EQ(1, thread.Wait(3000, &code));
    EXPECT_EQ(1, code);

    const std::string bytes = record.Bytes();
    EXPECT_EQ(bytes.size(), static_cast<size_t>(port.GetBytesReceived()))
        << "every byte the port counted reached one reader";
    const size_t differs = FirstDifference(bytes, stream);
    EXPECT_EQ(differs, std::string::npos)
        << "at byte " << differs << ": "
        << bytes.substr(differs == std::string::npos ? 0 : differs, 40);
    std::printf("%d cycles, %zu bytes: %zu by the thread, %zu by the other reader\n", cycles,
                bytes.size(), record.ByThread(), record.ByDirect());
}
