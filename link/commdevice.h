// The platform calls under CComm: one open serial device and its Win32-shaped operations.
// CComm keeps every decision (result codes, the activity heuristic, counters, error
// translation); a backend only makes the calls. Flags use the Win32 values everywhere.
#pragma once

#include <cstdint>
#include <memory>

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

// How a wait for received bytes ended: bytes were taken, a break or line error came instead,
// nothing came in time, the device failed (ask Gone), or CancelWait was called.
enum class InputResult { Data, Event, Timeout, Failed, Cancelled };

// How a write ended. "Pending" variants mean the request had to be waited for.
enum class IoResult { Done, DonePending, Timeout, Incomplete, Failed, FailedPending };

// Time a write may take before it counts as failed.
const int kWriteWaitMs = 2500;
// Time a read of bytes already queued may take.
const int kDrainWaitMs = 2500;

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
    // Drops received bytes not yet read.
    bool DiscardInput();
    // Reads take what the driver holds, and a wait for data costs nothing while the line is
    // silent; writes are bounded by us.
    bool PrepareReads();
    bool GetLine(comm::LineSettings& line);
    bool SetLine(const comm::LineSettings& line);
    bool ClearError(unsigned& errors, int& inQueue);
    bool Escape(comm::EscapeCode code);
    bool ClearBreak();
    bool ModemStatus(unsigned& status);

    // Waits up to ms for received bytes, or a break or line error of the mask, and takes what
    // came: Data with got > 0 bytes in buffer, or Event with events and nothing read.
    comm::InputResult WaitInput(char* buffer, int size, int ms, int& got, unsigned& events);
    // Ends a WaitInput of another thread, and every later one, with Cancelled until the
    // device is closed.
    void CancelWait();
    // Waits up to ms unless CancelWait is called: a device that failed is not asked again at
    // once.
    void Pause(int ms);
    // True when the device is known to have disappeared (a pulled USB adapter).
    bool Gone();
    comm::IoResult Write(const char* data, int size, int& written);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
