// The reference for the upload figures: a minimal single-threaded uploader of the same
// 2000-line module file into the same simulator on the same null-modem — write a line,
// wait for its ACK (poll natively, a read that returns with the first byte on Windows).
// Simulator options come from MODSIM_OPTIONS, as for upload_bench. Prints the same
// "ms per line" figure as upload_bench.
//
//   ref_upload [--two-threads]
//
// --two-threads: one thread writes, another waits for each ACK, and they hand every line
// over through two auto-reset events, as the program's write and confirmation threads do;
// nothing else of the program's (no purge, no dialog, no checks). What that design costs
// at the least.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "modsim.h"
#include "nullmodem.h"
#include "process.h"
#include "stats.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <linux/futex.h>
#include <poll.h>
#include <sys/syscall.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace {

const int kLines = 2000;
const char kAck = 6;

std::vector<std::string> ModuleLines() {
    std::vector<std::string> lines;
    char line[64];
    for (int n = 0; n < kLines; n++) {
        std::snprintf(line, sizeof line, ":10%04X00000102030405060708090A0B0C0D0E0F%02X\n",
                      (n * 16) & 0xFFFF, n & 0xFF);
        lines.push_back(line);
    }
    return lines;
}

#if defined(_WIN32)
class Line {
public:
    explicit Line(const std::string& name) {
        m_handle = CreateFileA(("\\\\.\\" + name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (m_handle == INVALID_HANDLE_VALUE) return;
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        GetCommState(m_handle, &dcb);
        dcb.BaudRate = 115200;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        dcb.fBinary = TRUE;
        SetCommState(m_handle, &dcb);
        // A read waits up to a second for its bytes.
        COMMTIMEOUTS timeouts{0, 0, 1000, 0, 2000};
        SetCommTimeouts(m_handle, &timeouts);
    }
    ~Line() {
        if (Ok()) CloseHandle(m_handle);
    }
    bool Ok() const { return m_handle != INVALID_HANDLE_VALUE; }
    bool Write(const std::string& text) {
        DWORD written = 0;
        return WriteFile(m_handle, text.data(), static_cast<DWORD>(text.size()), &written,
                         nullptr) &&
               written == text.size();
    }
    // One byte a read: the request is met by the first byte, which is all an ACK needs.
    bool WaitAck() {
        for (;;) {
            char byte = 0;
            DWORD got = 0;
            if (!ReadFile(m_handle, &byte, 1, &got, nullptr) || got == 0) return false;
            if (byte == kAck) return true;
        }
    }

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};
#else
class Line {
public:
    explicit Line(const std::string& path) {
        m_fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        termios t{};
        if (m_fd < 0 || tcgetattr(m_fd, &t) != 0) return;
        cfmakeraw(&t);
        t.c_cflag |= CLOCAL | CREAD;
        cfsetspeed(&t, B115200);
        tcsetattr(m_fd, TCSANOW, &t);
    }
    ~Line() {
        if (m_fd >= 0) close(m_fd);
    }
    bool Ok() const { return m_fd >= 0; }
    bool Write(const std::string& text) {
        size_t done = 0;
        while (done < text.size()) {
            const ssize_t n = write(m_fd, text.data() + done, text.size() - done);
            if (n > 0) {
                done += static_cast<size_t>(n);
                continue;
            }
            pollfd p{m_fd, POLLOUT, 0};
            if (poll(&p, 1, 2000) <= 0) return false;
        }
        return true;
    }
    bool WaitAck() {
        char buffer[64];
        for (;;) {
            pollfd p{m_fd, POLLIN, 0};
            if (poll(&p, 1, 1000) <= 0) return false;
            const ssize_t n = read(m_fd, buffer, sizeof buffer);
            for (ssize_t i = 0; i < n; i++)
                if (buffer[i] == kAck) return true;
        }
    }

private:
    int m_fd = -1;
};
#endif

// The cheapest auto-reset event each platform has.
#if defined(_WIN32)
class Handover {
public:
    Handover() : m_event(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
    ~Handover() { CloseHandle(m_event); }
    void Set() { SetEvent(m_event); }
    bool Wait() { return WaitForSingleObject(m_event, 2000) == WAIT_OBJECT_0; }

private:
    HANDLE m_event;
};
#else
class Handover {
public:
    void Set() {
        if (m_word.exchange(1) == 0) Futex(FUTEX_WAKE, 1, nullptr);
    }
    bool Wait() {
        const timespec limit{2, 0};
        for (int tries = 0; tries < 100; tries++) {
            int set = 1;
            if (m_word.compare_exchange_strong(set, 0)) return true;
            Futex(FUTEX_WAIT, 0, &limit);
        }
        return false;
    }

private:
    void Futex(int op, int value, const timespec* timeout) {
        syscall(SYS_futex, reinterpret_cast<int*>(&m_word), op | FUTEX_PRIVATE_FLAG, value, timeout,
                nullptr, 0);
    }
    std::atomic<int> m_word{0};
};
#endif

int UploadOneThread(Line& line, const std::vector<std::string>& lines) {
    int confirmed = 0;
    for (const std::string& text : lines) {
        if (!line.Write(text) || !line.WaitAck()) break;
        ++confirmed;
    }
    return confirmed;
}

int UploadTwoThreads(Line& line, const std::vector<std::string>& lines) {
    Handover written, confirmed;
    std::atomic<bool> failed{false};
    std::thread acks([&] {
        for (size_t n = 0; n < lines.size() && !failed; n++) {
            if (!written.Wait() || failed || !line.WaitAck()) failed = true;
            confirmed.Set();
        }
    });
    int count = 0;
    for (const std::string& text : lines) {
        if (!line.Write(text)) failed = true;
        written.Set();
        if (!confirmed.Wait() || failed) break;
        ++count;
    }
    failed = failed || count != static_cast<int>(lines.size());
    written.Set();
    acks.join();
    return count;
}

} // namespace

int main(int argc, char** argv) {
    const bool twoThreads = argc > 1 && std::strcmp(argv[1], "--two-threads") == 0;
    testing_support::NullModem modem;
    testing_support::ModuleSimulator sim(modem, {"--idle", "silent"});
    Line line(modem.PortName(0));
    if (!modem.Ready() || !sim.Started() || !line.Ok()) {
        std::puts("ref_upload: no null-modem or simulator");
        return 1;
    }
    const std::vector<std::string> lines = ModuleLines();
    line.Write("HEXDWL\n\r");
    const auto start = bench::Clock::now();
    const int confirmed = twoThreads ? UploadTwoThreads(line, lines) : UploadOneThread(line, lines);
    const double seconds = bench::Seconds(start, bench::Clock::now());
    std::printf("ref_upload: %d lines, %s\n", confirmed,
                confirmed == kLines ? "all confirmed" : "NOT confirmed");
    std::printf("  every line sent and confirmed after %.3f s, %.3f ms per line\n", seconds,
                seconds * 1000.0 / kLines);
    return confirmed == kLines ? 0 : 1;
}
