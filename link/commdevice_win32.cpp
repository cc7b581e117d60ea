// The serial device on Win32: overlapped I/O with one event per request. The wait for data
// is a one-byte read that pends until a byte arrives (no time-outs are set), so a silent line
// costs nothing; whatever follows that byte is taken by a read of exactly what is queued.
#include "commdevice.h"

#include <windows.h>

#include <atomic>
#include <initializer_list>

#include "wide_win32.h"

using namespace comm;

const char kCommDevicePrefix[] = "\\\\.\\";

namespace {

// One overlapped request slot with its own manual-reset event. The driver owns the slot
// (and the count it writes) while a request is pending, so a slot is never reused or
// released before its request has ended.
struct Overlapped {
    OVERLAPPED ov{};
    DWORD count = 0;
    bool pending = false;
    bool Create() {
        ov = OVERLAPPED{};
        ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        return ov.hEvent != nullptr;
    }
    void Release() {
        if (ov.hEvent) CloseHandle(ov.hEvent);
        ov = OVERLAPPED{};
        pending = false;
    }
    // Waits up to ms for a pending request; true when it has ended (or none was pending).
    bool Settle(HANDLE device, DWORD ms) {
        if (!pending) return true;
        if (WaitForSingleObject(ov.hEvent, ms) != WAIT_OBJECT_0) return false;
        GetOverlappedResult(device, &ov, &count, FALSE);
        pending = false;
        return true;
    }
    // ReadFile and WriteFile reset the event themselves as they start.
    void Restart() {
        ov.Offset = 0;
        ov.OffsetHigh = 0;
    }
};

// How long a closed port's requests get to end.
const DWORD kCloseWaitMs = 1000;
// How often the queue of a device without overlapped I/O is looked at while waiting.
const ULONGLONG kQueueLookMs = 10;
// The line-error flags that end a wait for data as an EV_ERR event.
const DWORD kErrorFlags = CE_FRAME | CE_OVERRUN | CE_RXPARITY | CE_RXOVER;

bool Valid(HANDLE h) {
    return h != nullptr && h != INVALID_HANDLE_VALUE;
}

// What a removed device answers with; Wine reports a hung-up line as "not ready".
bool DeviceMissing(DWORD error) {
    switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_INVALID_HANDLE:
    case ERROR_BAD_COMMAND:
    case ERROR_NOT_READY:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEV_NOT_EXIST: return true;
    }
    return false;
}

} // namespace

struct CCommDevice::Impl {
    HANDLE handle = nullptr;
    bool overlapped = false;
    DCB dcb{};
    COMSTAT status{};
    unsigned mask = 0;
    // Line errors collected while looking at the input queue, reported by ClearError.
    DWORD heldErrors = 0;
    // The one-byte read that waits for data, its byte, and the read of what follows it.
    Overlapped write, wait, drain;
    char waitByte = 0;
    // Set by CancelWait, cleared when the device closes; the flag spares a look at the event.
    HANDLE cancel = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> cancelled{false};

    ~Impl() {
        if (cancel) CloseHandle(cancel);
    }
    bool Cancelled() const { return cancelled.load(); }
    // Bytes the driver holds, -1 when it cannot say; line errors are kept for ClearError.
    int Queued() {
        DWORD errors = 0;
        COMSTAT queue{};
        if (!ClearCommError(handle, &errors, &queue)) return -1;
        heldErrors |= errors;
        return static_cast<int>(queue.cbInQue);
    }
    // The break or line-error event the held flags stand for.
    unsigned HeldEvents() const {
        unsigned events = 0;
        if (heldErrors & CE_BREAK) events |= kEvBreak;
        if (heldErrors & kErrorFlags) events |= kEvErr;
        return events & mask;
    }
    InputResult Drain(char* buffer, int size, int queued, int& got);
    InputResult AwaitQueue(char* buffer, int size, int ms, int& got);
    InputResult StartWait(char* buffer, int size, int& got);
    InputResult EndWait(char* buffer, int size, int& got);
};

CCommDevice::CCommDevice() : m_impl(std::make_unique<Impl>()) {}

CCommDevice::~CCommDevice() {
    Close();
}

bool CCommDevice::Open(const char* path, bool overlapped) {
    Close();
    HANDLE h = CreateFileW(oskel::ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                           OPEN_EXISTING, overlapped ? FILE_FLAG_OVERLAPPED : 0, nullptr);
    if (!Valid(h)) return false;
    m_impl->handle = h;
    m_impl->overlapped = overlapped;
    if (!m_impl->write.Create() || !m_impl->wait.Create() || !m_impl->drain.Create()) {
        Close();
        return false;
    }
    m_impl->dcb = DCB{};
    m_impl->dcb.DCBlength = sizeof(DCB);
    return true;
}

void CCommDevice::Close() {
    if (m_impl->handle) {
        // Closing ends every request; their slots are released only once they have ended.
        CancelIoEx(m_impl->handle, nullptr);
        CloseHandle(m_impl->handle);
        for (Overlapped* slot : {&m_impl->write, &m_impl->wait, &m_impl->drain})
            if (slot->pending) WaitForSingleObject(slot->ov.hEvent, kCloseWaitMs);
    }
    m_impl->heldErrors = 0;
    m_impl->handle = nullptr;
    m_impl->write.Release();
    m_impl->wait.Release();
    m_impl->drain.Release();
    ResetEvent(m_impl->cancel);
    m_impl->cancelled = false;
}

bool CCommDevice::IsOpen() const {
    return Valid(m_impl->handle);
}

CommHandle CCommDevice::Handle() const {
    return m_impl->handle;
}

bool CCommDevice::SetMask(unsigned events) {
    m_impl->mask = events;
    return SetCommMask(m_impl->handle, events) != 0;
}

bool CCommDevice::SetQueues(int input, int output) {
    return SetupComm(m_impl->handle, static_cast<DWORD>(input), static_cast<DWORD>(output)) != 0;
}

bool CCommDevice::Purge() {
    return PurgeComm(m_impl->handle,
                     PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR) != 0;
}

bool CCommDevice::DiscardInput() {
    return PurgeComm(m_impl->handle, PURGE_RXABORT | PURGE_RXCLEAR) != 0;
}

// No read time-outs: a read ends when it has its bytes. Reads of what is queued end at once,
// and the one-byte wait for data pends until a byte comes (a wait Wine does without polling).
bool CCommDevice::PrepareReads() {
    COMMTIMEOUTS t{};
    if (!GetCommTimeouts(m_impl->handle, &t)) return false;
    t.ReadIntervalTimeout = 0;
    t.ReadTotalTimeoutMultiplier = 0;
    t.ReadTotalTimeoutConstant = 0;
    t.WriteTotalTimeoutMultiplier = 0;
    t.WriteTotalTimeoutConstant = 0;
    return SetCommTimeouts(m_impl->handle, &t) != 0;
}

bool CCommDevice::GetLine(LineSettings& line) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(m_impl->handle, &dcb)) return false;
    m_impl->dcb = dcb;
    line.baudRate = static_cast<int32_t>(dcb.BaudRate);
    line.byteSize = dcb.ByteSize;
    line.parity = dcb.Parity;
    line.dtrControl = dcb.fDtrControl;
    line.rtsControl = dcb.fRtsControl;
    return true;
}

bool CCommDevice::SetLine(const LineSettings& line) {
    DCB dcb = m_impl->dcb;
    dcb.BaudRate = static_cast<DWORD>(line.baudRate);
    dcb.ByteSize = static_cast<BYTE>(line.byteSize);
    dcb.Parity = static_cast<BYTE>(line.parity);
    dcb.fDtrControl = static_cast<DWORD>(line.dtrControl) & 3;
    dcb.fRtsControl = static_cast<DWORD>(line.rtsControl) & 3;
    if (!SetCommState(m_impl->handle, &dcb)) return false;
    m_impl->dcb = dcb;
    return true;
}

bool CCommDevice::ClearError(unsigned& errors, int& inQueue) {
    DWORD flags = 0;
    m_impl->status = COMSTAT{};
    const bool ok = ClearCommError(m_impl->handle, &flags, &m_impl->status) != 0;
    errors = (ok ? flags : 0) | m_impl->heldErrors;
    m_impl->heldErrors = 0;
    inQueue = ok ? static_cast<int>(m_impl->status.cbInQue) : 0;
    return ok;
}

bool CCommDevice::Escape(EscapeCode code) {
    return EscapeCommFunction(m_impl->handle, static_cast<DWORD>(code)) != 0;
}

bool CCommDevice::ClearBreak() {
    return ClearCommBreak(m_impl->handle) != 0;
}

bool CCommDevice::ModemStatus(unsigned& status) {
    DWORD bits = 0;
    status = 0;
    if (!GetCommModemStatus(m_impl->handle, &bits)) return false;
    status = bits;
    return true;
}

InputResult CCommDevice::WaitInput(char* buffer, int size, int ms, int& got, unsigned& events) {
    got = 0;
    events = 0;
    if (m_impl->Cancelled()) return InputResult::Cancelled;
    if (!m_impl->wait.pending) {
        const int queued = m_impl->Queued();
        if (queued < 0) return InputResult::Failed;
        events = m_impl->HeldEvents();
        if (events) return InputResult::Event;
        if (queued > 0) return m_impl->Drain(buffer, size, queued, got);
        if (!m_impl->overlapped) return m_impl->AwaitQueue(buffer, size, ms, got);
        const InputResult started = m_impl->StartWait(buffer, size, got);
        if (started != InputResult::Timeout) return started;
    }
    HANDLE ends[2] = {m_impl->wait.ov.hEvent, m_impl->cancel};
    switch (WaitForMultipleObjects(2, ends, FALSE, static_cast<DWORD>(ms))) {
    case WAIT_OBJECT_0: return m_impl->EndWait(buffer, size, got);
    case WAIT_OBJECT_0 + 1: return InputResult::Cancelled;
    case WAIT_TIMEOUT: return InputResult::Timeout; // the wait stays for the next call
    default: return InputResult::Failed;
    }
}

// Issues the one-byte read; Timeout while it pends.
InputResult CCommDevice::Impl::StartWait(char* buffer, int size, int& got) {
    wait.Restart();
    if (ReadFile(handle, &waitByte, 1, &wait.count, &wait.ov)) return EndWait(buffer, size, got);
    if (GetLastError() != ERROR_IO_PENDING) return InputResult::Failed;
    wait.pending = true;
    return InputResult::Timeout;
}

// The byte that ended the wait comes first, then whatever the driver holds by now. A wait
// ended by a purge is an empty one.
InputResult CCommDevice::Impl::EndWait(char* buffer, int size, int& got) {
    wait.pending = false;
    if (!GetOverlappedResult(handle, &wait.ov, &wait.count, FALSE))
        return GetLastError() == ERROR_OPERATION_ABORTED ? InputResult::Timeout
                                                         : InputResult::Failed;
    if (wait.count != 1) return InputResult::Timeout;
    buffer[0] = waitByte;
    int more = 0;
    const int queued = Queued();
    if (queued > 0 && Drain(buffer + 1, size - 1, queued, more) != InputResult::Data) more = 0;
    got = 1 + more;
    return InputResult::Data;
}

// Reads exactly what is queued (or what fits), which ends at once.
InputResult CCommDevice::Impl::Drain(char* buffer, int size, int queued, int& got) {
    if (queued <= 0 || size <= 0) return InputResult::Timeout;
    const DWORD want = static_cast<DWORD>(queued < size ? queued : size);
    drain.Restart();
    if (!ReadFile(handle, buffer, want, &drain.count, &drain.ov)) {
        if (GetLastError() != ERROR_IO_PENDING) return InputResult::Failed;
        drain.pending = true;
        if (!drain.Settle(handle, kDrainWaitMs)) {
            CancelIoEx(handle, &drain.ov);
            drain.Settle(handle, INFINITE);
        }
    }
    got = static_cast<int>(drain.count);
    return got > 0 ? InputResult::Data : InputResult::Timeout;
}

// A device opened without overlapped I/O cannot have a read pending beside a write: its
// queue is looked at every few milliseconds instead.
InputResult CCommDevice::Impl::AwaitQueue(char* buffer, int size, int ms, int& got) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ms);
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return InputResult::Timeout;
        const DWORD step = static_cast<DWORD>(end - now < kQueueLookMs ? end - now : kQueueLookMs);
        if (WaitForSingleObject(cancel, step) == WAIT_OBJECT_0) return InputResult::Cancelled;
        const int queued = Queued();
        if (queued < 0) return InputResult::Failed;
        if (queued > 0) return Drain(buffer, size, queued, got);
    }
}

void CCommDevice::CancelWait() {
    m_impl->cancelled = true;
    SetEvent(m_impl->cancel);
}

void CCommDevice::Pause(int ms) {
    WaitForSingleObject(m_impl->cancel, static_cast<DWORD>(ms));
}

bool CCommDevice::Gone() {
    DCB scratch{};
    scratch.DCBlength = sizeof scratch;
    if (GetCommState(m_impl->handle, &scratch)) return false;
    return DeviceMissing(GetLastError());
}

namespace {

// The end of a write that the driver could not finish at once. One that times out is
// cancelled, since its bytes belong to the caller.
IoResult Finish(HANDLE device, Overlapped& slot, bool overlapped, DWORD waitMs, int& done) {
    slot.pending = true;
    if (overlapped && WaitForSingleObject(slot.ov.hEvent, waitMs) != WAIT_OBJECT_0) {
        CancelIoEx(device, &slot.ov);
        GetOverlappedResult(device, &slot.ov, &slot.count, TRUE);
        slot.pending = false;
        return IoResult::Timeout;
    }
    slot.pending = false;
    if (!GetOverlappedResult(device, &slot.ov, &slot.count, TRUE))
        return GetLastError() == ERROR_IO_INCOMPLETE ? IoResult::Incomplete
                                                     : IoResult::FailedPending;
    done = static_cast<int>(slot.count);
    return IoResult::DonePending;
}

} // namespace

IoResult CCommDevice::Write(const char* data, int size, int& written) {
    written = 0;
    Overlapped& slot = m_impl->write;
    slot.Restart();
    if (WriteFile(m_impl->handle, data, static_cast<DWORD>(size), &slot.count,
                  m_impl->overlapped ? &slot.ov : nullptr)) {
        written = static_cast<int>(slot.count);
        return IoResult::Done;
    }
    if (GetLastError() != ERROR_IO_PENDING) return IoResult::Failed;
    return Finish(m_impl->handle, slot, m_impl->overlapped, kWriteWaitMs, written);
}
