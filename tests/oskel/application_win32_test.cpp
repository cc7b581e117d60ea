// The application object's start-up hooks and the control window basics.
#include "gui_harness_win32.h"

#include "application.h"
#include "controlwindow.h"
#include "mydata.h"

#include <gtest/gtest.h>

namespace {

class HookApplication : public CMyApplication {
public:
    HookApplication() = default;
    explicit HookApplication(void* instance) : CMyApplication(instance) {}
    int CreateMainWindow() override { return 1; }
    CMyData* InitData() override {
        ++dataCalls;
        return data;
    }
    CMyWindow* InitWindow() override {
        ++windowCalls;
        return window;
    }
    CMyData* data = nullptr;
    CMyWindow* window = nullptr;
    int dataCalls = 0;
    int windowCalls = 0;
};

// A second application object takes the library's slot; the test's own one comes back.
class ApplicationHooks : public ::testing::Test {
protected:
    void TearDown() override { CMyWindowObject::SetApplication(&guitest::App()); }
};

TEST_F(ApplicationHooks, NoInstanceCallsNoHook) {
    HookApplication application;
    EXPECT_EQ(application.Inicialization(nullptr), 0);
    EXPECT_EQ(application.dataCalls, 0);
    EXPECT_EQ(application.windowCalls, 0);
    EXPECT_EQ(CMyWindowObject::m_pApplication, &application);
}

TEST_F(ApplicationHooks, NullDataGoesOnToTheWindowHook) {
    CMyWindow main("OskelTestHookMain");
    HookApplication application(guitest::Instance());
    application.window = &main;
    EXPECT_EQ(application.Inicialization(nullptr), 1);
    EXPECT_EQ(application.dataCalls, 1);
    EXPECT_EQ(application.windowCalls, 1);
    EXPECT_EQ(application.GetSaveWindow(), &main);
    EXPECT_EQ(application.GetSaveData(), nullptr);
}

TEST_F(ApplicationHooks, DataIsInitialisedAndAMissingWindowFails) {
    CMyData data;
    HookApplication application;
    application.data = &data;
    EXPECT_EQ(application.Inicialization(guitest::Instance()), 0); // no main window
    EXPECT_NE(data.GetPath(), nullptr);
    EXPECT_NE(data.GetAppFileName(), nullptr);
    CMyApplication* volatile none = nullptr;
    EXPECT_EQ(none->GetSaveInstance(), nullptr);
    EXPECT_EQ(application.ControlSubclass(nullptr), 0);
    EXPECT_EQ(application.ControlUnsubclass(nullptr), 0);
}

TEST(ControlWindow, DisabledStyleAndParentCommand) {
    CMyWindow parent("OskelTestControlParent");
    ASSERT_EQ(parent.Create("Rodič", WS_OVERLAPPEDWINDOW, nullptr, 0, 0, 0, nullptr), 1);
    CMyControlWindow control("OskelTestControl");
    RECT rect{5, 5, 105, 25};
    ASSERT_EQ(control.Create("ovládací prvek", WS_CHILD | WS_VISIBLE | WS_DISABLED,
                             parent.GetSafeHandle(), 44, 0, 0, &rect),
              1);
    EXPECT_EQ(control.IsWindowEnabled(), 0);
    EXPECT_EQ(::GetDlgCtrlID(control.GetSafeHandle()), 44);
    control.EnableWindow(1);
    EXPECT_EQ(control.IsWindowEnabled(), 1);
    EXPECT_NE(CMyControlWindow::m_hToolTip, nullptr);
    EXPECT_NE(control.EnableToolTip(), 0);
    EXPECT_EQ(control.SendParentCommand(1), 1);

    CMyControlWindow orphan("OskelTestControl");
    EXPECT_EQ(orphan.SendParentCommand(1), 0); // no window, no parent
}

} // namespace
