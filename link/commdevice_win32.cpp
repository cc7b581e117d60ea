// The serial device on Win32: overlapped I/O with one event per direction and one for
// WaitCommEvent, time-outs that make every ReadFile return at once.
#include "commdevice.h"

#include <windows.h>

#include <initializer_list>

#include "codepage.h"

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
    void Restart() {
        ResetEvent(ov.hEvent);
        ov.Offset = 0;
        ov.OffsetHigh = 0;
    }
};

// How long a closed port's requests get to end.
const DWORD kCloseWaitMs = 1000;

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
    // Line errors collected while looking at the input queue, reported by ClearError.
    DWORD heldErrors = 0;
    DWORD eventMask = 0; // written by the driver when a WaitCommEvent ends
    Overlapped write, read, wait;

    // True when the driver holds no received bytes.
    bool InputEmpty() {
        DWORD errors = 0;
        COMSTAT queue{};
        if (!ClearCommError(handle, &errors, &queue)) return false;
        heldErrors |= errors;
        return queue.cbInQue == 0;
    }
};

CCommDevice::CCommDevice() : m_impl(new Impl) {}

CCommDevice::~CCommDevice() {
    Close();
    delete m_impl;
}

bool CCommDevice::Open(const char* path, bool overlapped) {
    Close();
    wchar_t widePath[64];
    OskelCp1250ToWide(path, reinterpret_cast<unsigned short*>(widePath), 64);
    HANDLE h = CreateFileW(widePath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           overlapped ? FILE_FLAG_OVERLAPPED : 0, nullptr);
    if (!Valid(h)) return false;
    m_impl->handle = h;
    m_impl->overlapped = overlapped;
    if (!m_impl->write.Create() || !m_impl->read.Create() || !m_impl->wait.Create()) {
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
        for (Overlapped* slot : {&m_impl->write, &m_impl->read, &m_impl->wait})
            if (slot->pending) WaitForSingleObject(slot->ov.hEvent, kCloseWaitMs);
    }
    m_impl->heldErrors = 0;
    m_impl->handle = nullptr;
    m_impl->write.Release();
    m_impl->read.Release();
    m_impl->wait.Release();
}

bool CCommDevice::IsOpen() const {
    return Valid(m_impl->handle);
}

CommHandle CCommDevice::Handle() const {
    return m_impl->handle;
}

bool CCommDevice::SetMask(unsigned events) {
    return SetCommMask(m_impl->handle, events) != 0;
}

bool CCommDevice::SetQueues(int input, int output) {
    return SetupComm(m_impl->handle, static_cast<DWORD>(input), static_cast<DWORD>(output)) != 0;
}

bool CCommDevice::Purge() {
    return PurgeComm(m_impl->handle,
                     PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR) != 0;
}

bool CCommDevice::SetImmediateReads() {
    COMMTIMEOUTS t{};
    if (!GetCommTimeouts(m_impl->handle, &t)) return false;
    t.ReadIntervalTimeout = MAXDWORD;
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

WaitResult CCommDevice::WaitEvent(int ms, unsigned& events) {
    events = 0;
    Overlapped& slot = m_impl->wait;
    // A wait left pending by a time-out has been ended by the new mask; let it finish.
    if (!slot.Settle(m_impl->handle, 100)) return WaitResult::Failed;
    slot.Restart();
    m_impl->eventMask = 0;
    if (WaitCommEvent(m_impl->handle, &m_impl->eventMask, &slot.ov)) {
        events = m_impl->eventMask;
        return WaitResult::Event;
    }
    if (GetLastError() != ERROR_IO_PENDING) return WaitResult::Failed;
    slot.pending = true;
    switch (WaitForSingleObject(slot.ov.hEvent, static_cast<DWORD>(ms))) {
    case WAIT_ABANDONED: return WaitResult::Abandoned;
    case WAIT_TIMEOUT: return WaitResult::Timeout;
    default:
        slot.pending = false;
        events = m_impl->eventMask;
        return WaitResult::Event;
    }
}

bool CCommDevice::Gone() {
    DCB scratch{};
    scratch.DCBlength = sizeof scratch;
    if (GetCommState(m_impl->handle, &scratch)) return false;
    return DeviceMissing(GetLastError());
}

namespace {

// The common end of a request that the driver could not finish at once. A write that
// times out is cancelled, since its bytes belong to the caller; a read stays pending in
// the port's own buffer and is collected by the next read.
IoResult Finish(HANDLE device, Overlapped& slot, bool overlapped, DWORD waitMs, bool cancel,
                int& done) {
    slot.pending = true;
    if (overlapped && WaitForSingleObject(slot.ov.hEvent, waitMs) != WAIT_OBJECT_0) {
        if (!cancel) return IoResult::Timeout;
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

IoResult CCommDevice::Read(char* buffer, int size, int& got) {
    got = 0;
    Overlapped& slot = m_impl->read;
    if (slot.pending) {
        // An earlier read still owns the buffer: its bytes are this read's.
        if (!slot.Settle(m_impl->handle, kReadWaitMs)) return IoResult::Timeout;
        got = static_cast<int>(slot.count);
        return IoResult::DonePending;
    }
    // Some drivers (Wine's among them) let a read with nothing queued pend despite the
    // time-outs; an empty queue is an empty read.
    if (m_impl->InputEmpty()) return IoResult::Done;
    slot.Restart();
    if (ReadFile(m_impl->handle, buffer, static_cast<DWORD>(size), &slot.count, &slot.ov)) {
        got = static_cast<int>(slot.count);
        return IoResult::Done;
    }
    if (GetLastError() != ERROR_IO_PENDING) return IoResult::Failed;
    return Finish(m_impl->handle, slot, m_impl->overlapped, kReadWaitMs, false, got);
}

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
    return Finish(m_impl->handle, slot, m_impl->overlapped, kWriteWaitMs, true, written);
}
