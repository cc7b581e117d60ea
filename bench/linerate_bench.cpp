// The read thread against the module simulator on the null-modem, one run:
//   linerate_bench stream [SECONDS]  the simulator streams as fast as the line takes it
//   linerate_bench idle [SECONDS]    the simulator stays silent
// Prints "key value" lines: sent (bytes the simulator wrote), port (bytes the port
// counted), buffer (bytes that reached the screen buffer), cpu (share of one core over the
// window) and wakeups (per second, all threads of this process; -1 where it cannot count
// them). "start" and "stop" mark the window for whoever measures the process from outside.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include "comm.h"
#include "interpreter.h"
#include "modsim.h"
#include "nullmodem.h"
#include "process.h"
#include "procfigures.h"
#include "readthread.h"
#include "stats.h"
#include "stdbuffer.h"

namespace {

using testing_support::FromLinux;

class BufferConsumer : public IReadConsumer {
public:
    BufferConsumer() : m_interpreter(m_buffer) { m_buffer.Init(); }
    void Consume(unsigned char byte) override {
        m_interpreter.InterpretByte(byte, kEscapeAnsi, 0);
        m_bytes.fetch_add(1, std::memory_order_relaxed);
    }
    // As the program's consumer does: runs of up to 1 KB through the interpreter at once.
    int32_t ConsumeRun(const char* bytes, int32_t count) override {
        const int32_t run = count < 1024 ? count : 1024;
        m_interpreter.Interpret(bytes, run, kEscapeAnsi, 0);
        m_bytes.fetch_add(static_cast<unsigned long long>(run), std::memory_order_relaxed);
        return run;
    }
    int GetRow() override { return m_buffer.GetRow(); }
    unsigned long long Bytes() const { return m_bytes.load(); }

private:
    CStdBuffer m_buffer;
    CInterpreter m_interpreter;
    std::atomic<unsigned long long> m_bytes{0};
};

// A megabyte of 80-column log text, played again and again.
bool WriteStreamFile(const std::string& path) {
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    for (int line = 0; line < 13000; ++line)
        std::fprintf(out,
                     "%08d the quick brown fox jumps over the lazy dog 0123456789 abcdefghijk\r\n",
                     line);
    std::fclose(out);
    return true;
}

long long ReadSent(const std::string& path) {
    for (int i = 0; i < 300; ++i) {
        std::ifstream in(path);
        std::string key;
        long long value = 0;
        if (in >> key >> value && key == "sent") return value;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1;
}

// Waits until the port's count stops growing (the bytes still in the cable arrive).
void Drain(const CComm& port) {
    uint32_t last = port.GetBytesReceived();
    for (int quiet = 0; quiet < 5;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const uint32_t now = port.GetBytesReceived();
        quiet = now == last ? quiet + 1 : 0;
        last = now;
    }
}

void Mark(const char* what) {
    std::printf("%s\n", what);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    const bool stream = argc > 1 && std::strcmp(argv[1], "stream") == 0;
    const int seconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
    testing_support::NullModem modem;
    CComm port;
    if (!modem.Ready() || port.Open(modem.PortName(0).c_str(), 1) != 1 ||
        port.SetParameters(115200, 8, 0) != 1) {
        std::puts("linerate_bench: no null-modem");
        return 1;
    }
    const std::string streamFile = modem.Folder() + "/stream.txt";
    const std::string statsFile = modem.Folder() + "/stats";
    if (!WriteStreamFile(FromLinux(streamFile))) return 1;
    auto sim = std::make_unique<testing_support::ModuleSimulator>(
        modem, std::vector<std::string>{"--idle", "silent", "--stream-rate", "0", "--stream-repeat",
                                        "--stats", statsFile});
    if (!sim->Started()) {
        std::puts("linerate_bench: no simulator");
        return 1;
    }
    BufferConsumer consumer;
    int data = 0;
    CReadThread thread;
    thread.SetContext(&port, &consumer, &data, nullptr);
    if (thread.Start(nullptr, 0) != 1) return 1;
    std::this_thread::sleep_for(std::chrono::milliseconds(500));

    const double cpuBefore = bench::ProcessCpuSeconds();
    const long long wakeBefore = bench::ProcessWakeUps();
    const auto start = bench::Clock::now();
    Mark("start");
    if (stream) sim->Command("stream " + streamFile);
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double wall = bench::Seconds(start, bench::Clock::now());
    const double cpu = bench::ProcessCpuSeconds() - cpuBefore;
    const long long wakeUps = bench::ProcessWakeUps() - wakeBefore;
    Mark("stop");

    sim->Command("silent");
    Drain(port);
    sim.reset(); // quits: the simulator writes what it sent
    thread.RequestStop();
    thread.Wait(3000, nullptr);
    std::printf("sent %lld\nport %u\nbuffer %llu\ncpu %.4f\nwakeups %.1f\n",
                ReadSent(FromLinux(statsFile)), port.GetBytesReceived(), consumer.Bytes(),
                cpu / wall, wakeBefore < 0 ? -1.0 : wakeUps / wall);
    return 0;
}
