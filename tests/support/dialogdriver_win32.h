// Answers a modal window (message box, common dialog) that a call under test shows: a timer
// looks for it on this thread while the call runs its modal loop, hands it to the test's
// handler once, and records its texts.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

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

// Runs steps one per timer tick on this thread, also inside modal loops (a dialog's, the one in
// which the system moves a window).
class CStepPlayer {
public:
    explicit CStepPlayer(std::vector<std::function<void()>> steps, int periodMs = 150);
    ~CStepPlayer();
    CStepPlayer(const CStepPlayer&) = delete;
    CStepPlayer& operator=(const CStepPlayer&) = delete;
    bool Done() const { return m_next >= m_steps.size(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);

    std::vector<std::function<void()>> m_steps;
    size_t m_next = 0;
    UINT_PTR m_timer = 0;
};

// Real mouse input: the pointer to a screen point, the left button down or up.
void MouseTo(POINT point);
void MouseButton(bool down);

// The static texts of a window's children, joined by line feeds.
std::wstring StaticTexts(HWND window);

} // namespace guitest
