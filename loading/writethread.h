// The upload's write thread: sends the module file line by line, each only after the
// previous one was confirmed.
#pragma once

#include <cstdint>

#include "mythread.h"

class CAutoEvent;
class CComm;
class CMyFile;
class CUploadState;

// Context words: the port (CComm), the file (CMyFile), the write event and the confirmation
// event (CAutoEvent); the dialog comes from the shared upload state.
class CWriteThread : public CMyThread {
public:
    enum : int32_t {
        kExitDone = 0,
        kExitDeviceLost = -2,
        kExitWriteFailed = -100,
        kExitAbandoned = -1000,
        kExitNoContext = -2000,
        kExitNoDialog = -3000,
    };
    // Shorter lines (blank ones, stray line ends) are not sent.
    static constexpr int kMinLineLength = 3;
    // The progress bar moves every this many lines.
    static constexpr int kProgressStep = 20;
    static constexpr uint32_t kConfirmWaitStepMs = 1000;

    // state: null for the process's own.
    explicit CWriteThread(CUploadState* state = nullptr);

    static int32_t TARLIN_THREAD_CALL ThreadFunction(MyThreadContext* context);

private:
    int32_t Run(CComm& port, CMyFile& file, CAutoEvent& written, CAutoEvent& confirmed);
    // 1 when the line was confirmed, else the exit code.
    int32_t AwaitConfirmation(CAutoEvent& confirmed);
    int32_t WriteFailed(CComm& port, CAutoEvent& written);
    int32_t Stopped() const;

    CUploadState* m_state;
};
