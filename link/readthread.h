// The read thread: reads the port for the whole life of the main window and hands every
// received byte on; parks on request while another thread reads the port.
#pragma once

#include <atomic>
#include <cstdint>

#include "autoevent.h"
#include "mythread.h"

class CComm;

// Takes the received bytes (the received-data interpreter with its terminal buffer).
class IReadConsumer {
public:
    virtual ~IReadConsumer() = default;
    virtual void Consume(unsigned char byte) = 0;
    // Takes the first bytes of a run (at least one) and says how many it took; the thread
    // checks for a stop between runs. One byte at a time unless a consumer can do better.
    virtual int32_t ConsumeRun(const char* bytes, int32_t count) {
        (void)count;
        Consume(static_cast<unsigned char>(bytes[0]));
        return 1;
    }
    // The cursor row of the terminal buffer, shown after each chunk.
    virtual int GetRow() = 0;
};

// What the read thread tells the main window; called on the read thread, which must never
// wait for the window (the window may be waiting for it to park).
class IReadNotify {
public:
    virtual ~IReadNotify() = default;
    // The port has disappeared: disconnect.
    virtual void PortGone() = 0;
    // Show the cursor row when automatic scrolling is on.
    virtual void FollowCursor(int row) = 0;
};

// The suspend/resume/stop handshake between the main window and the read thread.
class CReadThreadControl {
public:
    // named: the process's own control, whose events carry the program's names on Win32.
    // acknowledgeWaitMs: how long RequestSuspend waits for the thread to park.
    explicit CReadThreadControl(bool named = false,
                                uint32_t acknowledgeWaitMs = kAcknowledgeWaitMs);

    // Controller side (the main window thread).
    int RequestSuspend();
    int RequestResume();
    void RequestStop();

    // Read-thread side.
    bool SuspendRequested() const { return m_suspendRequested.load() != 0; }
    bool StopRequested() const { return m_stopRequested.load() != 0; }
    // Acknowledges the suspension and waits for release; false when the wait was abandoned.
    bool Park();
    // Waits up to ms for a release or a stop; false when the wait was abandoned.
    bool Rest(uint32_t ms);

    // The control of this process, made during static initialisation.
    static CReadThreadControl& Process();

    static constexpr uint32_t kAcknowledgeWaitMs = 2000;

private:
    uint32_t m_acknowledgeWaitMs;
    CAutoEvent m_suspendEvent;
    CAutoEvent m_stopEvent;
    std::atomic<int32_t> m_suspendRequested;
    std::atomic<int32_t> m_stopRequested;
    // Numbers the suspend requests so that an acknowledgement is matched to its own.
    std::atomic<uint32_t> m_request;
    std::atomic<uint32_t> m_acknowledged;
    // The request the last release answered.
    std::atomic<uint32_t> m_released;

    bool ReleasedFrom(uint32_t request) const;
};

// Context words: the port (CComm), the consumer (IReadConsumer), the application data
// and the notification sink (IReadNotify, may be null).
class CReadThread : public CMyThread {
public:
    enum : int32_t { kExitStopped = 1, kExitNoContext = -10, kExitAbandoned = -1000 };
    static constexpr int32_t kReadWaitMs = 400;
    static constexpr uint32_t kGonePauseMs = 100;

    // control: null for the process's own.
    explicit CReadThread(CReadThreadControl* control = nullptr);
    // Stops a running thread and waits for it.
    ~CReadThread() override;

    int RequestSuspend() { return m_control->RequestSuspend(); }
    int RequestResume() { return m_control->RequestResume(); }
    void RequestStop() { m_control->RequestStop(); }
    CReadThreadControl& Control() { return *m_control; }

    static int32_t TARLIN_THREAD_CALL ThreadFunction(MyThreadContext* context);

private:
    int32_t Run(CComm& port, IReadConsumer& consumer, IReadNotify* notify);
    // What to do when a read brought no data; an exit code, or 0 to read on.
    int32_t NoData(int32_t count, IReadNotify* notify);

    CReadThreadControl* m_control;
};
