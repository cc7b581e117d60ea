#include "startdialog_win32.h"

#include "comm.h"
#include "wide_win32.h"
#include "help_win32.h"
#include "mydata.h"
#include "portsetting.h"
#include "startdialog_rc.h"
#include "tarlin_rc.h"
#include "tarlindata.h"

#include <commctrl.h>

#include <cstdlib>
#include <cstring>

namespace {

const char kTitle[] = "Tarlin - zapnutí a vypnutí modulu";
const char kHeadline[] = "Pro nahrání souboru vypněte a zapněte modul";
const char kFileFollows[] = "dialog pro výběr souboru se otevře po zapnutí a vypnutí modulu";
const char kFileLater[] = "po vypnutí a zapnutí ho lze vybrat přes volbu 'Otevřít' v menu aplikace";
const char kUnknownPort[] = "Neznámé nastavení portu";
const char kSlowHint[] =
    "Pokud modul po vypnutí a zapnutí nereaguje,\rvypněte a zapněte ho znovu, a pokud ani "
    "potom nebude reagovat,\rzkontrolujte nastavení portu.";
const char kInformation[] =
    "Na tuto výzvu vypněte a zapněte modul a aplikace, až rozpozná typ\na bude připravena k "
    "nahrání souboru, sama tento dialog uzavře.\n\nPokud nechcete nyní nahrávat soubor, "
    "použijte tlačítko 'Přeskočit'.\nTlačítkem 'Storno' (při startu) aplikaci ukončíte.\n\n"
    "Více informací lze nalézt v nápovědě (F1).";

const char kDeviceLostText[] = "Zařízení portu %s bylo odpojeno.\n\nZkontrolujte připojení a "
                               "zvolte port znovu.";

const unsigned kTimerIds = 9999;

// A path longer than this names a file.
bool NamesFile(const char* path) {
    return path != nullptr && std::strlen(path) > 2;
}

// A warning box of the thread that is still open when the dialog goes: it goes too.
BOOL CALLBACK CloseOwnedBox(HWND window, LPARAM owner) {
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    if (::GetWindow(window, GW_OWNER) == reinterpret_cast<HWND>(owner) &&
        std::wcscmp(name, L"#32770") == 0)
        ::PostMessageW(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

} // namespace

CStartDialog::CStartDialog(void* owner) : CMyDialog(IDD_POWER_CYCLE, nullptr, owner) {}

CStartDialog::~CStartDialog() {
    m_notify.SetWindow(nullptr);
}

void CStartDialog::Prepare(CTarlinData* data, bool fileFollows) {
    m_port = data != nullptr ? &data->GetPort() : nullptr;
    CDynString setting;
    if (m_port != nullptr && m_port->IsOpen() == 1 &&
        FormatPortSetting(setting, m_port->GetPortName(), m_port->GetBaudRate(),
                          m_port->GetByteSize(), m_port->GetParity()) == 1)
        m_portText.Format("Nastavení portu: %s", setting.GetString());
    else
        m_portText.InitBuffer(kUnknownPort);
    const char* file = data != nullptr ? data->GetModuleFileName() : nullptr;
    if (!NamesFile(file) && data != nullptr && data->IsPresent(CTarlinCmdLine::kFile))
        file = data->GetParameter(CTarlinCmdLine::kFile, 1);
    m_fileKnown = !fileFollows && NamesFile(file) ? 1 : 0;
    m_fileText.InitBuffer(fileFollows ? kFileFollows : (m_fileKnown ? file : kFileLater));
    m_thread.SetContext(m_port, static_cast<IVersionList*>(&m_versionList),
                        static_cast<ILoadingNotify*>(&m_notify), nullptr);
}

int CStartDialog::OpenVersionFile(const char* directory, const char* name) {
    return m_versions.AttachInFolder(directory, name) ? 1 : 0;
}

const char* CStartDialog::GetVersionText() {
    return m_thread.State().GetText();
}

INT_PTR CStartDialog::ShowModalDialog() {
    const INT_PTR result = CMyDialog::ShowModalDialog();
    m_notify.SetWindow(nullptr);
    // Gone with the dialog; the next showing makes its own.
    m_statusBar = nullptr;
    if (m_thread.HasThread() && !m_thread.Wait(0, nullptr)) m_thread.State().Abort();
    m_thread.Join();
    return result;
}

// --- Initialisation ------------------------------------------------------------------------

LRESULT CStartDialog::OnInitDialog() {
    m_received = 0;
    m_ending = false;
    m_notify.SetWindow(m_hWnd);
    HICON icon = ::LoadIconW(GetSafeInstance(), MAKEINTRESOURCEW(IDI_TARLIN));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    SetTexts();
    m_timer = static_cast<unsigned>(std::rand()) % kTimerIds;
    SetTimer(m_timer, kSlowHintMs, nullptr);
    SetDialogButtonIcon(IDC_START_HELP, IDI_HELP_BUTTON);
    SetDialogButtonFocusedIcon(IDC_START_HELP, IDI_HELP_BUTTON_FOCUSED);
    CreateColoredTexts();
    CreateStatusBar();
    if (m_fileKnown) m_fileHint.EnableToolTip();
    // Enter is "Storno", whichever button was focused when the dialog last closed.
    SetDialogItemFocus(IDC_START_CANCEL);
    // The thread's calls are answered once the dialog is complete.
    StartThread();
    return 0;
}

void CStartDialog::StartThread() {
    m_thread.UpdateContext(nullptr, nullptr, static_cast<ILoadingNotify*>(&m_notify), nullptr);
    m_thread.State().ClearAbort();
    if (m_thread.Start(nullptr, 0)) m_thread.SetPriority(kThreadPriorityAboveNormal);
}

void CStartDialog::SetTexts() {
    SetWindowTextA(kTitle);
    SetDlgItemTextA(IDC_START_SKIP_HINT,
                    "Pokud nechcete nahrávat soubor do modulu stiskněte tlačítko 'Přeskočit'");
    SetDlgItemTextA(IDC_START_FILE_LABEL, "Soubor:");
    SetDlgItemTextA(IDC_START_RECEIVED_LABEL, "Počet přijatých znaků:");
    SetDlgItemTextA(IDC_START_STATE_LABEL, "Stav:");
    SetDlgItemTextA(IDC_START_SKIP, "&Přeskočit");
    SetDlgItemTextA(IDC_START_CANCEL, "Storno");
    SetDlgItemTextA(IDC_START_BACK, "&Zpět k nastavení portu");
    SetDlgItemTextA(IDC_START_SLOW_HINT, kSlowHint);
    SetDlgItemInt(IDC_START_RECEIVED, 0, 0);
}

void CStartDialog::CreateColoredTexts() {
    RECT headline{8, 8, 403, 41};
    m_headline.Create(kHeadline, 0x50000030, m_hWnd, IDC_START_HEADLINE, 0, 0, &headline);
    RECT file{57, 62, 398, 78};
    m_fileHint.Create(m_fileText.GetString(), 0x50000181, m_hWnd, IDC_START_FILE, 0, 0, &file);
    RECT status{45, 110, 403, 133};
    m_status.Create(".", 0x50000021, m_hWnd, IDC_START_STATE, 0, 0, &status);
}

void CStartDialog::CreateStatusBar() {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    m_statusBar =
        ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, m_hWnd,
                          reinterpret_cast<HMENU>(IDC_START_STATUSBAR), GetSafeInstance(), nullptr);
    if (m_statusBar == nullptr) return;
    int right = -1;
    ::SendMessageW(m_statusBar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&right));
    oskel::SendTextMessage(m_statusBar, SB_SETTEXTW, 0, m_portText.GetString());
}

// --- Commands ------------------------------------------------------------------------------

LRESULT CStartDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int code = static_cast<short>(HIWORD(wParam));
    switch (LOWORD(wParam)) {
    case IDCANCEL:
    case IDC_START_CANCEL: Leave(kCancelled); return 1;
    case IDC_START_SKIP: Leave(kSkipped); return 1;
    case IDC_START_BACK: Leave(kBackToPortSettings); return 1;
    case IDC_START_HELP: ShowInformation(); return 1;
    case ILoadingNotify::kCommandBytesReceived: AddReceived(HIWORD(wParam)); return 1;
    case ILoadingNotify::kCommandError: ShowStatus(code); return 1;
    case CLoadingNotifyWindow::kCommandWarn: Warn(reinterpret_cast<const char*>(lParam)); return 1;
    case CLoadingNotifyWindow::kCommandEnd: Finish(static_cast<int32_t>(lParam)); return 1;
    default: return 0;
    }
}

LRESULT CStartDialog::OnClose() {
    Leave(kCancelled);
    return 0;
}

void CStartDialog::AddReceived(int count) {
    m_received += count;
    SetDlgItemInt(IDC_START_RECEIVED, static_cast<unsigned>(m_received), 0);
}

const char* CStartDialog::StatusText(int code) {
    switch (code) {
    case -21: return "Výstupní buffer je plný!";
    case -20: return "Detekována chyba nastavení parity!";
    case -19: return "Vstupní buffer je plný!";
    case CStartThread::kReportNoVersion: return "Znaky neobsahují verzi/chybně nastavený port!";
    case CStartThread::kReportIncomplete: return "Nekompletní záznam a nebo neznámá verze!";
    default: return "Detekována chyba nastavení portu!";
    }
}

// The thread ends the dialog right after a lost device; the user learns why it closed.
void CStartDialog::ShowStatus(int code) {
    if (code == ILoadingNotify::kDeviceLost) {
        CDynString text;
        text.Format(kDeviceLostText, m_port != nullptr ? m_port->GetPortName() : "");
        MessageBoxA(text.GetString(), " Tarlin ", MB_OK | MB_ICONERROR);
        return;
    }
    m_status.SetWindowTextA(StatusText(code));
    ::InvalidateRect(m_status.GetSafeHandle(), nullptr, TRUE);
}

void CStartDialog::ShowInformation() {
    MessageBoxA(kInformation, kTitle, MB_OK | MB_ICONINFORMATION);
}

// The thread waits for the box: it is the thread's own warning, shown on the dialog's thread.
void CStartDialog::Warn(const char* text) {
    if (m_ending || text == nullptr) return;
    MessageBoxA(text, " Tarlin ", MB_OK | MB_ICONWARNING);
}

void CStartDialog::Leave(int32_t result) {
    if (m_ending) return;
    m_ending = true;
    m_thread.State().Abort();
    m_thread.Resume();
    ::EnumThreadWindows(::GetCurrentThreadId(), &CloseOwnedBox, reinterpret_cast<LPARAM>(m_hWnd));
    m_thread.Wait(kLeaveWaitMs, nullptr);
    KillTimer(m_timer);
    EndDialog(result);
}

void CStartDialog::Finish(int32_t result) {
    if (m_ending) return;
    m_ending = true;
    KillTimer(m_timer);
    EndDialog(result);
}

// --- Timer, size, help, tips, colours ----------------------------------------------------

LRESULT CStartDialog::OnTimer(WPARAM id, TIMERPROC) {
    if (id == m_timer) ShowSlowHint();
    return 1;
}

// Once, and for good: the hint stays until the dialog closes. The old picture is not moved
// along, and the status bar is drawn again at the new bottom.
void CStartDialog::ShowSlowHint() {
    KillTimer(m_timer);
    ::ShowWindow(GetDlgItem(IDC_START_SLOW_HINT), SW_SHOWNA);
    RECT rect;
    GetWindowRect(&rect);
    SetWindowPos(nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top + kSlowHintGrowth,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT CStartDialog::OnSize(WPARAM, unsigned short, unsigned short) {
    if (m_statusBar != nullptr) ::SendMessageW(m_statusBar, WM_SIZE, 0, 0);
    return 0;
}

LRESULT CStartDialog::OnHelp(HELPINFO*) {
    CMyData* data = GetSaveData();
    OpenHelp(m_hWnd, data != nullptr ? data->GetPath() : nullptr, kHelpPortAndPowerCycle);
    return 1;
}

LRESULT CStartDialog::OnNotify(WPARAM wParam, LPARAM lParam) {
    auto* tip = reinterpret_cast<NMTTDISPINFOW*>(lParam);
    if (tip == nullptr || tip->hdr.code != TTN_GETDISPINFOW ||
        reinterpret_cast<HWND>(tip->hdr.idFrom) != m_fileHint.GetSafeHandle())
        return CMyDialog::OnNotify(wParam, lParam);
    const std::wstring text = oskel::ToWide(m_fileText.GetString());
    const size_t room = sizeof m_tipText / sizeof m_tipText[0] - 1;
    text.copy(m_tipText, room);
    m_tipText[text.size() < room ? text.size() : room] = 0;
    tip->lpszText = m_tipText;
    return 1;
}

LRESULT CStartDialog::OnMyColoredTextGetTextParam(WPARAM id, MY_COLORED_TEXT_STRUCT* parameters) {
    if (parameters == nullptr) return 0;
    switch (id) {
    case IDC_START_HEADLINE: *parameters = {0, 0, 255, 1}; return 1;
    case IDC_START_FILE:
        *parameters = m_fileKnown ? MY_COLORED_TEXT_STRUCT{0, 0, 200, 0}
                                  : MY_COLORED_TEXT_STRUCT{128, 128, 128, 0};
        return 1;
    case IDC_START_STATE: *parameters = {255, 0, 0, 0}; return 1;
    default: return CMyDialog::OnMyColoredTextGetTextParam(id, parameters);
    }
}
