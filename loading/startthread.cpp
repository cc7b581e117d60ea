#include "startthread.h"

#include <chrono>
#include <cstring>

#include "comm.h"
#include "loadingnotify.h"
#include "versionlist.h"

namespace {

using Clock = std::chrono::steady_clock;

const char kEsc = 27;
const char kPrompt = '>';

int32_t MsSince(Clock::time_point start) {
    return static_cast<int32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

} // namespace

const char CStartThread::kPromptTimeoutText[] =
    "Bohužel do časového limitu se nepodařilo inicializovat nahrávání souboru!\t\n\n"
    "Vypněte a zapněte modul znova.";

CStartThread::CStartThread(CIdentifyState* state)
    : CMyThread(&CStartThread::ThreadFunction),
      m_state(state ? state : &CIdentifyState::Process()) {}

CStartThread::~CStartThread() {
    if (HasThread() && !Wait(0, nullptr)) m_state->Abort();
    Join();
}

int32_t TARLIN_THREAD_CALL CStartThread::ThreadFunction(MyThreadContext* context) {
    CStartThread* thread = nullptr;
    CComm* port = nullptr;
    IVersionList* versions = nullptr;
    ILoadingNotify* dialog = nullptr;
    if (!UnpackContext(context, thread, port, versions, dialog) || !port || !versions || !dialog)
        return kExitNoContext;
    // version.ini is read once per identification, not for every chunk.
    const CVersionTable table(*versions);
    return thread->Run(*port, table, *dialog);
}

int32_t CStartThread::Run(CComm& port, const CVersionTable& versions, ILoadingNotify& dialog) {
    CIdentifyState& state = *m_state;
    state.Clear();
    port.SetRts();
    port.SetDtr();
    int32_t previous = kIdentifyTooShort;
    // Silence is measured in time: a banner arriving in pieces must not be thrown away
    // between them.
    Clock::time_point lastData = Clock::now();
    while (port.IsOpen()) {
        int32_t count = 0;
        const char* chunk = port.Read(&count, kReadWaitMs, 0);
        if (state.Aborted()) return kExitAborted;
        if (!chunk) {
            const Outcome outcome = NoData(count, dialog);
            if (outcome.end) return outcome.code;
        }
        // A NUL inside the chunk makes it unusable as text.
        if (chunk && count > 0 && std::strlen(chunk) == static_cast<size_t>(count)) {
            lastData = Clock::now();
            dialog.BytesReceived(chunk, count);
            state.Append(chunk);
            if (const int32_t result = Evaluate(port, versions, dialog, previous)) return result;
            continue;
        }
        if (MsSince(lastData) >= kIdleResetMs) {
            state.Clear();
            lastData = Clock::now();
        }
    }
    return kExitPortClosed;
}

CStartThread::Outcome CStartThread::NoData(int32_t count, ILoadingNotify& dialog) {
    if (count == CComm::kReadAbandoned) {
        dialog.EndDialog(kExitAborted);
        return {true, kExitAborted};
    }
    if (count == CComm::kReadGone) return {true, Lost(dialog)};
    if (CComm::IsLineError(count)) dialog.Error(count);
    // Another reader has the port: wait rather than ask again at once.
    if (count == CComm::kReadBusy && m_state->WaitForAbort(kReadWaitMs))
        return {true, kExitAborted};
    return {false, 0};
}

int32_t CStartThread::Lost(ILoadingNotify& dialog) {
    dialog.DeviceLost();
    dialog.EndDialog(ILoadingNotify::kDeviceLost);
    return kExitDeviceLost;
}

int32_t CStartThread::Evaluate(CComm& port, const CVersionTable& versions, ILoadingNotify& dialog,
                               int32_t& previous) {
    int32_t r = Identify(&versions, m_state->Text());
    if (r == kIdentifyNoRecord) {
        dialog.Error(kReportNoVersion);
    } else if (r < 0 && r != kIdentifyTooShort && previous == kIdentifyIncomplete) {
        // An unknown version is reported only when an incomplete record turns out unknown.
        dialog.Error(kReportIncomplete);
    } else if (r > 0) {
        if (port.WriteChar(kEsc) != CComm::kOk) {
            if (port.IsDeviceGone()) return Lost(dialog);
            dialog.Error(kReportNoVersion);
        } else {
            const int32_t prompt = WaitForPrompt(port);
            if (prompt == kExitAborted) return kExitAborted;
            if (prompt == kExitDeviceLost) return Lost(dialog);
            if (prompt == 1) {
                dialog.EndDialog(r);
                return r;
            }
            r = kIdentifyTooShort;
            // The version text must not identify the next module, which may be another.
            m_state->Clear();
            dialog.Warn(kPromptTimeoutText);
        }
    }
    previous = r;
    return 0;
}

int32_t CStartThread::WaitForPrompt(CComm& port) {
    const Clock::time_point start = Clock::now();
    for (;;) {
        // Each wait ends by the deadline, so a prompt after it is never taken for one in time.
        const int32_t left = kPromptWaitMs - MsSince(start);
        if (left < 0) return 0;
        int32_t count = 0;
        const char* chunk = port.Read(&count, left < kReadWaitMs ? left + 1 : kReadWaitMs, 0);
        if (m_state->Aborted()) return kExitAborted;
        if (chunk && count > 0 && std::memchr(chunk, kPrompt, static_cast<size_t>(count)))
            return MsSince(start) <= kPromptWaitMs ? 1 : 0;
        if (!chunk && count == CComm::kReadGone) return kExitDeviceLost;
        if (!chunk && count == CComm::kReadBusy && m_state->WaitForAbort(kReadWaitMs))
            return kExitAborted;
        if (!port.IsOpen()) return 0;
    }
}
