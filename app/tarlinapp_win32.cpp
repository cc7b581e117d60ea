#include "tarlinapp_win32.h"

#include "wide_win32.h"
#include "tarlin_rc.h"

namespace {

const char kTitle[] = " Tarlin ";
const char kVersionFile[] = "version.ini";

} // namespace

CTarlinApp::CTarlinApp(void* instance) : CMyApplication(instance) {}

CTarlinApp::~CTarlinApp() = default;

CMyData* CTarlinApp::InitData() {
    m_data.LocateSettingsFiles();
    return &m_data;
}

CMyWindow* CTarlinApp::InitWindow() {
    m_mainView.InitWorkText();
    m_mainView.SetData(&m_data);
    return &m_mainView;
}

int CTarlinApp::Run(const char* arguments) {
    Inicialization(m_hInstance);
    ApplyCommandLine(arguments);
    if (!FindProgramFiles()) return kExitFilesMissing;
    const int code = CreateMainWindow() ? MessageLoop() : kExitNoMainWindow;
    ControlUnsubclass(m_hInstance);
    return code;
}

void CTarlinApp::ApplyCommandLine(const char* arguments) {
    m_data.SetCommandLine(arguments != nullptr ? arguments : "");
    const int row = m_data.ValidateCommandLine();
    CDynString message;
    if (row != 0 && CTarlinCmdLine::FormatValidationMessage(row, message))
        ::MessageBoxW(nullptr, oskel::ToWide(message.GetString()).c_str(),
                      oskel::ToWide(kTitle).c_str(), MB_OK | MB_ICONWARNING);
    m_data.ApplyPortSwitch();
}

// version.ini in the start folder, else next to the program; setting.ini joins it there.
bool CTarlinApp::FindProgramFiles() {
    if (!m_data.ExistsInFolder(m_data.GetPath(), kVersionFile)) {
        m_data.AlternativePath();
        if (!m_data.ExistsInFolder(m_data.GetPath(), kVersionFile)) {
            ::MessageBoxW(
                nullptr,
                oskel::ToWide("Nemohu najít soubor 'version.ini'. Aplikace bude uzavřena!").c_str(),
                oskel::ToWide(kTitle).c_str(), MB_OK | MB_ICONERROR);
            return false;
        }
    }
    m_data.AttachSettingFile(m_data.GetPath(), "setting.ini");
    return true;
}

int CTarlinApp::CreateMainWindow() {
    ControlSubclass(m_hInstance);
    RECT rect{100, 100, 500, 400};
    if (!m_mainView.Create(kTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, ::GetDesktopWindow(),
                           IDR_MAIN_MENU, IDI_TARLIN, IDI_TARLIN_SMALL, &rect))
        return 0;
    if (!m_mainView.ShowWindow(SW_SHOWNORMAL)) return 0;
    m_mainView.SetWindowTextA(kTitle);
    return 1;
}

// Accelerators first, then the chat dialog's keys, then the window the message is for.
// A key pressed in any window of the main window (a tool-bar list among them) gives its
// command to the main window itself, which alone knows the commands.
int CTarlinApp::MessageLoop() {
    HACCEL accelerators = ::LoadAcceleratorsW(static_cast<HINSTANCE>(m_hInstance),
                                              MAKEINTRESOURCEW(IDR_ACCELERATORS));
    HWND main = m_mainView.GetSafeHandle();
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        HWND target = message.hwnd == main || ::IsChild(main, message.hwnd) ? main : message.hwnd;
        if (accelerators != nullptr && ::TranslateAcceleratorW(target, accelerators, &message))
            continue;
        HWND chat = m_mainView.GetChatWindow();
        if (chat != nullptr && ::IsDialogMessageW(chat, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
