#include "comm.h"

#include <cstdio>
#include <cstring>

using namespace comm;

namespace {

// Every wait for data reports breaks and line errors too.
const unsigned kReadMask = kEvRxChar | kEvRxFlag | kEvBreak | kEvErr;
const int kQueueSize = 4096;
// How long an empty direct read waits for data.
const int kDirectWaitMs = 1;

// Only a single line error has a code of its own; combinations report nothing.
int32_t TranslateErrors(unsigned errors) {
    switch (errors) {
    case kCeBreak: return CComm::kLineBreak;
    case kCeDns: return CComm::kLineDeviceNotSelected;
    case kCeFrame: return CComm::kLineFraming;
    case kCeIoe: return CComm::kLineIo;
    case kCeMode: return CComm::kLineMode;
    case kCeOop: return CComm::kLineOutOfPaper;
    case kCeOverrun: return CComm::kLineOverrun;
    case kCePto: return CComm::kLineDeviceTimeout;
    case kCeRxOver: return CComm::kLineInputOverflow;
    case kCeRxParity: return CComm::kLineParity;
    case kCeTxFull: return CComm::kLineOutputFull;
    default: return 0;
    }
}

} // namespace

CComm::CComm()
    : m_portName{}, m_line{}, m_configValid(0), m_overlapped(0), m_receive{}, m_bytesReceived(0),
      m_bytesSent(0) {}

CComm::~CComm() {
    Close();
}

int32_t CComm::Open(const char* portName, int32_t overlapped) {
    if (portName == nullptr) return kNoName;
    Close();
    // The name stays also when the open fails, so Reopen and the dialogs see it.
    if (portName != m_portName) std::snprintf(m_portName, sizeof m_portName, "%s", portName);
    if (std::strlen(portName) > static_cast<size_t>(kMaxPortName)) return kCannotOpen;
    char path[32];
    std::snprintf(path, sizeof path, "%s%s", kCommDevicePrefix, portName);
    if (!m_device.Open(path, overlapped != 0)) return kCannotOpen;
    m_overlapped = overlapped ? 1 : 0;

    bool prepared = m_device.SetMask(kReadMask);
    prepared = m_device.SetQueues(kQueueSize, kQueueSize) && prepared;
    prepared = m_device.Purge() && prepared;
    ClearErrors();
    if (!prepared || !m_device.PrepareReads()) return kCannotOpen;
    m_configValid.store(m_device.GetLine(m_line) ? 1 : 0);
    return m_configValid.load() ? kOk : kNoState;
}

int32_t CComm::Reopen(int32_t overlapped) {
    return Open(m_portName, overlapped);
}

// A reader waiting on the port is woken and left to finish before the device goes.
void CComm::Close() {
    m_configValid.store(0);
    m_device.CancelWait();
    std::lock_guard<std::mutex> reading(m_readLock);
    m_device.Close();
}

int32_t CComm::IsOpen() const {
    return Ready() ? 1 : 0;
}

CommHandle CComm::GetHandle() const {
    return m_device.Handle();
}

bool CComm::Ready() const {
    return m_configValid.load() != 0 && m_device.IsOpen();
}

int32_t CComm::GetBaudRate() const {
    return Ready() ? m_line.baudRate : kNotOpen;
}
int32_t CComm::GetByteSize() const {
    return Ready() ? m_line.byteSize : kNotOpen;
}
int32_t CComm::GetParity() const {
    return Ready() ? m_line.parity : kNotOpen;
}

// The stored settings always mirror the driver: a refused change is taken back.
int32_t CComm::ApplyLine(const LineSettings& line, bool restore) {
    if (!Ready()) return kNotOpen;
    const LineSettings old = m_line;
    m_line = line;
    if (m_device.SetLine(m_line)) return kOk;
    if (restore) m_line = old;
    return kRefused;
}

int32_t CComm::SetBaudRate(int32_t baudRate) {
    LineSettings line = m_line;
    line.baudRate = baudRate;
    return ApplyLine(line, true);
}

int32_t CComm::SetByteSize(int32_t byteSize) {
    LineSettings line = m_line;
    line.byteSize = byteSize;
    return ApplyLine(line, true);
}

int32_t CComm::SetParity(int32_t parity) {
    LineSettings line = m_line;
    line.parity = parity;
    return ApplyLine(line, true);
}

int32_t CComm::SetParameters(int32_t baudRate, int32_t byteSize, int32_t parity) {
    LineSettings line = m_line;
    line.baudRate = baudRate;
    line.byteSize = byteSize;
    line.parity = parity;
    return ApplyLine(line, true);
}

int32_t CComm::DisableLineControl() {
    LineSettings line = m_line;
    line.dtrControl = kControlDisable;
    line.rtsControl = kControlDisable;
    return ApplyLine(line, false);
}

int32_t CComm::WriteChar(char c) {
    return Write(&c, 1);
}

int32_t CComm::WriteString(const char* text) {
    return Write(text, text ? static_cast<int32_t>(std::strlen(text)) : 0);
}

int32_t CComm::WriteBuffer(const char* data, int32_t count) {
    return Write(data, count);
}

int32_t CComm::Write(const char* data, int32_t count) {
    if (!Ready()) return kNotOpen;
    if (count <= 0) return kOk;
    if (data == nullptr) return kWriteShort;
    int written = 0;
    switch (m_device.Write(data, count, written)) {
    case IoResult::Done: break;
    case IoResult::DonePending:
        if (written != count) return kWriteCount;
        break;
    case IoResult::Timeout:
    case IoResult::Incomplete: return kWriteTimeout;
    case IoResult::FailedPending: ClearErrors(); return kWriteTimeout;
    case IoResult::Failed: written = 0; break;
    }
    if (written != count) return kWriteShort;
    m_bytesSent.fetch_add(static_cast<uint32_t>(written), std::memory_order_relaxed);
    return kOk;
}

char* CComm::Read(int32_t* count, int32_t waitMs, int32_t direct) {
    int32_t ignored = 0;
    if (count == nullptr) count = &ignored;
    std::unique_lock<std::mutex> reading(m_readLock, std::try_to_lock);
    if (!reading.owns_lock()) {
        *count = kReadBusy;
        return nullptr;
    }
    if (!Ready()) {
        *count = kReadNotOpen;
        return nullptr;
    }
    const int wait = direct ? kDirectWaitMs : waitMs > 0 ? waitMs : 0;
    int got = 0;
    unsigned events = 0;
    switch (m_device.WaitInput(m_receive, kReceiveSize, wait, got, events)) {
    case InputResult::Data: return Received(count, got);
    case InputResult::Event: return LineEvent(count, events);
    case InputResult::Timeout:
        if (!direct) ClearErrors();
        *count = 0;
        return nullptr;
    case InputResult::Cancelled: *count = kReadNotOpen; return nullptr;
    case InputResult::Failed: return Failed(count, wait);
    }
    return nullptr;
}

char* CComm::Received(int32_t* count, int got) {
    m_bytesReceived.fetch_add(static_cast<uint32_t>(got), std::memory_order_relaxed);
    m_receive[got] = 0;
    *count = got;
    return m_receive;
}

char* CComm::LineEvent(int32_t* count, unsigned events) {
    if (events & kEvBreak) {
        m_device.ClearBreak();
        *count = 0;
    } else {
        *count = ClearErrors();
    }
    return nullptr;
}

// A closing port is no lost device; a failure that is neither is not retried at once.
char* CComm::Failed(int32_t* count, int32_t waitMs) {
    if (!m_configValid.load()) {
        *count = kReadNotOpen;
        return nullptr;
    }
    ClearErrors();
    if (m_device.Gone()) {
        *count = kReadGone;
        return nullptr;
    }
    m_device.Pause(waitMs > 0 ? waitMs : kDirectWaitMs);
    *count = m_configValid.load() ? 0 : kReadNotOpen;
    return nullptr;
}

int32_t CComm::ClearErrors() {
    if (!m_device.IsOpen()) return 0;
    unsigned errors = 0;
    int inQueue = 0;
    if (!m_device.ClearError(errors, inQueue)) errors = 0;
    return TranslateErrors(errors);
}

void CComm::Purge() {
    if (!m_device.IsOpen()) return;
    m_device.Purge();
    ClearErrors();
}

void CComm::DiscardInput() {
    if (Ready()) m_device.DiscardInput();
}

int32_t CComm::IsDeviceGone() {
    return Ready() && m_device.Gone() ? 1 : 0;
}

int32_t CComm::Escape(EscapeCode code) {
    if (!Ready()) return kNotOpen;
    return m_device.Escape(code) ? kOk : kWriteShort;
}

int32_t CComm::SetRts() {
    return Escape(kSetRts);
}
int32_t CComm::ClearRts() {
    return Escape(kClrRts);
}
int32_t CComm::SetDtr() {
    return Escape(kSetDtr);
}
int32_t CComm::ClearDtr() {
    return Escape(kClrDtr);
}
int32_t CComm::SetBreak() {
    return Escape(kSetBreak);
}
int32_t CComm::ClearBreak() {
    return Escape(kClrBreak);
}

int32_t CComm::GetModemStatus(int32_t* cts, int32_t* rlsd, int32_t* dsr) {
    if (!Ready()) return kNotOpen;
    unsigned status = 0;
    if (!m_device.ModemStatus(status)) return kRefused;
    if (cts) *cts = (status & kMsCtsOn) ? 1 : 0;
    if (rlsd) *rlsd = (status & kMsRlsdOn) ? 1 : 0;
    if (dsr) *dsr = (status & kMsDsrOn) ? 1 : 0;
    return kOk;
}

void CComm::ResetCounters() {
    ResetBytesSent();
    ResetBytesReceived();
}
