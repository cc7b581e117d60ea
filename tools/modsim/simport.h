// The simulator's end of the line: a pty (or any tty) driven with plain POSIX calls, so that
// the module it plays shares no code with the program under test.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

class SimPort {
public:
    SimPort() = default;
    ~SimPort();
    SimPort(const SimPort&) = delete;
    SimPort& operator=(const SimPort&) = delete;

    // Opens the device raw at the given rate; false with a reason in Error().
    bool Open(const std::string& path, int baud);
    const std::string& Error() const { return m_error; }

    // Waits up to the time-out for input (and, with wantWrite, for room to write); true
    // when the port is readable or writable, false on a time-out.
    bool Wait(std::chrono::microseconds timeout, bool wantWrite);
    // Reads what is there without waiting: the byte count, 0 for nothing, -1 when the
    // device has gone (hang-up).
    long Read(char* buffer, size_t size);
    // Writes every byte, waiting for room up to two seconds in all; false when the device
    // has gone or stays full.
    bool WriteAll(const char* data, size_t size);
    // Writes what fits now: the byte count, -1 when the device has gone.
    long WriteSome(const char* data, size_t size);
    // Drops what waits in either direction.
    void Purge();
    // The data-set-ready input line (the other end's DTR on the null-modem).
    bool Dsr(bool& dsr);
    bool Gone() const { return m_gone; }

private:
    int m_fd = -1;
    bool m_gone = false;
    bool m_hungUp = false; // the last wait saw the other side hang up
    std::string m_error;
};
