// Answers a modal window (message box, common dialog) that a call under test shows: a timer
// looks for it on this thread while the call runs its modal loop, hands it to the test's
// handler once, and records its texts.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace guitest {

class CDialogDriver {
public:
    // title: the window's caption, exactly. handler must end the window (post a command).
    CDialogDriver(const std::wstring& title, std::function<void(HWND)> handler);
    ~CDialogDriver();
    CDialogDriver(const CDialogDriver&) = delete;
    CDialogDriver& operator=(const CDialogDriver&) = delete;

    bool Seen() const { return m_seen; }
    // The static texts of the window, joined by line feeds.
    const std::wstring& Text() const { return m_text; }

    // Handlers for the usual answers.
    static std::function<void(HWND)> Press(int id);

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    static BOOL CALLBACK Match(HWND window, LPARAM self);

    std::wstring m_title;
    std::function<void(HWND)> m_handler;
    UINT_PTR m_timer = 0;
    bool m_seen = false;
    std::wstring m_text;
};

// The static texts of a window's children, joined by line feeds.
std::wstring StaticTexts(HWND window);

} // namespace guitest
