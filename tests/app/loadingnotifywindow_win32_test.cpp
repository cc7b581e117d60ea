// The loading threads' calls as their dialog receives them: a window of this test takes the
// commands on its own thread while a worker thread makes the calls.
#include "loadingnotifywindow_win32.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

namespace {

struct Received {
    unsigned id;
    int code; // the high word, signed
    LPARAM lParam;
    unsigned timerId;
    unsigned timerMs;
};

std::vector<Received> g_received;

LRESULT CALLBACK RecordCommands(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COMMAND) return ::DefWindowProcW(window, message, wParam, lParam);
    Received r{LOWORD(wParam), static_cast<short>(HIWORD(wParam)), lParam, 0, 0};
    if (r.id == CLoadingNotifyWindow::kCommandStartTimer ||
        r.id == CLoadingNotifyWindow::kCommandKillTimer) {
        const auto* request = reinterpret_cast<const CLoadingNotifyWindow::TimerRequest*>(lParam);
        r.timerId = request->id;
        r.timerMs = request->ms;
    }
    g_received.push_back(r);
    return 1;
}

class LoadingNotifyWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_received.clear();
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
        ::InitCommonControlsEx(&controls);
        WNDCLASSW description{};
        description.lpfnWndProc = &RecordCommands;
        description.hInstance = ::GetModuleHandleW(nullptr);
        description.lpszClassName = L"LoadingNotifyTarget";
        ::RegisterClassW(&description);
        dialog = ::CreateWindowExW(0, L"LoadingNotifyTarget", L"", WS_OVERLAPPED, 0, 0, 300, 100,
                                   nullptr, nullptr, description.hInstance, nullptr);
        bar = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD, 0, 0, 200, 20, dialog,
                                reinterpret_cast<HMENU>(ILoadingNotify::kProgressBar),
                                description.hInstance, nullptr);
        ASSERT_NE(bar, nullptr);
        notify.SetWindow(dialog);
    }
    void TearDown() override { ::DestroyWindow(dialog); }

    // Makes the calls on a worker thread, as the loading threads do, and answers them here.
    void FromWorker(const std::function<void(ILoadingNotify&)>& calls) {
        std::atomic<bool> done{false};
        std::thread worker([&] {
            calls(notify);
            done = true;
        });
        while (!done) {
            MSG message;
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                ::DispatchMessageW(&message);
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        worker.join();
    }

    HWND dialog = nullptr;
    HWND bar = nullptr;
    CLoadingNotifyWindow notify;
};

TEST_F(LoadingNotifyWindowTest, IdentificationCallsArriveAsTheDialogsCommands) {
    const char chunk[] = "1234567";
    FromWorker([&](ILoadingNotify& n) {
        n.BytesReceived(chunk, 7);
        n.Error(-8);
        n.Error(-20);
        n.EndDialog(-110);
    });
    ASSERT_EQ(g_received.size(), 4u);
    EXPECT_EQ(g_received[0].id, 32828u);
    EXPECT_EQ(g_received[0].code, 7);
    EXPECT_EQ(g_received[0].lParam, reinterpret_cast<LPARAM>(chunk));
    EXPECT_EQ(g_received[1].id, 32830u);
    EXPECT_EQ(g_received[1].code, -8);
    EXPECT_EQ(g_received[2].code, -20);
    EXPECT_EQ(g_received[3].id, static_cast<unsigned>(CLoadingNotifyWindow::kCommandEnd));
    EXPECT_EQ(g_received[3].lParam, -110);
}

// A module file of more than 65,535 lines: the range and the positions stay whole.
TEST_F(LoadingNotifyWindowTest, ProgressRangeIsThirtyTwoBitsWide) {
    bool ranged = false;
    FromWorker([&](ILoadingNotify& n) {
        ranged = n.SetProgressRange(69999);
        n.SetProgressPosition(68001, false);
    });
    EXPECT_TRUE(ranged);
    EXPECT_EQ(::SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 69999);
    EXPECT_EQ(::SendMessageW(bar, PBM_GETPOS, 0, 0), 68001);
    // A posted position arrives once the window thread takes its messages.
    FromWorker([](ILoadingNotify& n) { n.SetProgressPosition(69001, true); });
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageW(&message);
    EXPECT_EQ(::SendMessageW(bar, PBM_GETPOS, 0, 0), 69001);
}

TEST_F(LoadingNotifyWindowTest, UploadCallsArriveAsTheDialogsCommands) {
    FromWorker([](ILoadingNotify& n) {
        n.StartTimer(4321, 6000);
        n.LineSent();
        n.StartTimer(4321, 5000);
        n.AllLinesSent(300);
        n.KillTimer(4321);
        n.EndDialog(1);
    });
    ASSERT_EQ(g_received.size(), 6u);
    EXPECT_EQ(g_received[0].id, static_cast<unsigned>(CLoadingNotifyWindow::kCommandStartTimer));
    EXPECT_EQ(g_received[0].timerId, 4321u);
    EXPECT_EQ(g_received[0].timerMs, 6000u);
    EXPECT_EQ(g_received[1].id, 32785u);
    EXPECT_EQ(g_received[2].timerMs, 5000u);
    EXPECT_EQ(g_received[3].id, 1u);
    EXPECT_EQ(g_received[3].lParam, 300);
    EXPECT_EQ(g_received[4].id, static_cast<unsigned>(CLoadingNotifyWindow::kCommandKillTimer));
    EXPECT_EQ(g_received[4].timerId, 4321u);
    EXPECT_EQ(g_received[5].lParam, 1);
}

// Once the dialog is ending, a late call of a thread goes nowhere instead of waiting.
TEST_F(LoadingNotifyWindowTest, WithoutWindowTheCallsGoNowhere) {
    notify.SetWindow(nullptr);
    bool ranged = true;
    FromWorker([&](ILoadingNotify& n) {
        n.BytesReceived("x", 1);
        n.EndDialog(1);
        ranged = n.SetProgressRange(10);
    });
    EXPECT_TRUE(g_received.empty());
    EXPECT_FALSE(ranged);
}

} // namespace
