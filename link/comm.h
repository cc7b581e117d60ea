// The program's one serial port: open by name, line parameters, bounded writes,
// event-driven reads, modem lines and line errors, all reported as integer codes.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "commdevice.h"
#include "myobject.h"

class CComm : public CMyObject {
public:
    // Result codes.
    enum : int32_t {
        kOk = 1,
        kNoName = -1,
        kCannotOpen = -2,
        kNoState = -3,
        kNotOpen = -4,
        kRefused = -5,
        kWriteShort = -6,
        kWriteTimeout = -7,
        kWriteCount = -8,
    };
    // A Read count besides the number of bytes and the line errors: the wait was abandoned,
    // the device has disappeared, another thread is reading, the port is not open (or is
    // being closed).
    enum : int32_t { kReadAbandoned = -1, kReadGone = -2, kReadBusy = -3, kReadNotOpen = -4 };
    // Line errors from ClearErrors (and a Read count), one code per single error flag.
    enum : int32_t {
        kLineBreak = -11,
        kLineDeviceNotSelected = -12,
        kLineFraming = -13,
        kLineIo = -14,
        kLineMode = -15,
        kLineOutOfPaper = -16,
        kLineOverrun = -17,
        kLineDeviceTimeout = -18,
        kLineInputOverflow = -19,
        kLineParity = -20,
        kLineOutputFull = -21,
    };
    static bool IsLineError(int32_t code) { return code <= kLineBreak && code >= kLineOutputFull; }
    // Receive buffer: 4096 data bytes and a terminating NUL.
    static constexpr int kReceiveSize = 4096;
    // The longest port name the device path takes.
    static constexpr int kMaxPortName = 27;

    CComm();
    ~CComm() override;
    CComm(const CComm&) = delete;
    CComm& operator=(const CComm&) = delete;

    int32_t Open(const char* portName, int32_t overlapped);
    int32_t Reopen(int32_t overlapped);
    void Close();
    int32_t IsOpen() const;
    CommHandle GetHandle() const;
    const char* GetPortName() const { return m_portName; }

    int32_t GetBaudRate() const;
    int32_t GetByteSize() const;
    int32_t GetParity() const;
    int32_t SetBaudRate(int32_t baudRate);
    int32_t SetByteSize(int32_t byteSize);
    int32_t SetParity(int32_t parity);
    int32_t SetParameters(int32_t baudRate, int32_t byteSize, int32_t parity);

    int32_t WriteChar(char c);
    int32_t WriteString(const char* text);
    int32_t WriteBuffer(const char* data, int32_t count);

    // Whatever has arrived, waiting up to waitMs for it (about 1 ms when direct is set);
    // null with the count 0 or a negative code when there is none. One thread reads at a
    // time: a second one gets kReadBusy at once. The buffer stays valid until the next Read.
    char* Read(int32_t* count, int32_t waitMs, int32_t direct);

    int32_t ClearErrors();
    void Purge();
    // Drops what has been received and not read yet.
    void DiscardInput();
    // 1 when the port is open but its device has disappeared (a USB adapter pulled out).
    int32_t IsDeviceGone();

    int32_t SetRts();
    int32_t ClearRts();
    int32_t SetDtr();
    int32_t ClearDtr();
    int32_t SetBreak();
    int32_t ClearBreak();
    int32_t DisableLineControl();
    // Each flag 0 or 1; a null pointer is skipped.
    int32_t GetModemStatus(int32_t* cts, int32_t* rlsd, int32_t* dsr);

    // Byte counters for the status bar: CComm only adds to them.
    uint32_t GetBytesSent() const { return m_bytesSent.load(std::memory_order_relaxed); }
    uint32_t GetBytesReceived() const { return m_bytesReceived.load(std::memory_order_relaxed); }
    void ResetCounters();
    void ResetBytesSent() { m_bytesSent.store(0, std::memory_order_relaxed); }
    void ResetBytesReceived() { m_bytesReceived.store(0, std::memory_order_relaxed); }

private:
    bool Ready() const;
    int32_t ApplyLine(const comm::LineSettings& line, bool restore);
    int32_t Write(const char* data, int32_t count);
    int32_t Escape(comm::EscapeCode code);
    char* Received(int32_t* count, int got);
    char* LineEvent(int32_t* count, unsigned events);
    char* Failed(int32_t* count, int32_t waitMs);

    CCommDevice m_device;
    char m_portName[256];
    comm::LineSettings m_line;
    // Cleared first when the port closes, so that a reader woken by the close does not take
    // it for a lost device.
    std::atomic<int32_t> m_configValid;
    int32_t m_overlapped;
    // Held by the one reader; Close waits for it after waking the reader.
    std::mutex m_readLock;
    char m_receive[kReceiveSize + 1];
    std::atomic<uint32_t> m_bytesReceived;
    std::atomic<uint32_t> m_bytesSent;
};
