#include "writethread.h"

#include <cstring>

#include "autoevent.h"
#include "comm.h"
#include "loadingnotify.h"
#include "myfile.h"
#include "uploadstate.h"

CWriteThread::CWriteThread(CUploadState* state)
    : CMyThread(&CWriteThread::ThreadFunction), m_state(state ? state : &CUploadState::Process()) {}

int32_t TARLIN_THREAD_CALL CWriteThread::ThreadFunction(MyThreadContext* context) {
    if (!context || !context->thread) return kExitNoContext;
    auto* port = static_cast<CComm*>(context->word[0]);
    auto* file = static_cast<CMyFile*>(context->word[1]);
    auto* written = static_cast<CAutoEvent*>(context->word[2]);
    auto* confirmed = static_cast<CAutoEvent*>(context->word[3]);
    if (!port || !file || !written || !confirmed) return kExitNoContext;
    return static_cast<CWriteThread*>(context->thread)->Run(*port, *file, *written, *confirmed);
}

int32_t CWriteThread::Run(CComm& port, CMyFile& file, CAutoEvent& written, CAutoEvent& confirmed) {
    const int lines = file.CountLines(true);
    bool available = file.GetStream() && file.Rewind() && file.ReadLine();
    ILoadingNotify* dialog = m_state->Dialog();
    if (!dialog || !dialog->SetProgressRange(lines - 1)) return kExitNoDialog;
    dialog->SetProgressPosition(1, false);
    int position = 1;
    int32_t sent = 0;
    while (available) {
        if (m_state->WriteStopped()) return kExitDone;
        const char* line = file.GetLine();
        if (std::strlen(line) < static_cast<size_t>(kMinLineLength)) {
            available = file.ReadLine() != 0;
            continue;
        }
        if (position % kProgressStep == 0) dialog->SetProgressPosition(position + 1, true);
        ++position;
        if (port.WriteString(line) != CComm::kOk) return kExitWriteFailed;
        ++sent;
        written.Set();
        const int32_t wait = AwaitConfirmation(confirmed);
        if (wait != 1) return wait;
        available = file.GetStream() && file.IsLineValid() && file.ReadLine();
    }
    dialog->AllLinesSent(sent);
    return kExitDone;
}

int32_t CWriteThread::AwaitConfirmation(CAutoEvent& confirmed) {
    for (;;) {
        const CAutoEvent::WaitResult result = confirmed.Wait(kConfirmWaitStepMs);
        if (result == CAutoEvent::kSignalled) return 1;
        if (m_state->WriteStopped()) return kExitDone;
        if (result == CAutoEvent::kAbandoned) return kExitAbandoned;
    }
}
