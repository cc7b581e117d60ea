// Stands for another program with a window of the dock window class: its user data is an
// address in its own process and means nothing in any other. Ends when its window closes.
#include <windows.h>

namespace {

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) ::PostQuitMessage(0);
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int main() {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSW description{};
    description.lpfnWndProc = &Procedure;
    description.hInstance = instance;
    description.lpszClassName = L"_Oskel_My_Dockable_Window_";
    if (!::RegisterClassW(&description)) return 1;
    HWND window = ::CreateWindowExW(0, description.lpszClassName, L"Ciz\u00ed dok",
                                    WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 20, 160, 90, nullptr,
                                    nullptr, instance, nullptr);
    if (window == nullptr) return 2;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0x10);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0)
        ::DispatchMessageW(&message);
    return 0;
}
