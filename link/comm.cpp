#include "comm.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

using namespace comm;

namespace {

const unsigned kOpenMask = kEvRxChar | kEvRxFlag | kEvErr;
const unsigned kReadMask = kEvRxChar | kEvRxFlag | kEvBreak | kEvErr;
const int kQueueSize = 4096;
// A chunk of data raises the activity by this much on top of the poll's own 1.
const int kActivityPerChunk = 25;

void SleepOneMs() {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// Only a single line error has a code of its own; combinations report nothing.
int32_t TranslateErrors(unsigned errors) {
    switch (errors) {
    case kCeBreak: return -11;
    case kCeDns: return -12;
    case kCeFrame: return -13;
    case kCeIoe: return -14;
    case kCeMode: return -15;
    case kCeOop: return -16;
    case kCeOverrun: return -17;
    case kCePto: return -18;
    case kCeRxOver: return -19;
    case kCeRxParity: return -20;
    case kCeTxFull: return -21;
    default: return 0;
    }
}

} // namespace

CComm::CComm()
    : m_portName{}, m_line{}, m_configValid(0), m_overlapped(0), m_receive{}, m_activity(0),
      m_bytesReceived(0), m_bytesSent(0) {}

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

    bool prepared = m_device.SetMask(kOpenMask);
    prepared = m_device.SetQueues(kQueueSize, kQueueSize) && prepared;
    prepared = m_device.Purge() && prepared;
    ClearErrors();
    if (!prepared || !m_device.SetImmediateReads()) return kCannotOpen;
    m_configValid = m_device.GetLine(m_line) ? 1 : 0;
    return m_configValid ? kOk : kNoState;
}

int32_t CComm::Reopen(int32_t overlapped) {
    return Open(m_portName, overlapped);
}

void CComm::Close() {
    m_device.Close();
    m_configValid = 0;
    m_activity.store(0, std::memory_order_relaxed);
}

int32_t CComm::IsOpen() const {
    return Ready() ? 1 : 0;
}

CommHandle CComm::GetHandle() const {
    return m_device.Handle();
}

bool CComm::Ready() const {
    return m_configValid != 0 && m_device.IsOpen();
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

void CComm::LowerActivity(int by) {
    int32_t now = m_activity.load(std::memory_order_relaxed) - by;
    m_activity.store(now > 0 ? now : 0, std::memory_order_relaxed);
}

char* CComm::Read(int32_t* count, int32_t waitMs, int32_t direct) {
    int32_t ignored = 0;
    if (count == nullptr) count = &ignored;
    if (!Ready()) {
        LowerActivity(1);
        return nullptr;
    }
    unsigned events = 0;
    if (m_activity.load(std::memory_order_relaxed) == 0 && !direct) {
        bool poll = false;
        char* result = WaitForEvent(count, waitMs, poll);
        if (!poll) return result;
        events = kEvRxChar;
    }
    if (events != 0 || m_activity.load(std::memory_order_relaxed) > 0 || direct) return Poll(count);
    LowerActivity(2);
    *count = 0;
    return nullptr;
}

// Waits for a comm event; sets poll when data has arrived, else finishes the Read.
char* CComm::WaitForEvent(int32_t* count, int32_t waitMs, bool& poll) {
    if (!m_device.SetMask(kReadMask)) ClearErrors();
    unsigned events = 0;
    switch (m_device.WaitEvent(waitMs, events)) {
    case WaitResult::Abandoned:
        *count = kReadAbandoned;
        LowerActivity(1);
        return nullptr;
    case WaitResult::Timeout:
        ClearErrors();
        *count = 0;
        LowerActivity(1);
        return nullptr;
    case WaitResult::Failed: return DeviceGone(count);
    case WaitResult::Event: break;
    }
    // A wait that ends without any event is how a vanished device shows under some drivers.
    if (events == 0) return DeviceGone(count);
    if (events & kEvBreak) {
        m_device.ClearBreak();
        *count = 0;
        LowerActivity(1);
        return nullptr;
    }
    if (events & kEvErr) {
        *count = ClearErrors();
        LowerActivity(1);
        return nullptr;
    }
    poll = (events & kEvRxChar) != 0;
    if (!poll) {
        LowerActivity(2);
        *count = 0;
    }
    return nullptr;
}

char* CComm::DeviceGone(int32_t* count) {
    SleepOneMs();
    ClearErrors();
    *count = m_device.Gone() ? kReadGone : 0;
    LowerActivity(1);
    return nullptr;
}

char* CComm::Poll(int32_t* count) {
    m_activity.fetch_add(1, std::memory_order_relaxed);
    int got = 0;
    const IoResult result = m_device.Read(m_receive, kReceiveSize, got);
    switch (result) {
    case IoResult::Done:
    case IoResult::DonePending:
        if (got > 0) {
            m_activity.fetch_add(kActivityPerChunk, std::memory_order_relaxed);
            m_bytesReceived.fetch_add(static_cast<uint32_t>(got), std::memory_order_relaxed);
            m_receive[got] = 0;
            *count = got;
            return m_receive;
        }
        if (result == IoResult::Done) SleepOneMs();
        LowerActivity(2);
        *count = 0;
        return nullptr;
    case IoResult::Timeout: LowerActivity(1); return nullptr;
    case IoResult::Incomplete: *count = 0; return nullptr;
    case IoResult::Failed:
    case IoResult::FailedPending:
        LowerActivity(1);
        ClearErrors();
        *count = 0;
        return nullptr;
    }
    return nullptr;
}

int32_t CComm::ClearErrors() {
    if (!m_device.IsOpen()) return 0;
    unsigned errors = 0;
    int inQueue = 0;
    if (!m_device.ClearError(errors, inQueue)) errors = 0;
    if (inQueue > 0)
        m_activity.store(inQueue, std::memory_order_relaxed);
    else
        LowerActivity(1);
    return TranslateErrors(errors);
}

void CComm::Purge() {
    if (!m_device.IsOpen()) return;
    m_device.Purge();
    ClearErrors();
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
