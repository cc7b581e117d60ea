#include "hexeditfilter_win32.h"

#include "hextext.h"
#include "windowtext_win32.h"

#include <commctrl.h>

namespace {

const UINT_PTR kSubclassId = 0x4845; // "HE"

DWORD SelectionEnd(HWND edit) {
    DWORD start = 0, end = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    return end;
}

} // namespace

CHexEditFilter::~CHexEditFilter() {
    Detach();
}

bool CHexEditFilter::Attach(HWND edit, std::function<bool()> active) {
    Detach();
    if (edit == nullptr) return false;
    m_active = std::move(active);
    if (!::SetWindowSubclass(edit, &FilterProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    m_edit = edit;
    return true;
}

void CHexEditFilter::Detach() {
    if (m_edit != nullptr && ::IsWindow(m_edit))
        ::RemoveWindowSubclass(m_edit, &FilterProc, kSubclassId);
    m_edit = nullptr;
}

void CHexEditFilter::FormatField(HWND edit) {
    CDynString text(WindowTextOf(edit).c_str());
    int caret = static_cast<int>(SelectionEnd(edit));
    if (!FormatHexText(text, caret)) return;
    ::SetWindowTextW(edit, oskel::ToWide(text.GetString()).c_str());
    ::SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(caret), static_cast<LPARAM>(caret));
}

LRESULT CALLBACK CHexEditFilter::FilterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR self) {
    if (message == WM_NCDESTROY) {
        reinterpret_cast<CHexEditFilter*>(self)->Detach();
        return ::DefSubclassProc(window, message, wParam, lParam);
    }
    return reinterpret_cast<CHexEditFilter*>(self)->Filter(window, message, wParam, lParam);
}

LRESULT CHexEditFilter::Filter(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool edits = (message == WM_KEYDOWN && wParam == VK_DELETE) || message == WM_CHAR ||
                       message == WM_CUT || message == WM_COPY || message == WM_PASTE;
    if (!edits || !m_active || !m_active())
        return ::DefSubclassProc(window, message, wParam, lParam);
    const DWORD end = SelectionEnd(window);
    // A separating space goes together with the digit beyond it.
    const bool twice = (message == WM_KEYDOWN && end % 3 == 2) ||
                       (message == WM_CHAR && wParam == VK_BACK && end > 0 && end % 3 == 0);
    LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
    if (twice) result = ::DefSubclassProc(window, message, wParam, lParam);
    FormatField(window);
    return result;
}
