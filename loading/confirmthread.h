// The upload's confirmation thread: after each line the write thread sends, waits for the
// module's ACK and lets the write thread go on; ends the dialog as soon as every line sent
// was confirmed.
#pragma once

#include <cstdint>

#include "mythread.h"

class CAutoEvent;
class CComm;
class CUploadState;
class ILoadingNotify;

// Context words as for CWriteThread.
class CConfirmThread : public CMyThread {
public:
    enum : int32_t {
        kExitStopped = 0,
        kExitConfirmed = 10,
        kExitDeviceLost = -2,
        kExitAbandoned = -1000,
        kExitNoContext = -2000,
        kExitNoDialog = -3000,
    };
    static constexpr char kAck = 0x06;
    static constexpr uint32_t kWriteWaitMs = 1000;
    // The no-confirmation text appears after this long without a line going out.
    static constexpr unsigned kFirstLineTimerMs = 6000;
    static constexpr unsigned kNextLineTimerMs = 5000;
    // The longest wait for data between two looks at the stop flag.
    static constexpr int32_t kAckReadMs = 250;

    // state: null for the process's own.
    explicit CConfirmThread(CUploadState* state = nullptr);

    static int32_t TARLIN_THREAD_CALL ThreadFunction(MyThreadContext* context);

private:
    int32_t Run(CComm& port, CAutoEvent& written, CAutoEvent& confirmed);
    // 1 when an ACK came, else the exit code.
    int32_t AwaitAck(CComm& port, CAutoEvent& written);
    bool AllConfirmed(int32_t confirmations) const;
    int32_t Lost(ILoadingNotify& dialog, unsigned timer, CAutoEvent& confirmed);
    int32_t Stopped() const;

    CUploadState* m_state;
};
