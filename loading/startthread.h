// The identification thread: listens while the module is switched off and on, recognises it
// from its banner and brings it to the ">" prompt.
#pragma once

#include <cstdint>

#include "identify.h"
#include "mythread.h"

class CComm;
class CVersionTable;
class ILoadingNotify;
class IVersionList;

// Context words: the port (CComm), the [VER] list of version.ini (IVersionList), the
// power-cycle dialog (ILoadingNotify).
class CStartThread : public CMyThread {
public:
    enum : int32_t {
        kExitPortClosed = 0,
        kExitDeviceLost = -2,
        kExitNoContext = -10,
        kExitAborted = -110
    };
    // Error codes reported to the dialog.
    enum : int { kReportNoVersion = -9, kReportIncomplete = -8 };
    static constexpr int32_t kReadWaitMs = 500;
    // Silence after which a partial banner is thrown away: four reads' worth.
    static constexpr int32_t kIdleResetMs = 4 * kReadWaitMs;
    static constexpr int32_t kPromptWaitMs = 2500;
    static const char kPromptTimeoutText[];

    // state: null for the process's own.
    explicit CStartThread(CIdentifyState* state = nullptr);
    // Aborts a running thread and waits for it, so it never outlives its object.
    ~CStartThread() override;

    CIdentifyState& State() { return *m_state; }

    static int32_t TARLIN_THREAD_CALL ThreadFunction(MyThreadContext* context);

private:
    // How a pass of the listening loop ended: go on, or end the thread with a code.
    struct Outcome {
        bool end;
        int32_t code;
    };

    int32_t Run(CComm& port, const CVersionTable& versions, ILoadingNotify& dialog);
    // Takes a chunk with data; a result to end the thread with, or 0 to go on listening.
    int32_t Evaluate(CComm& port, const CVersionTable& versions, ILoadingNotify& dialog,
                     int32_t& previous);
    // A read without data: a lost device or an abandoned wait ends the thread.
    Outcome NoData(int32_t count, ILoadingNotify& dialog);
    // 1 when ">" came in time, 0 after the time-out, -110 when aborted, -2 when the device
    // went.
    int32_t WaitForPrompt(CComm& port);
    int32_t Lost(ILoadingNotify& dialog);

    CIdentifyState* m_state;
};
