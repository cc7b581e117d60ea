#include "startthread.h"

#include <chrono>
#include <cstring>

#include "comm.h"
#include "inifile.h"
#include "loadingnotify.h"

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
    if (!HasThread() || Wait(0, nullptr)) return;
    m_state->Abort();
    Wait(3 * kPromptWaitMs, nullptr);
}

int32_t TARLIN_THREAD_CALL CStartThread::ThreadFunction(MyThreadContext* context) {
    if (!context || !context->thread) return kExitNoContext;
    auto* port = static_cast<CComm*>(context->word[0]);
    auto* versions = static_cast<CMyIniFile*>(context->word[1]);
    auto* dialog = static_cast<ILoadingNotify*>(context->word[2]);
    if (!port || !versions || !dialog) return kExitNoContext;
    return static_cast<CStartThread*>(context->thread)->Run(*port, *versions, *dialog);
}

int32_t CStartThread::Run(CComm& port, CMyIniFile& versions, ILoadingNotify& dialog) {
    CIdentifyState& state = *m_state;
    state.Clear();
    port.SetRts();
    port.SetDtr();
    int32_t previous = kIdentifyTooShort;
    // Silence is measured in time: right after a chunk the port polls instead of waiting,
    // and a banner arriving in pieces must not be thrown away between them.
    Clock::time_point lastData = Clock::now();
    while (port.IsOpen()) {
        int32_t count = 0;
        const char* chunk = port.Read(&count, kReadWaitMs, 0);
        if (state.Aborted()) return kExitAborted;
        if (!chunk && count == CComm::kReadAbandoned) {
            dialog.EndDialog(kExitAborted);
            return kExitAborted;
        }
        if (!chunk && count < -10) dialog.Error(count);
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

int32_t CStartThread::Evaluate(CComm& port, CMyIniFile& versions, ILoadingNotify& dialog,
                               int32_t& previous) {
    int32_t r = Identify(&versions, m_state->Text());
    if (r == kIdentifyNoRecord) {
        dialog.Error(kReportNoVersion);
    } else if (r < 0 && r != kIdentifyTooShort && previous == kIdentifyIncomplete) {
        // An unknown version is reported only when an incomplete record turns out unknown.
        dialog.Error(kReportIncomplete);
    } else if (r > 0) {
        if (port.WriteChar(kEsc) != CComm::kOk) {
            dialog.Error(kReportNoVersion);
        } else {
            const int32_t prompt = WaitForPrompt(port);
            if (prompt == kExitAborted) return kExitAborted;
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
        if (!port.IsOpen()) return 0;
    }
}
