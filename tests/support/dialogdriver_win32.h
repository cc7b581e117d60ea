// Answers the modal windows (message boxes, common dialogs) that a call under test shows: a
// timer looks for them on this thread while the call runs its modal loops, hands each to the
// test's handler in the order expected, and records their texts.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace guitest {

class CDialogDriver {
public:
    struct Expected {
        std::wstring title;               // the window's caption, exactly
        std::function<void(HWND)> answer; // must end the window (post a command)
    };

    CDialogDriver(const std::wstring& title, std::function<void(HWND)> answer);
    explicit CDialogDriver(std::vector<Expected> expected);
    ~CDialogDriver();
    CDialogDriver(const CDialogDriver&) = delete;
    CDialogDriver& operator=(const CDialogDriver&) = delete;

    // A window that carries an expected caption but is not to be answered.
    void Ignore(HWND window) { m_ignored = window; }
    // How many of the expected windows have been answered.
    size_t Answered() const { return m_texts.size(); }
    bool Seen() const { return !m_texts.empty(); }
    // The static texts of the first window (or of window i), joined by line feeds.
    const std::wstring& Text(size_t i = 0) const;

    static std::function<void(HWND)> Press(int id);

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    static BOOL CALLBACK Match(HWND window, LPARAM self);

    std::vector<Expected> m_expected;
    std::vector<std::wstring> m_texts;
    HWND m_ignored = nullptr;
    UINT_PTR m_timer = 0;
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

// Real mouse input: the pointer to a screen point, the left button down or up (there).
void MouseTo(POINT point);
void MouseButton(bool down, POINT at);

// The static texts of a window's children, joined by line feeds.
std::wstring StaticTexts(HWND window);
// A descendant window by its control id (common dialogs nest the program's template).
HWND FindDescendant(HWND window, int id);
// Types a file name into a common file dialog and confirms it.
void ConfirmFileName(HWND dialog, const std::wstring& name);

} // namespace guitest
