// The serial device on Linux: termios2 for any baud rate, the modem-control and counter
// ioctls for lines and errors, poll for the wait for data. ioctl is called directly (never
// through tcsendbreak and friends) so that an interposed driver layer sees every request.
#include "commdevice.h"

#include <asm/termbits.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

using namespace comm;

const char kCommDevicePrefix[] = "";

namespace {

using Clock = std::chrono::steady_clock;

// How often poll may report data that a read then does not find.
const int kEmptyWakes = 3;

bool Icount(int fd, serial_icounter_struct& counts) {
    counts = {};
    return ioctl(fd, TIOCGICOUNT, &counts) == 0;
}

// Line errors and breaks counted between two readings of the driver's counters.
unsigned ErrorsBetween(const serial_icounter_struct& before, const serial_icounter_struct& now) {
    unsigned errors = 0;
    if (now.brk != before.brk) errors |= kCeBreak;
    if (now.frame != before.frame) errors |= kCeFrame;
    if (now.overrun != before.overrun) errors |= kCeOverrun;
    if (now.parity != before.parity) errors |= kCeRxParity;
    if (now.buf_overrun != before.buf_overrun) errors |= kCeRxOver;
    return errors;
}

// Breaks and line errors arrive with a character, so the wait for input wakes for them too.
unsigned EventsBetween(const serial_icounter_struct& before, const serial_icounter_struct& now) {
    unsigned events = 0;
    if (now.brk != before.brk) events |= kEvBreak;
    if (now.frame != before.frame || now.overrun != before.overrun || now.parity != before.parity ||
        now.buf_overrun != before.buf_overrun)
        events |= kEvErr;
    return events;
}

tcflag_t SizeFlag(int32_t byteSize) {
    switch (byteSize) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    default: return CS8;
    }
}

bool ParityFlags(int32_t parity, tcflag_t& flags) {
    switch (parity) {
    case 0: flags = 0; return true;
    case 1: flags = PARENB | PARODD; return true;
    case 2: flags = PARENB; return true;
    case 3: flags = PARENB | PARODD | CMSPAR; return true;
    case 4: flags = PARENB | CMSPAR; return true;
    }
    return false;
}

int32_t ParityOf(tcflag_t cflag) {
    switch (cflag & (PARENB | PARODD | CMSPAR)) {
    case PARENB | PARODD: return 1;
    case PARENB: return 2;
    case PARENB | PARODD | CMSPAR: return 3;
    case PARENB | CMSPAR: return 4;
    default: return 0;
    }
}

int32_t ByteSizeOf(tcflag_t cflag) {
    switch (cflag & CSIZE) {
    case CS5: return 5;
    case CS6: return 6;
    case CS7: return 7;
    default: return 8;
    }
}

bool ModemBits(int fd, int request, int bits) {
    return ioctl(fd, request, &bits) == 0;
}

// Rounded up, so that a wait of 1 ms is never a poll that returns at once.
int RemainingMs(Clock::time_point deadline) {
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

} // namespace

struct CCommDevice::Impl {
    int fd = -1;
    unsigned mask = 0;
    // Counter readings already reported by ClearError and by WaitInput.
    serial_icounter_struct errorBase{};
    serial_icounter_struct eventBase{};
    // Readable from CancelWait until the device is closed.
    int wake = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);

    ~Impl() {
        if (wake >= 0) close(wake);
    }
    // Breaks and line errors of the mask counted since the last look.
    unsigned NewEvents() {
        serial_icounter_struct now;
        if (!Icount(fd, now)) return 0;
        const unsigned events = EventsBetween(eventBase, now) & mask;
        eventBase = now;
        return events;
    }
    // 0 when nothing is queued yet (VMIN and VTIME are 0), -1 on a failure.
    int ReadQueued(char* buffer, int size) {
        const ssize_t n = read(fd, buffer, static_cast<size_t>(size));
        if (n >= 0) return static_cast<int>(n);
        return errno == EAGAIN || errno == EINTR ? 0 : -1;
    }
};

CCommDevice::CCommDevice() : m_impl(std::make_unique<Impl>()) {}

CCommDevice::~CCommDevice() {
    Close();
}

bool CCommDevice::Open(const char* path, bool /*overlapped: every descriptor is non-blocking*/) {
    Close();
    int fd = open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    // The lock refuses a second user even where TIOCEXCL does not (a privileged one).
    termios2 probe{};
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TCGETS2, &probe) != 0 ||
        ioctl(fd, TIOCEXCL) != 0) {
        close(fd);
        return false;
    }
    m_impl->fd = fd;
    Icount(fd, m_impl->errorBase);
    m_impl->eventBase = m_impl->errorBase;
    return true;
}

void CCommDevice::Close() {
    uint64_t ignored = 0;
    if (read(m_impl->wake, &ignored, sizeof ignored) < 0)
        ignored = 0; // the next device starts awake
    if (m_impl->fd < 0) return;
    ioctl(m_impl->fd, TIOCNXCL);
    close(m_impl->fd);
    m_impl->fd = -1;
}

bool CCommDevice::IsOpen() const {
    return m_impl->fd >= 0;
}

CommHandle CCommDevice::Handle() const {
    return m_impl->fd;
}

bool CCommDevice::SetMask(unsigned events) {
    if (m_impl->fd < 0) return false;
    m_impl->mask = events;
    return true;
}

bool CCommDevice::SetQueues(int, int) {
    return m_impl->fd >= 0;
} // the driver sizes its own

bool CCommDevice::Purge() {
    return ioctl(m_impl->fd, TCFLSH, TCIOFLUSH) == 0;
}

bool CCommDevice::DiscardInput() {
    return ioctl(m_impl->fd, TCFLSH, TCIFLUSH) == 0;
}

// Raw bytes in and out, no echo or line editing; reads never wait (the descriptor is
// non-blocking and VMIN/VTIME are 0), poll does the waiting.
bool CCommDevice::PrepareReads() {
    termios2 t{};
    if (ioctl(m_impl->fd, TCGETS2, &t) != 0) return false;
    t.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF);
    t.c_oflag &= ~OPOST;
    t.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag |= CREAD | CLOCAL;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    return ioctl(m_impl->fd, TCSETS2, &t) == 0;
}

bool CCommDevice::GetLine(LineSettings& line) {
    termios2 t{};
    if (ioctl(m_impl->fd, TCGETS2, &t) != 0) return false;
    line.baudRate = static_cast<int32_t>(t.c_ospeed);
    line.byteSize = ByteSizeOf(t.c_cflag);
    line.parity = ParityOf(t.c_cflag);
    int bits = TIOCM_DTR | TIOCM_RTS;
    ioctl(m_impl->fd, TIOCMGET, &bits);
    line.dtrControl = (bits & TIOCM_DTR) ? kControlEnable : kControlDisable;
    line.rtsControl = (t.c_cflag & CRTSCTS) ? kControlHandshake
                      : (bits & TIOCM_RTS)  ? kControlEnable
                                            : kControlDisable;
    return true;
}

bool CCommDevice::SetLine(const LineSettings& line) {
    termios2 t{};
    tcflag_t parity = 0;
    if (line.byteSize < 5 || line.byteSize > 8 || !ParityFlags(line.parity, parity) ||
        ioctl(m_impl->fd, TCGETS2, &t) != 0)
        return false;
    t.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT) | CSIZE | PARENB | PARODD | CMSPAR | CRTSCTS);
    t.c_cflag |= BOTHER | (BOTHER << IBSHIFT) | SizeFlag(line.byteSize) | parity;
    if (line.rtsControl == kControlHandshake) t.c_cflag |= CRTSCTS;
    t.c_ispeed = t.c_ospeed = static_cast<speed_t>(line.baudRate);
    if (ioctl(m_impl->fd, TCSETS2, &t) != 0) return false;
    const int fd = m_impl->fd;
    bool ok = ModemBits(fd, line.dtrControl == kControlDisable ? TIOCMBIC : TIOCMBIS, TIOCM_DTR);
    if (line.rtsControl != kControlHandshake)
        ok = ModemBits(fd, line.rtsControl == kControlDisable ? TIOCMBIC : TIOCMBIS, TIOCM_RTS) &&
             ok;
    // A pty has no modem lines of its own; only a failing device counts.
    return ok || errno == ENOTTY || errno == EINVAL;
}

bool CCommDevice::ClearError(unsigned& errors, int& inQueue) {
    errors = 0;
    inQueue = 0;
    serial_icounter_struct now;
    if (Icount(m_impl->fd, now)) {
        errors = ErrorsBetween(m_impl->errorBase, now);
        m_impl->errorBase = now;
    }
    return ioctl(m_impl->fd, FIONREAD, &inQueue) == 0;
}

bool CCommDevice::Escape(EscapeCode code) {
    const int fd = m_impl->fd;
    switch (code) {
    case kSetRts: return ModemBits(fd, TIOCMBIS, TIOCM_RTS);
    case kClrRts: return ModemBits(fd, TIOCMBIC, TIOCM_RTS);
    case kSetDtr: return ModemBits(fd, TIOCMBIS, TIOCM_DTR);
    case kClrDtr: return ModemBits(fd, TIOCMBIC, TIOCM_DTR);
    case kSetBreak: return ioctl(fd, TIOCSBRK) == 0;
    case kClrBreak: return ioctl(fd, TIOCCBRK) == 0;
    }
    return false;
}

bool CCommDevice::ClearBreak() {
    return ioctl(m_impl->fd, TIOCCBRK) == 0;
}

bool CCommDevice::ModemStatus(unsigned& status) {
    int bits = 0;
    status = 0;
    if (ioctl(m_impl->fd, TIOCMGET, &bits) != 0) return false;
    if (bits & TIOCM_CTS) status |= kMsCtsOn;
    if (bits & TIOCM_DSR) status |= kMsDsrOn;
    if (bits & TIOCM_RNG) status |= kMsRingOn;
    if (bits & TIOCM_CAR) status |= kMsRlsdOn;
    return true;
}

// Poll comes first: a wait for an answer not yet sent costs one call, and the counters are
// read once a wake. An empty read is no failure on a raw tty: poll tells data from a
// hung-up line.
InputResult CCommDevice::WaitInput(char* buffer, int size, int ms, int& got, unsigned& events) {
    got = 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(ms > 0 ? ms : 0);
    int emptyWakes = 0;
    for (;;) {
        pollfd p[2] = {{m_impl->fd, POLLIN, 0}, {m_impl->wake, POLLIN, 0}};
        const int ready = poll(p, 2, RemainingMs(deadline));
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return InputResult::Failed;
        if (p[1].revents & POLLIN) return InputResult::Cancelled;
        events = m_impl->NewEvents();
        if (events) return InputResult::Event;
        if (ready == 0) return InputResult::Timeout;
        got = m_impl->ReadQueued(buffer, size);
        if (got > 0) return InputResult::Data;
        // Readable again and again without a byte: a hang-up that poll does not report.
        if (got < 0 || (p[0].revents & (POLLHUP | POLLERR | POLLNVAL)) ||
            ++emptyWakes > kEmptyWakes)
            return InputResult::Failed;
    }
}

void CCommDevice::CancelWait() {
    const uint64_t one = 1;
    if (write(m_impl->wake, &one, sizeof one) < 0) return; // already readable
}

void CCommDevice::Pause(int ms) {
    pollfd p{m_impl->wake, POLLIN, 0};
    poll(&p, 1, ms);
}

bool CCommDevice::Gone() {
    termios2 t{};
    if (m_impl->fd < 0) return true;
    if (ioctl(m_impl->fd, TCGETS2, &t) == 0) return false;
    return errno == EIO || errno == ENXIO || errno == ENODEV || errno == EBADF;
}

// Writes what the driver takes at once and waits for room for the rest, up to the bound.
IoResult CCommDevice::Write(const char* data, int size, int& written) {
    written = 0;
    const int fd = m_impl->fd;
    const auto deadline = Clock::now() + std::chrono::milliseconds(kWriteWaitMs);
    bool pending = false;
    while (written < size) {
        ssize_t n = write(fd, data + written, static_cast<size_t>(size - written));
        if (n > 0) {
            written += static_cast<int>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            if (!pending) written = 0;
            return pending ? IoResult::FailedPending : IoResult::Failed;
        }
        pending = true;
        pollfd p{fd, POLLOUT, 0};
        int left = RemainingMs(deadline);
        if (left == 0 || poll(&p, 1, left) == 0) return IoResult::Timeout;
        if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) return IoResult::FailedPending;
    }
    return pending ? IoResult::DonePending : IoResult::Done;
}
