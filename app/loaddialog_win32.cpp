#include "loaddialog_win32.h"

#include "loaddialog_rc.h"
#include "comm.h"
#include "myfile.h"
#include "tarlin_rc.h"
#include "uploadstate.h"

#include <commctrl.h>

namespace {

const char kFinalCheck[] = "Soubor nahrán - provádím poslední kontrolu počtu přijatých potvrzení";
const char kDeviceLostText[] = "Zařízení portu %s bylo odpojeno.\n\nSoubor nebyl nahrán celý.";
const char kNoConfirmation[] =
    "Do časového limitu nepřišlo potvrzení k odeslaným datům. Zkontrolujte soubor nebo modul, "
    "případně nastavení portu.";

} // namespace

CLoadDialog::CLoadDialog(void* owner) : CMyDialog(IDD_UPLOAD_PROGRESS, nullptr, owner) {}

CLoadDialog::~CLoadDialog() {
    m_notify.SetWindow(nullptr);
}

INT_PTR CLoadDialog::ShowModalDialog() {
    const INT_PTR result = CMyDialog::ShowModalDialog();
    m_notify.SetWindow(nullptr);
    m_threads.Stop();
    return result;
}

LRESULT CLoadDialog::OnInitDialog() {
    m_expanded = 0;
    m_ending = false;
    HICON icon = ::LoadIconW(GetSafeInstance(), MAKEINTRESOURCEW(IDI_TARLIN));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    SetTexts();
    SetDialogItemFocus(IDC_LOAD_CANCEL);
    m_notify.SetWindow(m_hWnd);
    m_threads.Start(m_port, m_file, &m_notify);
    return 0;
}

void CLoadDialog::SetTexts() {
    SetWindowTextA("Průběh nahrávání");
    SetDlgItemTextA(IDC_LOAD_FILE_LABEL, "Soubor:");
    SetDlgItemTextA(IDC_LOAD_FILE, m_file != nullptr ? m_file->GetFileName() : "");
    SetDlgItemTextA(IDC_LOAD_CANCEL, "Storno");
    SetDlgItemTextA(IDC_LOAD_NO_CONFIRMATION, kNoConfirmation);
}

LRESULT CLoadDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    const auto* timer = reinterpret_cast<const CLoadingNotifyWindow::TimerRequest*>(lParam);
    switch (LOWORD(wParam)) {
    case ILoadingNotify::kCommandAllLinesSent: AllLinesSent(static_cast<int>(lParam)); return 1;
    case IDCANCEL:
    case IDC_LOAD_CANCEL: Cancel(); return 1;
    case ILoadingNotify::kCommandLineSent: LineSent(); return 1;
    case ILoadingNotify::kCommandError: ReportError(static_cast<short>(HIWORD(wParam))); return 1;
    case CLoadingNotifyWindow::kCommandStartTimer: StartTimer(timer); return 1;
    case CLoadingNotifyWindow::kCommandKillTimer: StopTimer(timer); return 1;
    case CLoadingNotifyWindow::kCommandEnd: Finish(static_cast<int32_t>(lParam)); return 1;
    default: return 0;
    }
}

LRESULT CLoadDialog::OnDestroy() {
    HWND bar = GetDlgItem(IDC_LOAD_PROGRESS);
    m_finalPosition = static_cast<int>(::SendMessageW(bar, PBM_GETPOS, 0, 0));
    m_progressLimit = static_cast<int>(::SendMessageW(bar, PBM_GETRANGE, FALSE, 0));
    return CMyDialog::OnDestroy();
}

LRESULT CLoadDialog::OnClose() {
    Cancel();
    return 0;
}

// Lines shorter than three characters are not sent, so the last position may stop short
// of the end: the bar is filled when everything has gone out.
void CLoadDialog::AllLinesSent(int sent) {
    SetDlgItemTextA(IDC_LOAD_FILE, kFinalCheck);
    HWND bar = GetDlgItem(IDC_LOAD_PROGRESS);
    const LRESULT high = ::SendMessageW(bar, PBM_GETRANGE, FALSE, 0);
    ::SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(high), 0);
    m_threads.State().AllLinesSent(sent);
}

// A lost device is the only error the upload reports; the thread ends the dialog next.
void CLoadDialog::ReportError(int code) {
    if (code != ILoadingNotify::kDeviceLost || m_ending) return;
    CDynString text;
    text.Format(kDeviceLostText, m_port != nullptr ? m_port->GetPortName() : "");
    MessageBoxA(text.GetString(), " Tarlin ", MB_OK | MB_ICONERROR);
}

void CLoadDialog::LineSent() {
    if (!m_expanded) return;
    Grow(-kNoConfirmationGrowth);
    m_expanded = 0;
}

void CLoadDialog::StartTimer(const CLoadingNotifyWindow::TimerRequest* request) {
    if (request != nullptr && !m_ending) SetTimer(request->id, request->ms, nullptr);
}

void CLoadDialog::StopTimer(const CLoadingNotifyWindow::TimerRequest* request) {
    if (request != nullptr) KillTimer(request->id);
}

// Shown while no line has gone out for 5 s (6 s before the first line).
LRESULT CLoadDialog::OnTimer(WPARAM id, TIMERPROC) {
    KillTimer(static_cast<unsigned>(id));
    if (!m_expanded && !m_ending) {
        Grow(kNoConfirmationGrowth);
        m_expanded = 1;
    }
    return 1;
}

void CLoadDialog::Grow(int by) {
    RECT rect;
    GetWindowRect(&rect);
    SetWindowPos(nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top + by,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

// The threads stop on their own within a second; the dialog does not wait for them here,
// since either may be waiting for the dialog to take a call.
void CLoadDialog::Cancel() {
    if (m_ending) return;
    m_ending = true;
    m_threads.Cancel();
    EndDialog(kCancelled);
}

void CLoadDialog::Finish(int32_t result) {
    if (m_ending) return;
    m_ending = true;
    EndDialog(result);
}
