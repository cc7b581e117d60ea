// CMyDialog over real Wine dialogs: modal and modeless runs, result codes, items.
#include "gui_harness_win32.h"
#include "oskel_gui_test_rc.h"

#include "dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

class Parent : public CMyWindow {
public:
    Parent() : CMyWindow("OskelTestDialogParent") {
        RECT rect{50, 50, 600, 450};
        Create("Rodič", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 0, 0, 0, &rect);
    }
};

// A dialog whose initialisation runs a test step inside the dialog's own run.
class StepDialog : public CMyDialog {
public:
    StepDialog(void* parent) : CMyDialog(IDD_ITEMS, nullptr, parent) {}

    LRESULT OnInitDialog() override {
        if (onInit) onInit(*this);
        return 0;
    }
    LRESULT OnTimer(WPARAM id, TIMERPROC) override {
        KillTimer(static_cast<unsigned int>(id));
        if (onTimer) onTimer(*this);
        return 0;
    }

    std::function<void(StepDialog&)> onInit;
    std::function<void(StepDialog&)> onTimer;
};

TEST(Dialog, ModalEndedFromATimerReturnsItsValue) {
    Parent parent;
    StepDialog dialog(parent.GetSafeHandle());
    ASSERT_EQ(
        dialog.Create("Čekání na modul", 0, parent.GetSafeHandle(), 0, IDI_MAIN, IDI_MAIN, nullptr),
        1);
    std::wstring shownTitle;
    unsigned long stateDuringRun = 0;
    dialog.onInit = [](StepDialog& d) { d.SetTimer(1, 50, nullptr); };
    dialog.onTimer = [&](StepDialog& d) {
        shownTitle = guitest::WindowText(d.GetSafeHandle());
        stateDuringRun = d.GetState();
        d.EndDialog(42);
    };
    EXPECT_EQ(dialog.Show(-1), 42);
    EXPECT_EQ(shownTitle, L"\u010cek\u00e1n\u00ed na modul");
    EXPECT_EQ(stateDuringRun, static_cast<unsigned long>(MY_DIALOG_MODAL | MY_DIALOG_SHOWN));
    EXPECT_EQ(dialog.GetState(), 0u);
}

TEST(Dialog, CloseBoxEndsWithTwo) {
    Parent parent;
    StepDialog dialog(parent.GetSafeHandle());
    dialog.onInit = [](StepDialog& d) { d.SetTimer(1, 50, nullptr); };
    dialog.onTimer = [](StepDialog& d) { ::PostMessageW(d.GetSafeHandle(), WM_CLOSE, 0, 0); };
    EXPECT_EQ(dialog.ShowModalDialog(), 2);
}

TEST(Dialog, ModelessShownTwiceAndEndedByEndDialog) {
    Parent parent;
    StepDialog dialog(parent.GetSafeHandle());
    EXPECT_EQ(dialog.ShowModelessDialog(SW_SHOW), 1);
    HWND window = dialog.GetSafeHandle();
    ASSERT_TRUE(::IsWindow(window));
    EXPECT_EQ(dialog.ShowModelessDialog(SW_SHOW), 1);
    EXPECT_EQ(dialog.GetSafeHandle(), window); // nothing new
    EXPECT_EQ(dialog.GetState(), static_cast<unsigned long>(MY_DIALOG_MODELESS | MY_DIALOG_SHOWN));
    // Created already: a second Create changes nothing.
    EXPECT_EQ(dialog.Create("Jiný", 0, nullptr, 0, 0, 0, nullptr), 1);
    EXPECT_EQ(dialog.GetParent(), parent.GetSafeHandle());
    // A modal run is refused while the modeless window exists.
    EXPECT_EQ(dialog.Show(-1), 0);

    dialog.EndDialog(1);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(dialog.GetSafeHandle(), nullptr);
    EXPECT_EQ(dialog.GetState(), 0u);
    EXPECT_EQ(dialog.CloseModelessDialog(), -1);
    // Shown again, it is made again.
    EXPECT_EQ(dialog.Show(SW_SHOW), 1);
    EXPECT_TRUE(::IsWindow(dialog.GetSafeHandle()));
}

TEST(Dialog, ModelessRefusedDuringAModalRun) {
    Parent parent;
    StepDialog dialog(parent.GetSafeHandle());
    int modeless = -100;
    dialog.onInit = [&](StepDialog& d) {
        modeless = d.ShowModelessDialog(SW_SHOW);
        d.SetTimer(1, 10, nullptr);
    };
    dialog.onTimer = [](StepDialog& d) { d.EndDialog(7); };
    EXPECT_EQ(dialog.ShowModalDialog(), 7);
    EXPECT_EQ(modeless, 0);
}

TEST(Dialog, ResultCodesWithoutParentOrProcedure) {
    StepDialog dialog(nullptr);
    EXPECT_EQ(dialog.ShowModelessDialog(SW_SHOW), -2);
    EXPECT_EQ(dialog.Create(nullptr, 0, nullptr, 0, 0, 0, nullptr), 0);
}

TEST(Dialog, ItemsMoveAndCarryCzechText) {
    Parent parent;
    StepDialog dialog(parent.GetSafeHandle());
    ASSERT_EQ(dialog.ShowModelessDialog(SW_SHOW), 1);

    RECT client, out;
    ::GetClientRect(dialog.GetSafeHandle(), &client);
    ASSERT_EQ(dialog.MoveItemRelative(IDC_PUSH, 0, 0, 12, &out), 1);
    EXPECT_EQ(out.right, client.right);
    EXPECT_EQ(out.top, 0);
    ASSERT_EQ(dialog.MoveItemRelative(IDC_PUSH, 4, 6, 3, &out), 1);
    EXPECT_EQ(out.left, 4);
    EXPECT_EQ(out.bottom, client.bottom - 6);
    RECT before = out;
    EXPECT_EQ(dialog.MoveItemRelative(IDC_PUSH, 0, 0, 5, &out), 0);
    dialog.GetDialogItemRect(IDC_PUSH, &out);
    EXPECT_EQ(out.left, before.left);

    EXPECT_EQ(dialog.MoveItemResize(IDC_EDIT, 20, 10, 10, 30, nullptr), 0);
    ASSERT_EQ(dialog.MoveItemResize(IDC_EDIT, 10, 20, 110, 44, &out), 1);
    EXPECT_EQ(out.left, 10);
    EXPECT_EQ(out.bottom, 44);

    const char* text = "Žluťoučký kůň úpěl ďábelské ódy";
    ASSERT_NE(dialog.SetDlgItemTextA(IDC_EDIT, text), 0);
    char back[128];
    EXPECT_EQ(dialog.GetDlgItemTextA(IDC_EDIT, back, sizeof back),
              static_cast<int>(std::strlen(text)));
    EXPECT_STREQ(back, text);
    EXPECT_EQ(dialog.SetDlgItemTextA(IDC_EDIT, nullptr), 0);

    ASSERT_NE(dialog.SetDlgItemInt(IDC_EDIT, static_cast<unsigned>(-25), TRUE), 0);
    int ok = 0;
    EXPECT_EQ(static_cast<int>(dialog.GetDlgItemInt(IDC_EDIT, &ok, TRUE)), -25);
    EXPECT_EQ(ok, 1);

    dialog.CheckDlgButton(IDC_CHECK, BST_CHECKED);
    EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_CHECK), static_cast<unsigned>(BST_CHECKED));
    dialog.EnableDialogItem(IDC_CHECK, 0);
    EXPECT_FALSE(::IsWindowEnabled(dialog.GetDlgItem(IDC_CHECK)));
    EXPECT_EQ(CMyDialog::EnableDialogItem(nullptr, IDC_CHECK, 1), 0);
    EXPECT_EQ(dialog.SetDialogItemFocus(9999), 0);
    EXPECT_EQ(dialog.SetDialogButtonIcon(IDC_ICON_BUTTON, IDI_MAIN), 1);
    EXPECT_EQ(dialog.SetDialogButtonIcon(IDC_ICON_BUTTON, 9999), 0);
}

} // namespace
