// CMyWindow over real Wine windows: creation, binding, dispatch, texts at the boundary.
#include "gui_harness_win32.h"
#include "oskel_gui_test_rc.h"

#include "codepage.h"
#include "window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Records which handlers ran, in order, with the arguments they got.
class RecordingWindow : public CMyWindow {
public:
    explicit RecordingWindow(const char* className = "OskelTestRecording") : CMyWindow(className) {}
    explicit RecordingWindow(unsigned int templateId) : CMyWindow(templateId) {}

    LRESULT OnCreate(CREATESTRUCTW* create) override {
        calls.push_back("create");
        return CMyWindow::OnCreate(create);
    }
    LRESULT OnGetMinMaxInfo(MINMAXINFO* info) override {
        calls.push_back("minmax");
        return CMyWindow::OnGetMinMaxInfo(info);
    }
    LRESULT OnMouseMove(WPARAM keys, int x, int y) override {
        lastKeys = keys;
        lastX = x;
        lastY = y;
        return 0;
    }
    LRESULT OnMouseWheel(unsigned short keys, int delta, int x, int y) override {
        lastKeys = keys;
        lastDelta = delta;
        lastX = x;
        lastY = y;
        return 0;
    }
    LRESULT OnSize(WPARAM type, unsigned short width, unsigned short height) override {
        lastKeys = type;
        lastX = width;
        lastY = height;
        return 0;
    }
    LRESULT OnContextMenu(void*, int x, int y) override {
        lastX = x;
        lastY = y;
        return 77;
    }
    LRESULT OnChar(char c, unsigned long) override {
        lastChar = c;
        return 0;
    }
    LRESULT OnSetText(const char* text) override {
        lastText = text != nullptr ? text : "";
        return CMyWindow::OnSetText(text);
    }

    std::vector<std::string> calls;
    WPARAM lastKeys = 0;
    int lastX = 0, lastY = 0, lastDelta = 0;
    char lastChar = 0;
    std::string lastText;
};

RECT Place() {
    return RECT{100, 100, 420, 260};
}

TEST(Window, CreatesOnceAndBindsTheObject) {
    RecordingWindow window;
    RECT rect = Place();
    ASSERT_EQ(window.Create("Okno", WS_OVERLAPPEDWINDOW, nullptr, 0, 0, 0, &rect), 1);
    HWND first = window.GetSafeHandle();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(first, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&window));
    // The actual screen rectangle comes back in the caller's record.
    RECT actual;
    ::GetWindowRect(first, &actual);
    EXPECT_EQ(rect.left, actual.left);
    EXPECT_EQ(rect.bottom, actual.bottom);

    EXPECT_EQ(window.Create("Jiné", WS_OVERLAPPEDWINDOW, nullptr, 0, 0, 0, nullptr), 1);
    EXPECT_EQ(window.GetSafeHandle(), first);
    EXPECT_EQ(std::count(window.calls.begin(), window.calls.end(), "create"), 1);
    EXPECT_EQ(guitest::WindowText(first), L"Okno");
}

TEST(Window, MessagesBeforeCreationGoToTheDefaultProcedure) {
    RecordingWindow window;
    RECT rect = Place();
    ASSERT_EQ(window.Create("Pořadí", WS_OVERLAPPEDWINDOW, nullptr, 0, 0, 0, &rect), 1);
    // The size query arrives before the creation message; no handler may see it.
    ASSERT_FALSE(window.calls.empty());
    EXPECT_EQ(window.calls.front(), "create");
}

TEST(Window, ClassRegisteredByTemplateIdOnly) {
    RecordingWindow window(4711u);
    ASSERT_EQ(window.Create("Podle čísla", WS_OVERLAPPEDWINDOW, nullptr, 0, 0, 0, nullptr), 1);
    EXPECT_EQ(GetClassLongPtrW(window.GetSafeHandle(), GCW_ATOM), 4711);
}

TEST(Window, CreateRefusesAnObjectWithoutClass) {
    RecordingWindow window(0u);
    EXPECT_EQ(window.Create("Nic", WS_OVERLAPPEDWINDOW, nullptr, 0, 0, 0, nullptr), 0);
    EXPECT_EQ(window.GetSafeHandle(), nullptr);
}

TEST(Window, TwoObjectsOfOneClassBothCreate) {
    RecordingWindow first("OskelTestShared"), second("OskelTestShared");
    EXPECT_EQ(first.Create("První", WS_OVERLAPPEDWINDOW, nullptr, 0, 0, 0, nullptr), 1);
    EXPECT_EQ(second.Create("Druhé", WS_OVERLAPPEDWINDOW, nullptr, 0, 0, 0, nullptr), 1);
    EXPECT_NE(first.GetSafeHandle(), second.GetSafeHandle());
}

TEST(Window, HandlersGetUnpackedArguments) {
    RecordingWindow window;
    ASSERT_EQ(window.Create("Zprávy", WS_OVERLAPPEDWINDOW, nullptr, 0, 0, 0, nullptr), 1);
    HWND h = window.GetSafeHandle();

    ::SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-5, -7));
    EXPECT_EQ(window.lastKeys, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(window.lastX, -5);
    EXPECT_EQ(window.lastY, -7);

    ::SendMessageW(h, WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, static_cast<WORD>(-240)),
                   MAKELPARAM(300, -2));
    EXPECT_EQ(window.lastKeys, static_cast<WPARAM>(MK_SHIFT));
    EXPECT_EQ(window.lastDelta, -240);
    EXPECT_EQ(window.lastX, 300);
    EXPECT_EQ(window.lastY, -2);

    ::SendMessageW(h, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(40000, 123));
    EXPECT_EQ(window.lastKeys, static_cast<WPARAM>(SIZE_MAXIMIZED));
    EXPECT_EQ(window.lastX, 40000); // sizes are unsigned halves
    EXPECT_EQ(window.lastY, 123);

    // Whatever the handler answers, a context menu yields 0.
    EXPECT_EQ(::SendMessageW(h, WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1)), 0);
    EXPECT_EQ(window.lastX, -1);

    // Characters arrive as cp1250.
    ::SendMessageW(h, WM_CHAR, 0x0159, 0); // ř
    EXPECT_EQ(static_cast<unsigned char>(window.lastChar), 0xF8);
}

TEST(Window, CzechCaptionRoundTripsAsCp1250) {
    RecordingWindow window;
    RECT rect = Place();
    ASSERT_EQ(window.Create("x", WS_OVERLAPPEDWINDOW, nullptr, 0, 0, 0, &rect), 1);
    const char* caption = "Přenos souboru – úspěšně nahráno (ěščřžýáíé ŮŤĎŇ)";
    ASSERT_NE(window.SetWindowTextA(caption), 0);
    // The handler saw the cp1250 text, the platform holds the right Unicode text.
    EXPECT_EQ(window.lastText, caption);
    EXPECT_EQ(guitest::WindowText(window.GetSafeHandle()).substr(0, 6), L"P\u0159enos");
    char back[256];
    EXPECT_EQ(window.GetWindowTextA(back, sizeof back), static_cast<int>(std::strlen(caption)));
    EXPECT_STREQ(back, caption);
    EXPECT_EQ(window.GetWindowTextLengthA(), static_cast<int>(std::strlen(caption)));
    // A short buffer gets a cut, terminated text.
    char small[6];
    window.GetWindowTextA(small, sizeof small);
    EXPECT_STREQ(small, "Přeno");

    window.Show(SW_SHOWNORMAL);
    ::UpdateWindow(window.GetSafeHandle());
    guitest::Pump(300);
    EXPECT_TRUE(guitest::Screenshot("czech_caption"));
}

TEST(Window, EnabledFlagIsTheStoredOne) {
    RecordingWindow window;
    EXPECT_EQ(window.IsWindowEnabled(), 0); // no window yet
    ASSERT_EQ(window.Create("Povoleno", WS_OVERLAPPEDWINDOW, nullptr, 0, 0, 0, nullptr), 1);
    EXPECT_EQ(window.IsWindowEnabled(), 1);
    ::EnableWindow(window.GetSafeHandle(), FALSE); // behind the object's back
    EXPECT_EQ(window.IsWindowEnabled(), 1);
    window.EnableWindow(0);
    EXPECT_EQ(window.IsWindowEnabled(), 0);
    EXPECT_FALSE(::IsWindowEnabled(window.GetSafeHandle()));
}

TEST(Window, DestructorDestroysTheWindow) {
    HWND handle;
    {
        RecordingWindow window;
        ASSERT_EQ(window.Create("Dočasné", WS_OVERLAPPEDWINDOW, nullptr, 0, 0, 0, nullptr), 1);
        handle = window.GetSafeHandle();
        ASSERT_TRUE(::IsWindow(handle));
    }
    EXPECT_FALSE(::IsWindow(handle));
}

TEST(Window, NullSafeGettersAndRefusals) {
    CMyWindow* volatile none = nullptr; // hidden from the compiler, as in the program
    EXPECT_EQ(none->GetSafeHandle(), nullptr);
    EXPECT_EQ(none->GetSaveData(), nullptr);
    RecordingWindow window;
    EXPECT_EQ(window.MessageBoxA("text", "Tarlin", MB_OK), -1); // no window
    EXPECT_EQ(window.SendMessageA(WM_NULL, 0, 0), -1);
    ASSERT_EQ(window.Create("Odmítnutí", WS_OVERLAPPEDWINDOW, nullptr, 0, 0, 0, nullptr), 1);
    EXPECT_EQ(window.InvalidateRect(nullptr, TRUE), 0);
    EXPECT_EQ(window.EnableMenuItem(1, 1), -1); // no menu
    EXPECT_EQ(window.SetFont(nullptr, 0), 0);
    EXPECT_EQ(window.SaveHandle(reinterpret_cast<void*>(0x1234)), 0);
}

TEST(Window, MenuFromTheApplicationInstance) {
    RecordingWindow window;
    ASSERT_EQ(window.Create("Nabídka", WS_OVERLAPPEDWINDOW, nullptr, 0, 0, 0, nullptr), 1);
    HMENU menu = window.LoadMenuA(IDM_TEST);
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(::SetMenu(window.GetSafeHandle(), menu));
    EXPECT_EQ(window.EnableMenuItem(IDM_OPEN, 0), MF_ENABLED);
    EXPECT_EQ(::GetMenuState(menu, IDM_OPEN, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
    EXPECT_EQ(window.CheckMenuItem(IDM_OPEN, 1), MF_UNCHECKED);
    EXPECT_EQ(::GetMenuState(menu, IDM_OPEN, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
    wchar_t text[64] = {};
    ::GetMenuStringW(::GetSubMenu(menu, 0), IDM_OPEN, text, 64, MF_BYCOMMAND);
    EXPECT_EQ(std::wstring(text), L"&Otev\u0159\u00edt\u2026"); // the resource's code page held
}

} // namespace
