#include "writethread.h"

#include "autoevent.h"
#include "comm.h"
#include "loadingnotify.h"
#include "myfile.h"
#include "uploadstate.h"

CWriteThread::CWriteThread(CUploadState* state)
    : CMyThread(&CWriteThread::ThreadFunction), m_state(state ? state : &CUploadState::Process()) {}

int32_t TARLIN_THREAD_CALL CWriteThread::ThreadFunction(MyThreadContext* context) {
    CWriteThread* thread = nullptr;
    CComm* port = nullptr;
    CMyFile* file = nullptr;
    CAutoEvent* written = nullptr;
    CAutoEvent* confirmed = nullptr;
    if (!UnpackContext(context, thread, port, file, written, confirmed) || !port || !file ||
        !written || !confirmed)
        return kExitNoContext;
    return thread->Run(*port, *file, *written, *confirmed);
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
        if (m_state->WriteStopped()) return Stopped();
        if (file.GetLineLength() < kMinLineLength) {
            available = file.ReadLine() != 0;
            continue;
        }
        if (position % kProgressStep == 0) dialog->SetProgressPosition(position + 1, true);
        ++position;
        // Whatever came before this line (a late second ACK) is not its confirmation.
        port.DiscardInput();
        if (port.WriteBuffer(file.GetLine(), file.GetLineLength()) != CComm::kOk)
            return WriteFailed(port, written);
        ++sent;
        m_state->LineWritten();
        written.Set();
        const int32_t wait = AwaitConfirmation(confirmed);
        if (wait != 1) return wait;
        available = file.GetStream() && file.IsLineValid() && file.ReadLine();
    }
    dialog->AllLinesSent(sent);
    // The confirmation thread need not wait out its step to see the count.
    written.Set();
    return kExitDone;
}

// A wake may be a cancel or a lost device as well as the confirmation.
int32_t CWriteThread::AwaitConfirmation(CAutoEvent& confirmed) {
    for (;;) {
        const CAutoEvent::WaitResult result = confirmed.Wait(kConfirmWaitStepMs);
        if (m_state->WriteStopped()) return Stopped();
        if (result == CAutoEvent::kSignalled) return 1;
        if (result == CAutoEvent::kAbandoned) return kExitAbandoned;
    }
}

// Only a vanished device ends the dialog; another write failure leaves it to the user.
int32_t CWriteThread::WriteFailed(CComm& port, CAutoEvent& written) {
    if (!port.IsDeviceGone()) return kExitWriteFailed;
    m_state->ReportDeviceLost();
    written.Set();
    return kExitDeviceLost;
}

int32_t CWriteThread::Stopped() const {
    return m_state->DeviceLost() ? kExitDeviceLost : kExitDone;
}
