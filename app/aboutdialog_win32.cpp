#include "aboutdialog_win32.h"

#include "aboutdialog_rc.h"
#include "wide_win32.h"
#include "tarlin_rc.h"

#include <shellapi.h>

#include <string>

const char CAboutDialog::kVersionText[] = "Tarlin - verze 0.8.19";
const char CAboutDialog::kWebAddress[] = "https://www.tarlin.cz/";

namespace {

// An empty page whose only use is to ask the shell which program shows web pages.
const wchar_t kProbePage[] = L"$_$_$_$.htm";
const char kProbeContent[] = "<HTML></HTML>";

} // namespace

CAboutDialog::CAboutDialog(void* owner) : CMyDialog(IDD_ABOUT, &AboutProc, owner) {}

CAboutDialog::~CAboutDialog() = default;

INT_PTR CALLBACK CAboutDialog::AboutProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETCURSOR) {
        auto* about = reinterpret_cast<CAboutDialog*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (about != nullptr &&
            about->OnSetCursor(reinterpret_cast<void*>(wParam), LOWORD(lParam), HIWORD(lParam))) {
            ::SetWindowLongPtrW(window, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
    }
    return DialogProc(window, message, wParam, lParam);
}

LRESULT CAboutDialog::OnInitDialog() {
    RECT place{};
    GetDialogItemRect(IDC_ABOUT_VERSION, &place);
    // The coloured text takes the place (and the id) of the template's plain one.
    ::DestroyWindow(GetDlgItem(IDC_ABOUT_VERSION));
    SetWindowTextA("O programu");
    SetDlgItemTextA(IDC_ABOUT_PORTS, "Testované porty - sériový, redukce USB/COM");
    SetDlgItemTextA(IDC_ABOUT_SYSTEMS, "Testováno s OS - Win98, Win2k, WinXP");
    m_version.Create(kVersionText, WS_CHILD | WS_VISIBLE, m_hWnd, IDC_ABOUT_VERSION, 0, 0, &place);
    m_webAddress.InitBuffer(kWebAddress);
    m_hand = static_cast<HCURSOR>(::LoadImageW(GetSafeInstance(), MAKEINTRESOURCEW(IDCUR_LINK_HAND),
                                               IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    return 1;
}

LRESULT CAboutDialog::OnMyColoredTextGetTextParam(WPARAM id, MY_COLORED_TEXT_STRUCT* parameters) {
    if (id != IDC_ABOUT_VERSION || parameters == nullptr)
        return CMyDialog::OnMyColoredTextGetTextParam(id, parameters);
    parameters->red = 0;
    parameters->green = 0;
    parameters->blue = 255;
    parameters->bold = 1;
    return 1;
}

bool CAboutDialog::IsOverLogo(int x, int y) {
    RECT logo;
    POINT point{x, y};
    return GetDialogItemRect(IDC_ABOUT_LOGO, &logo) && ::PtInRect(&logo, point);
}

LRESULT CAboutDialog::OnMouseMove(WPARAM keys, int x, int y) {
    m_overLink = IsOverLogo(x, y) ? 1 : 0;
    if (m_overLink && m_hand != nullptr) ::SetCursor(m_hand);
    return CMyDialog::OnMouseMove(keys, x, y);
}

// Decided by where the mouse is now: the flag of the last move would keep the hand one
// move too long after leaving the logo.
LRESULT CAboutDialog::OnSetCursor(void*, unsigned short, unsigned short) {
    POINT mouse;
    if (::GetCursorPos(&mouse) && ::ScreenToClient(m_hWnd, &mouse))
        m_overLink = IsOverLogo(mouse.x, mouse.y) ? 1 : 0;
    if (!m_overLink || m_hand == nullptr) return 0;
    ::SetCursor(m_hand);
    return 1;
}

LRESULT CAboutDialog::OnLButtonDown(WPARAM keys, int x, int y) {
    if (m_overLink) OpenWebPage();
    return CMyDialog::OnLButtonDown(keys, x, y);
}

LRESULT CAboutDialog::OnCommand(WPARAM wParam, LPARAM) {
    const unsigned int id = LOWORD(wParam);
    if (id != IDOK && id != IDCANCEL) return 0;
    EndDialog(id);
    return 1;
}

// The address goes to the browser as its parameter; the probe page only finds the browser
// and is deleted again.
void CAboutDialog::OpenWebPage() {
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH, folder);
    if (length == 0 || length > MAX_PATH) return;
    std::wstring probe = std::wstring(folder) + kProbePage;
    HANDLE file = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, kProbeContent, sizeof kProbeContent - 1, &written, nullptr);
    ::CloseHandle(file);
    std::wstring probeFolder = probe.substr(0, probe.find_last_of(L'\\'));
    wchar_t browser[MAX_PATH] = {};
    if (reinterpret_cast<INT_PTR>(::FindExecutableW(kProbePage, probeFolder.c_str(), browser)) > 32)
        ::ShellExecuteW(m_hWnd, L"open", browser, oskel::ToWide(m_webAddress.GetString()).c_str(),
                        nullptr, SW_SHOWNORMAL);
    ::DeleteFileW((probeFolder + L"\\" + kProbePage).c_str());
}
