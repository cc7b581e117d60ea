// A window of the test harness may ask the main window for its state: menus, status bar,
// port lists, options and the screen buffer. The program answers only when it was started
// with TARLIN_TEST_PROBE=1 in its environment.
#pragma once

#include <windows.h>

#include <string>

// The command the harness sends, with its own window in lParam; the answer comes back to
// that window as WM_COPYDATA with this value in dwData, a text of lines (cp1250).
const unsigned int kTestProbeCommand = 0xBEEF;

bool IsTestProbeEnabled();

// Collects the answer's lines and hands them to the requester.
class CTestProbeReport {
public:
    void Add(const std::string& line) { m_text += line + "\n"; }
    bool SendTo(HWND requester, HWND from) const;

private:
    std::string m_text;
};
