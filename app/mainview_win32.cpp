#include "mainview_win32.h"

#include "aboutdialog_win32.h"
#include "help_win32.h"
#include "keys.h"
#include "tarlin_rc.h"
#include "tarlindata.h"
#include "testprobe_win32.h"

#include <commctrl.h>

#include <cstdio>

namespace {

const unsigned int kToolbarCommands[CTarlinToolbar::kButtons] = {IDM_OPEN_UPLOAD,
                                                                 IDM_UPLOAD_FILE,
                                                                 IDM_UPLOAD_AGAIN,
                                                                 IDM_KEEP_UPLOADING,
                                                                 0,
                                                                 IDM_SAVE,
                                                                 IDM_PRINT,
                                                                 IDM_CLEAR_SCREEN,
                                                                 0,
                                                                 IDM_CONNECT,
                                                                 IDM_RENEW,
                                                                 IDM_DISCONNECT,
                                                                 IDM_CONNECTION_INFO,
                                                                 0,
                                                                 IDM_CHAT_MODE,
                                                                 IDM_MANUAL_SIGNALS,
                                                                 IDM_CURRENT_SHORTCUT};

const CTarlinToolbar::Ids kToolbarIds = {IDC_TARLIN_REBAR,   IDC_TARLIN_TOOLBAR, IDC_BAUD_LIST,
                                         IDC_DATA_BITS_LIST, IDC_PARITY_LIST,    IDB_TOOLBAR};

const int kMinimumWidth = 460;
const int kMinimumHeight = 250;
// How long closing waits for the read thread: one read's wait and then some.
const uint32_t kReadThreadStopMs = 2000;

} // namespace

CMainView::CMainView()
    : CMyWindow("MainViewClass"), m_view(IDB_VIEW_LOGO, IDM_REFRESH_COUNTERS),
      m_toolbar(kToolbarIds, kToolbarCommands), m_statusbar(IDC_TARLIN_STATUSBAR) {
    PrepareChat();
}

CMainView::~CMainView() = default;

void CMainView::SetData(CTarlinData* data) {
    m_data = data;
}

void CMainView::InitWorkText() {
    m_workText.InitBuffer(261);
}

// --- Creation ------------------------------------------------------------------------------

LRESULT CMainView::OnCreate(CREATESTRUCTW*) {
    m_created = 0;
    if (m_data == nullptr) return -1;
    m_closeAtEnd = m_data->GetCommandLine().HasLetter(CTarlinCmdLine::kWithout, 'x');
    m_data->LoadLastSettings(m_data->IsCommandLineEmpty());
    if (m_data->IsPresent(CTarlinCmdLine::kHelp) && !ContinueAfterCommandLineHelp()) return -1;
    ApplyIoModeSwitch(m_data->GetParameter(CTarlinCmdLine::kInputOutput, 1));
    CreateBars();
    SetMenuTexts();
    SetInitialChecks();
    CDynString letters(m_data->GetParameter(CTarlinCmdLine::kWithout, 1));
    const int result = ConnectAndIdentify(true, true, letters.GetString(), false);
    if (result == -110) return -1;
    StartReadThread();
    const bool open = m_data->IsPortOpen() == 1;
    SetPattern(open ? (result == 0 ? Pattern::kNoModule : Pattern::kConnected)
                    : Pattern::kDisconnected);
    m_view.SetData(m_data);
    if (!RunCommandLineOperations(result) || !CreateView()) return RefuseCreation();
    RestorePosition();
    m_created = 1;
    SetFocus();
    ShowInitialStatus();
    Layout();
    RefreshStatus(false);
    return 0;
}

// The read thread runs by now; a refused window does not reliably see its destroy handler
// (Wine sends none), and the thread must not outlive the port it reads.
LRESULT CMainView::RefuseCreation() {
    StopReadThread();
    return -1;
}

bool CMainView::CreateBars() {
    const bool toolbar = m_toolbar.Init(m_hWnd);
    const bool statusbar = m_statusbar.Init(m_hWnd);
    return toolbar && statusbar;
}

bool CMainView::CreateView() {
    RECT rect{0, 0, 800, 600};
    if (!m_view.CreateEx("", WS_CHILD | WS_HSCROLL | WS_VSCROLL | WS_VISIBLE, WS_EX_CLIENTEDGE,
                         m_hWnd, 0, 0, 0, &rect))
        return false;
    m_view.FitToParent(m_toolbar.GetLayoutHeight(), m_statusbar.GetLayoutHeight());
    return true;
}

void CMainView::StartReadThread() {
    m_consumer = std::make_unique<CTerminalConsumer>(*m_data);
    m_notify = std::make_unique<CReadNotifyWindow>(m_hWnd);
    m_readThread.SetContext(&m_data->GetPort(), m_consumer.get(), m_data, m_notify.get());
    m_readThread.Start(nullptr, 0);
    m_readThread.RequestResume();
}

void CMainView::ShowInitialStatus() {
    if (m_data->IsPortOpen() == 1)
        ShowConnected();
    else
        ShowDisconnected();
    m_statusbar.SetTipText(0, "Počet odeslaných znaků na port");
    m_statusbar.SetTipText(1, "Počet přijatých znaků z portu");
    m_statusbar.SetTipText(2, "Informace o připojeném portu a jeho parametrech");
}

// The screen's size bounds the stored place; a missing size keeps the created one.
void CMainView::RestorePosition() {
    RECT screen;
    ::GetClientRect(::GetDesktopWindow(), &screen);
    int x = m_data->ReadPositionValue("PositionX");
    int y = m_data->ReadPositionValue("PositionY");
    x = x < 0 ? 0 : (x > screen.right - 100 ? screen.right - 100 : x);
    y = y < 0 ? 0 : (y > screen.bottom - 100 ? screen.bottom - 100 : y);
    int height = m_data->ReadPositionValue("Height");
    int width = m_data->ReadPositionValue("Width");
    height = height < screen.bottom - y ? height : screen.bottom - y;
    width = width < screen.right - x ? width : screen.right - x;
    if (height < 0 || width < 0) {
        SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        return;
    }
    SetWindowPos(nullptr, x, y, width < kMinimumWidth ? kMinimumWidth : width,
                 height < kMinimumHeight ? kMinimumHeight : height, SWP_NOZORDER);
}

// --- Destruction ---------------------------------------------------------------------------

LRESULT CMainView::OnDestroy() {
    StopReadThread();
    if (m_data != nullptr) {
        m_data->SaveLastSettings(m_data->IsCommandLineEmpty());
        Disconnect(false);
        if (m_created == 1) SavePosition();
    }
    ::PostQuitMessage(0);
    return CMyWindow::OnDestroy();
}

// The thread must be gone before the port closes. While it ends it may still be sending
// this window a message, so sent messages are taken in while waiting.
void CMainView::StopReadThread() {
    m_readThreadStopped = true;
    if (!m_readThread.HasThread()) return;
    m_readThread.RequestStop();
    const DWORD end = ::GetTickCount() + kReadThreadStopMs;
    while (!m_readThread.Wait(50, nullptr)) {
        MSG message;
        ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        if (static_cast<int>(end - ::GetTickCount()) <= 0) break;
    }
}

void CMainView::SavePosition() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    RECT rect;
    // A minimised or maximised window keeps its normal place for the next start.
    if (::IsIconic(m_hWnd) || ::IsZoomed(m_hWnd)) {
        if (!::GetWindowPlacement(m_hWnd, &placement)) return;
        rect = placement.rcNormalPosition;
    } else if (!GetWindowRect(&rect)) {
        return;
    }
    char number[16];
    const struct {
        const char* key;
        long value;
    } values[] = {{"PositionX", rect.left},
                  {"PositionY", rect.top},
                  {"Height", rect.bottom - rect.top},
                  {"Width", rect.right - rect.left}};
    for (const auto& value : values) {
        std::snprintf(number, sizeof number, "%ld", value.value);
        m_data->WritePositionValue(value.key, number);
    }
}

// --- Commands ------------------------------------------------------------------------------

LRESULT CMainView::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case IDM_EXIT: Exit(); return 0;
    case IDM_ABOUT: ShowAbout(); return 0;
    case IDM_OPEN_UPLOAD: OpenAndUpload(); return 0;
    case IDM_OPEN_UPLOAD_NONSTD: OpenAndUploadNonStandard(); return 0;
    case IDM_CONNECT: Connect(); return 0;
    case IDM_DISCONNECT: Disconnect(true); return 0;
    case IDM_CURRENT_SHORTCUT: CreateCurrentShortcut(); return 0;
    case IDM_CHAT_MODE: ToggleChatMode(); return 0;
    case IDM_CONNECTION_INFO: ShowConnectionInfo(); return 0;
    case IDM_HELP_CONTENTS: ShowHelpContents(); return 0;
    case IDM_TOOLBAR: ToggleToolbar(); return 0;
    case IDM_STATUSBAR: ToggleStatusbar(); return 0;
    case IDM_RENEW: Renew(); return 0;
    case IDM_ANSI_ES: ToggleAnsi(); return 0;
    case IDM_CLEAR_SCREEN: ClearScreen(); return 0;
    case IDM_HEX_OUTPUT: ToggleHexOutput(); return 0;
    case IDM_VANTOR_ES: ToggleVantor(); return 0;
    case IDM_MANUAL_SIGNALS: ShowManualSignals(); return 0;
    case IDM_UPLOAD_AGAIN: UploadAgain(); return 0;
    case IDM_SAVE: SaveScreen(); return 0;
    case IDM_SAVE_AS: SaveScreenAs(); return 0;
    case IDM_PRINT: PrintScreen(); return 0;
    case IDM_AUTO_SCROLL: ToggleAutoScroll(); return 0;
    case IDM_ECHO: ToggleEcho(); return 0;
    case IDM_SEND_FILE: SendFileContent(); return 0;
    case IDM_SHORTCUT_BUILDER: ShowShortcutBuilder(); return 0;
    case IDM_SEND_CLIPBOARD: SendClipboard(); return 0;
    case IDM_RESET_COUNTERS: ResetCounters(); return 0;
    case IDM_RESET_RECEIVED: ResetReceivedCounter(); return 0;
    case IDM_RESET_SENT: ResetSentCounter(); return 0;
    case IDM_CLEAR_CHAT_TEXTS: ClearChatTexts(); return 0;
    case IDM_KEEP_UPLOADING: KeepUploading(); return 0;
    case IDM_UPLOAD_FILE: UploadFile(); return 0;
    case IDM_DISCONNECT_OPTIONS: ShowDisconnectOptions(); return 0;
    case IDM_CHAT_DOCKING: DockChat(wParam); return 0;
    case IDM_REFRESH_COUNTERS: RefreshCounters(); return 0;
    case IDC_BAUD_LIST:
    case IDC_DATA_BITS_LIST:
    case IDC_PARITY_LIST: ChangePortSetting(LOWORD(wParam), HIWORD(wParam)); return 0;
    case kTestProbeCommand: return AnswerTestProbe(lParam);
    default: return CMyWindow::OnCommand(wParam, lParam);
    }
}

void CMainView::Exit() {
    DestroyWindow();
}

void CMainView::ShowAbout() {
    CAboutDialog about(m_hWnd);
    about.Create("O programu", 0, m_hWnd, 0, 0, 0, nullptr);
    about.ShowModalDialog();
}

void CMainView::ShowHelpContents() {
    OnHelp(nullptr);
}

// --- Layout --------------------------------------------------------------------------------

void CMainView::Layout() {
    m_toolbar.Layout();
    m_statusbar.Layout();
    m_view.FitToParent(m_toolbar.GetLayoutHeight(),
                       m_statusbar.GetLayoutHeight() + DockedChatHeight());
    PlaceDockedChat();
}

LRESULT CMainView::OnSize(WPARAM, unsigned short, unsigned short) {
    Layout();
    return 0;
}

LRESULT CMainView::OnPaint(void*) {
    Layout();
    return 0;
}

LRESULT CMainView::OnEraseBkgnd(void*) {
    return 1;
}

// The edge being dragged stops where the window reaches its smallest size.
LRESULT CMainView::OnSizing(WPARAM edge, LPARAM lParam) {
    RECT* rect = reinterpret_cast<RECT*>(lParam);
    if (rect == nullptr) return 0;
    if (rect->right - rect->left < kMinimumWidth) {
        if (edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT)
            rect->left = rect->right - kMinimumWidth;
        else
            rect->right = rect->left + kMinimumWidth;
    }
    if (rect->bottom - rect->top < kMinimumHeight) {
        if (edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT)
            rect->top = rect->bottom - kMinimumHeight;
        else
            rect->bottom = rect->top + kMinimumHeight;
    }
    return 1;
}

LRESULT CMainView::OnHScroll(unsigned short code, unsigned short pos, void* control) {
    return m_view.SendMessageA(WM_HSCROLL, MAKEWPARAM(code, pos),
                               reinterpret_cast<LPARAM>(control));
}

LRESULT CMainView::OnVScroll(unsigned short code, unsigned short pos, void* control) {
    return m_view.SendMessageA(WM_VSCROLL, MAKEWPARAM(code, pos),
                               reinterpret_cast<LPARAM>(control));
}

LRESULT CMainView::OnMouseWheel(unsigned short keys, int delta, int x, int y) {
    return m_view.SendMessageA(WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(delta)),
                               MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}

// --- Keyboard ------------------------------------------------------------------------------

LRESULT CMainView::OnChar(char c, unsigned long data) {
    if (m_data != nullptr && m_data->IsPortOpen() == 1) {
        if (m_data->SendChar(c) == 1)
            ScrollViewToCursor();
        else
            MessageBoxA("Zápis dat na port se nezdařil!", " Tarlin ", MB_OK);
    }
    return CMyWindow::OnChar(c, data);
}

LRESULT CMainView::OnKeyUp(WPARAM key, LPARAM data) {
    if (m_data != nullptr && m_data->IsPortOpen() == 1) {
        unsigned char bytes[3];
        const int count = TranslateKeyRelease(m_data->GetES(), static_cast<int>(key), bytes);
        int sent = 0;
        if (count == 1) sent = m_data->SendChar(static_cast<char>(bytes[0]));
        if (count == 3) sent = m_data->SendData(reinterpret_cast<const char*>(bytes), 3);
        if (sent == 1) ScrollViewToCursor();
    }
    return CMyWindow::OnKeyUp(key, data);
}

// --- Help, tips, menus ---------------------------------------------------------------------

// In the maker's escape mode F1 belongs to the module; the menu command still opens help.
LRESULT CMainView::OnHelp(HELPINFO* help) {
    if (m_data != nullptr && m_data->GetES() == kEscapeMaker && help != nullptr)
        return CMyWindow::OnHelp(help);
    if (m_data == nullptr) return 0;
    OpenHelp(m_hWnd, m_data->GetPath(), kHelpContents);
    return 1;
}

LRESULT CMainView::OnNotify(WPARAM wParam, LPARAM lParam) {
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    if (header != nullptr && header->code == TTN_GETDISPINFOW) return AnswerToolTip(header);
    return CMyWindow::OnNotify(wParam, lParam);
}

LRESULT CMainView::OnContextMenu(void* window, int x, int y) {
    ShowContextMenu(static_cast<HWND>(window), x, y);
    return 0;
}

LRESULT CMainView::OnMenuSelect(unsigned int item, unsigned int flags, void* menu) {
    UpdateClipboardCommand();
    return CMyWindow::OnMenuSelect(item, flags, menu);
}

LRESULT CMainView::OnPrint(void*, LPARAM) {
    PrintScreen();
    return 0;
}
