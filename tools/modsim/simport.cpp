#include "simport.h"

#include <asm/termbits.h>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace {

// Raw 8N1 at any rate (termios2 with BOTHER), reads that never wait.
bool MakeRaw(int fd, int baud) {
    termios2 t{};
    if (ioctl(fd, TCGETS2, &t) != 0) return false;
    t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL |
                                        IXON | IXOFF);
    t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS | CBAUD | (CBAUD << 16));
    t.c_cflag |= CS8 | CLOCAL | CREAD | BOTHER | (BOTHER << 16);
    t.c_ispeed = t.c_ospeed = static_cast<speed_t>(baud);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    return ioctl(fd, TCSETS2, &t) == 0;
}

bool HungUp(short revents) {
    return (revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

} // namespace

SimPort::~SimPort() {
    if (m_fd >= 0) close(m_fd);
}

bool SimPort::Open(const std::string& path, int baud) {
    m_fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) {
        m_error = std::strerror(errno);
        return false;
    }
    if (!MakeRaw(m_fd, baud)) {
        m_error = std::string("line settings refused: ") + std::strerror(errno);
        return false;
    }
    return true;
}

bool SimPort::Wait(std::chrono::microseconds timeout, bool wantWrite) {
    pollfd p{m_fd, static_cast<short>(POLLIN | (wantWrite ? POLLOUT : 0)), 0};
    const long long us = timeout.count();
    const timespec wait{static_cast<time_t>(us / 1000000), static_cast<long>(us % 1000000) * 1000};
    const int ready = ppoll(&p, 1, &wait, nullptr);
    m_hungUp = ready > 0 && HungUp(p.revents);
    return ready > 0;
}

long SimPort::Read(char* buffer, size_t size) {
    const ssize_t n = read(m_fd, buffer, size);
    if (n > 0) return static_cast<long>(n);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return 0;
    // A raw tty reads 0 bytes when nothing is there; after a hang-up 0 is the end.
    if (n == 0 && !m_hungUp) return 0;
    m_gone = true;
    return -1;
}

long SimPort::WriteSome(const char* data, size_t size) {
    const ssize_t n = write(m_fd, data, size);
    if (n >= 0) return static_cast<long>(n);
    if (errno == EAGAIN || errno == EINTR) return 0;
    m_gone = true;
    return -1;
}

bool SimPort::WriteAll(const char* data, size_t size) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (size > 0) {
        const long n = WriteSome(data, size);
        if (n < 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
        if (size == 0) break;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd p{m_fd, POLLOUT, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) > 0 && HungUp(p.revents)) {
            m_gone = true;
            return false;
        }
    }
    return true;
}

void SimPort::Purge() {
    ioctl(m_fd, TCFLSH, TCIOFLUSH);
}

bool SimPort::Dsr(bool& dsr) {
    int lines = 0;
    if (ioctl(m_fd, TIOCMGET, &lines) != 0) return false;
    dsr = (lines & TIOCM_DSR) != 0;
    return true;
}
