#include "gui_harness_win32.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "process.h"

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

bool Screenshot(const char* name) {
    return testing_support::CaptureDisplay(std::string(OSKEL_ARTIFACTS) + "/" + name + ".png",
                                           Pump);
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

HFONT FontOf(HWND window) {
    return reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
}

bool DrawsLetters(HFONT font, const wchar_t* letters) {
    HDC screen = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(screen, font);
    const int count = static_cast<int>(std::wcslen(letters));
    std::vector<WORD> glyphs(static_cast<size_t>(count), 0);
    const bool measured =
        old != nullptr && ::GetGlyphIndicesW(screen, letters, count, glyphs.data(),
                                             GGI_MARK_NONEXISTING_GLYPHS) != GDI_ERROR;
    if (old != nullptr) ::SelectObject(screen, old);
    ::ReleaseDC(nullptr, screen);
    if (!measured) return false;
    for (WORD glyph : glyphs)
        if (glyph == 0xFFFF) return false;
    return true;
}

TEXTMETRICW MetricsOf(HFONT font) {
    TEXTMETRICW metrics{};
    HDC screen = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(screen, font);
    if (old != nullptr) {
        ::GetTextMetricsW(screen, &metrics);
        ::SelectObject(screen, old);
    }
    ::ReleaseDC(nullptr, screen);
    return metrics;
}

TopWindow::TopWindow(const char* className, const char* title, const RECT* rect)
    : CMyWindow(className) {
    RECT placed = rect != nullptr ? *rect : RECT{};
    Create(title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 0, 0, 0,
           rect != nullptr ? &placed : nullptr);
}

} // namespace guitest
