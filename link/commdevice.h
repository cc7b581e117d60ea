// The platform calls under CComm: one open serial device and its Win32-shaped operations.
// CComm keeps every decision (result codes, the activity heuristic, counters, error
// translation); a backend only makes the calls. Flags use the Win32 values everywhere.
#pragma once

#include <cstdint>

namespace comm {

// Comm events (EV_*).
enum : unsigned { kEvRxChar = 0x0001, kEvRxFlag = 0x0002, kEvBreak = 0x0040, kEvErr = 0x0080 };
// Line-error flags (CE_*).
enum : unsigned {
    kCeRxOver = 0x0001,
    kCeOverrun = 0x0002,
    kCeRxParity = 0x0004,
    kCeFrame = 0x0008,
    kCeBreak = 0x0010,
    kCeTxFull = 0x0100,
    kCePto = 0x0200,
    kCeIoe = 0x0400,
    kCeDns = 0x0800,
    kCeOop = 0x1000,
    kCeMode = 0x8000,
};
// Modem status (MS_*).
enum : unsigned { kMsCtsOn = 0x10, kMsDsrOn = 0x20, kMsRingOn = 0x40, kMsRlsdOn = 0x80 };
// EscapeCommFunction codes.
enum EscapeCode {
    kSetRts = 3,
    kClrRts = 4,
    kSetDtr = 5,
    kClrDtr = 6,
    kSetBreak = 8,
    kClrBreak = 9
};
// fDtrControl / fRtsControl values.
enum : int32_t { kControlDisable = 0, kControlEnable = 1, kControlHandshake = 2 };

// The DCB fields the program changes; every other field stays as the driver reported it.
struct LineSettings {
    int32_t baudRate;
    int32_t byteSize;
    int32_t parity;
    int32_t dtrControl;
    int32_t rtsControl;
};

enum class WaitResult { Event, Timeout, Abandoned, Failed };

// How a read or write ended. "Pending" variants mean the request had to be waited for.
enum class IoResult { Done, DonePending, Timeout, Incomplete, Failed, FailedPending };

// Time a write may take before it counts as failed.
const int kWriteWaitMs = 2500;
// Time a pending read may take.
const int kReadWaitMs = 2500;

} // namespace comm

#if defined(_WIN32)
using CommHandle = void*;
#else
using CommHandle = int;
#endif

// Put before the port name to make the device path ("\\.\" on Win32; names are taken as
// given elsewhere).
extern const char kCommDevicePrefix[];

class CCommDevice {
public:
    CCommDevice();
    ~CCommDevice();
    CCommDevice(const CCommDevice&) = delete;
    CCommDevice& operator=(const CCommDevice&) = delete;

    // Opens the device named by path exclusively; false when it cannot be had.
    bool Open(const char* path, bool overlapped);
    void Close();
    bool IsOpen() const;
    CommHandle Handle() const;

    bool SetMask(unsigned events);
    bool SetQueues(int input, int output);
    bool Purge();
    // Every read returns at once with what the driver holds; writes are bounded by us.
    bool SetImmediateReads();
    bool GetLine(comm::LineSettings& line);
    bool SetLine(const comm::LineSettings& line);
    bool ClearError(unsigned& errors, int& inQueue);
    bool Escape(comm::EscapeCode code);
    bool ClearBreak();
    bool ModemStatus(unsigned& status);

    // Waits for an event of the mask for at most ms; events gets what happened.
    comm::WaitResult WaitEvent(int ms, unsigned& events);
    // True when the device is known to have disappeared (a pulled USB adapter).
    bool Gone();
    // Reads what the driver holds, at most size bytes.
    comm::IoResult Read(char* buffer, int size, int& got);
    comm::IoResult Write(const char* data, int size, int& written);

private:
    struct Impl;
    Impl* m_impl;
};
