// What the progress dialog owns for one upload: the two ordering events and the two
// threads. The events exist from construction; Start runs the threads.
#pragma once

#include <cstdint>

#include "autoevent.h"
#include "confirmthread.h"
#include "writethread.h"

class CComm;
class CMyFile;
class CUploadState;
class ILoadingNotify;

class CUploadThreads {
public:
    static constexpr int kEventNameSize = 128;

    // state: null for the process's own.
    explicit CUploadThreads(CUploadState* state = nullptr);
    // Cancels threads that still run and waits for them: they use the events and the
    // dialog, which go with this object.
    ~CUploadThreads();
    CUploadThreads(const CUploadThreads&) = delete;
    CUploadThreads& operator=(const CUploadThreads&) = delete;

    bool IsValid() const { return m_written.IsValid() && m_confirmed.IsValid(); }
    // The dialog's initialisation: the confirmation thread first, then the write thread,
    // both below normal priority. 1 when both run.
    int Start(CComm* port, CMyFile* file, ILoadingNotify* dialog);
    // Stops both threads and wakes them, so that they end at once.
    void Cancel();
    // Waits up to ms for both threads to end; 1 when they have.
    int Wait(uint32_t ms);
    // Cancels the threads if they still run and waits for them: call it before the read
    // thread is resumed or the port purged, so that only one thread reads at a time.
    void Stop();

    CUploadState& State() { return *m_state; }
    CWriteThread& Writer() { return m_writer; }
    CConfirmThread& Confirmer() { return m_confirmer; }

private:
    struct EventName {
        char text[kEventNameSize];
        explicit EventName(const char* base);
    };

    CUploadState* m_state;
    CAutoEvent m_written;
    CAutoEvent m_confirmed;
    CWriteThread m_writer;
    CConfirmThread m_confirmer;
};
