// The dock window's states: docked and floating, the caption double click, a cancelled drag.
#include "gui_harness_win32.h"

#include "dockablewindow.h"
#include "process.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The container counts the layout requests its dock windows send.
class Container : public guitest::TopWindow {
public:
    Container() : TopWindow("OskelTestDockContainer", "Kontejner", &kPlace) {}
    static constexpr RECT kPlace{40, 40, 740, 540};
    LRESULT OnSize(WPARAM type, unsigned short width, unsigned short height) override {
        ++layouts;
        return CMyWindow::OnSize(type, width, height);
    }
    int layouts = 0;
};

bool IsChild(HWND window) {
    return (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0;
}

TEST(DockableWindow, InitDockDefaults) {
    CMyDockableWindow floating;
    floating.InitDock(static_cast<char>(0x80));
    EXPECT_EQ(static_cast<unsigned char>(floating.GetSide()), 0x88);
    EXPECT_EQ(floating.GetDockFlags(), 0x1Fu);
    CMyDockableWindow bottom, left;
    bottom.InitDock(8);
    left.InitDock(1);
    EXPECT_EQ(bottom.GetDockedSize(), 100);
    EXPECT_EQ(left.GetDockedSize(), 200);
}

TEST(DockableWindow, DockedChildAndCaptionDoubleClickToggles) {
    Container container;
    CMyDockableWindow dock;
    dock.InitDock(8);
    ASSERT_EQ(dock.Create("Nástroje", 0, container.GetSafeHandle(), 0, 0, 0, nullptr), 1);
    HWND window = dock.GetSafeHandle();
    EXPECT_TRUE(IsChild(window));
    EXPECT_EQ(::GetParent(window), container.GetSafeHandle());

    const int layouts = container.layouts;
    ::SendMessageW(window, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    EXPECT_EQ(static_cast<unsigned char>(dock.GetSide()), 0x88);
    EXPECT_FALSE(IsChild(window));
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_GT(container.layouts, layouts);

    ::SendMessageW(window, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    EXPECT_EQ(dock.GetSide(), 8);
    EXPECT_TRUE(IsChild(window));
}

TEST(DockableWindow, EscapeAndStillDropChangeNothing) {
    Container container;
    CMyDockableWindow dock;
    dock.InitDock(1);
    ASSERT_EQ(dock.Create("Nástroje", 0, container.GetSafeHandle(), 0, 0, 0, nullptr), 1);
    HWND window = dock.GetSafeHandle();
    dock.ShowDock();
    RECT before;
    ::GetWindowRect(window, &before);

    ::SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION,
                   MAKELPARAM(before.left + 5, before.top + 5));
    EXPECT_EQ(CMyDockableWindow::m_hDraggingDockWnd, window);
    EXPECT_NE(CMyDockableWindow::m_lpOriginalDockHookProc, nullptr);
    ::SendMessageW(window, WM_CANCELMODE, 0, 0);
    EXPECT_EQ(CMyDockableWindow::m_hDraggingDockWnd, nullptr);
    EXPECT_EQ(CMyDockableWindow::m_lpOriginalDockHookProc, nullptr);
    EXPECT_EQ(dock.GetSide(), 1);

    ::SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION,
                   MAKELPARAM(before.left + 5, before.top + 5));
    ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(CMyDockableWindow::m_hDraggingDockWnd, nullptr);
    EXPECT_EQ(dock.GetSide(), 1);
    RECT after;
    ::GetWindowRect(window, &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
}

TEST(DockableWindow, ClosingHidesWhenAsked) {
    Container container;
    CMyDockableWindow dock;
    dock.InitDock(4);
    dock.SetDockFlags(dock.GetDockFlags() | MY_DOCK_CLOSE_HIDES);
    ASSERT_EQ(dock.Create("Skrývání", 0, container.GetSafeHandle(), 0, 0, 0, nullptr), 1);
    dock.ShowDock();
    ::SendMessageW(dock.GetSafeHandle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(::IsWindow(dock.GetSafeHandle()));
    EXPECT_FALSE(::IsWindowVisible(dock.GetSafeHandle()));
    EXPECT_TRUE(dock.GetDockFlags() & MY_DOCK_HIDDEN);
    dock.ShowDock();
    EXPECT_TRUE(::IsWindowVisible(dock.GetSafeHandle()));
}

// Counts the activation messages its siblings send it to keep the captions in step.
class SyncedDock : public CMyDockableWindow {
public:
    LRESULT OnNCActivate(WPARAM active, LPARAM lParam) override {
        if (lParam == -1) ++syncs;
        return CMyDockableWindow::OnNCActivate(active, lParam);
    }
    int syncs = 0;
};

// Another program's window of the dock class; closed when the test ends.
class Stranger {
public:
    Stranger() {
        std::wstring path;
        for (char c : testing_support::OwnFolder() + DOCK_STRANGER)
            path += static_cast<wchar_t>(static_cast<unsigned char>(c));
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!::CreateProcessW(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &m_process))
            return;
        // Idle once its window exists and its message loop waits.
        ::WaitForInputIdle(m_process.hProcess, 10000);
        window = ::FindWindowW(L"_Oskel_My_Dockable_Window_", L"Ciz\u00ed dok");
    }
    ~Stranger() {
        if (m_process.hProcess == nullptr) return;
        if (window != nullptr) ::PostMessageW(window, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(m_process.hProcess, 10000) != WAIT_OBJECT_0)
            ::TerminateProcess(m_process.hProcess, 1);
        ::CloseHandle(m_process.hThread);
        ::CloseHandle(m_process.hProcess);
    }
    HWND window = nullptr;

private:
    PROCESS_INFORMATION m_process{};
};

// The caption activation is kept in step only with our own dock windows: another program's
// window of the same class is passed over, never read as one of ours.
TEST(DockableWindow, ActivationPassesOverOtherProgramsWindows) {
    Container container;
    SyncedDock dock, sibling;
    dock.InitDock(static_cast<char>(0x80));
    sibling.InitDock(static_cast<char>(0x80));
    ASSERT_EQ(dock.Create("První", 0, container.GetSafeHandle(), 0, 0, 0, nullptr), 1);
    ASSERT_EQ(sibling.Create("Druhý", 0, container.GetSafeHandle(), 0, 0, 0, nullptr), 1);
    dock.ShowDock();
    sibling.ShowDock();
    Stranger stranger;
    ASSERT_NE(stranger.window, nullptr);
    DWORD process = 0;
    ::GetWindowThreadProcessId(stranger.window, &process);
    ASSERT_NE(process, ::GetCurrentProcessId());

    const int before = sibling.syncs;
    ::SendMessageW(dock.GetSafeHandle(), WM_NCACTIVATE, TRUE, 0);
    EXPECT_GT(sibling.syncs, before);
}

} // namespace
