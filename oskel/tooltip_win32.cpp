#include "tooltip.h"

#include <commctrl.h>

namespace oskel {

HWND CreateSharedToolTip(HINSTANCE instance) {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    HWND toolTip = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, nullptr,
                                     WS_POPUP | WS_BORDER | WS_CLIPSIBLINGS | TTS_ALWAYSTIP,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                     ::GetDesktopWindow(), nullptr, instance, nullptr);
    if (toolTip != nullptr) ::SendMessageW(toolTip, TTM_ACTIVATE, 1, 0);
    return toolTip;
}

LRESULT AddToolTip(HWND toolTip, HWND control, HWND parent) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = parent;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    return ::SendMessageW(toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void RelayToToolTip(HWND toolTip, HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG relayed{control, message, wParam, lParam, 0, {0, 0}};
    ::SendMessageW(toolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

} // namespace oskel
