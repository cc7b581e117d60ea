#include "gui_harness_win32.h"

#include <gtest/gtest.h>

#include <vector>

namespace guitest {
namespace {

class TestApplication : public CMyApplication {
public:
    TestApplication() : CMyApplication(::GetModuleHandleW(nullptr)), m_main("OskelTestMain") {}
    int CreateMainWindow() override { return 1; }
    CMyWindow* InitWindow() override { return &m_main; }

private:
    CMyWindow m_main;
};

// Every case starts with the application in place and the push buttons restyled, as the
// program does before it makes its first window.
class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ASSERT_EQ(App().Inicialization(Instance()), 1);
        ASSERT_EQ(App().ControlSubclass(Instance()), 1);
    }
    void TearDown() override { App().ControlUnsubclass(Instance()); }
};

const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

} // namespace

CMyApplication& App() {
    static TestApplication application;
    return application;
}

HINSTANCE Instance() {
    return ::GetModuleHandleW(nullptr);
}

void Pump(int ms) {
    const DWORD end = ::GetTickCount() + static_cast<DWORD>(ms);
    do {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::Sleep(5);
    } while (static_cast<int>(end - ::GetTickCount()) > 0);
}

namespace {

// Size of a file given by its Unix path, -1 when it does not exist.
long long UnixFileSize(const std::string& path) {
    std::string windows = "Z:" + path;
    for (char& c : windows)
        if (c == '/') c = '\\';
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(windows.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

} // namespace

bool Screenshot(const char* name) {
    const std::string path = std::string(OSKEL_ARTIFACTS) + "/" + name + ".png";
    std::string windowsPath = "Z:" + path;
    for (char& c : windowsPath)
        if (c == '/') c = '\\';
    ::DeleteFileA(windowsPath.c_str());
    // Wine starts Unix programs given by their path; the picture comes from the X server,
    // so it shows what Wine really drew.
    const std::string command = "import -window root \"" + path + "\"";
    std::wstring line(command.begin(), command.end());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(L"Z:\\usr\\bin\\import", &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process))
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    // Wine cannot wait for a Unix process: the picture is done when its file stops growing.
    // Meanwhile the windows keep answering their paint messages.
    long long last = -1;
    for (int i = 0; i < 100; ++i) {
        Pump(100);
        const long long size = UnixFileSize(path);
        if (size > 0 && size == last) return true;
        last = size;
    }
    return false;
}

int CountPixels(HWND window, bool (*match)(COLORREF)) {
    RECT client;
    ::GetClientRect(window, &client);
    const int width = client.right, height = client.bottom;
    if (width <= 0 || height <= 0) return 0;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = ::GetDC(window);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    ::GdiFlush();
    int count = 0;
    const auto* pixels = static_cast<const unsigned char*>(bits);
    for (int i = 0; i < width * height; ++i) {
        const unsigned char* p = pixels + 4 * i; // blue, green, red
        if (match(RGB(p[2], p[1], p[0]))) ++count;
    }
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(window, screen);
    return count;
}

std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, 512);
    return text;
}

TopWindow::TopWindow(const char* className, const char* title, const RECT* rect)
    : CMyWindow(className) {
    RECT placed = rect != nullptr ? *rect : RECT{};
    Create(title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 0, 0, 0,
           rect != nullptr ? &placed : nullptr);
}

} // namespace guitest
