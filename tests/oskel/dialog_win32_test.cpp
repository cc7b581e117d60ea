// CMyDialog over real Wine dialogs: modal and modeless runs, result codes, items.
#include "gui_harness_win32.h"
#include "oskel_gui_test_rc.h"

#include "coloredtext.h"
#include "dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

namespace {

class Parent : public guitest::TopWindow {
public:
    Parent() : TopWindow("OskelTestDialogParent", "Rodič", &kPlace) {}
    static constexpr RECT kPlace{50, 50, 600, 450};
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

// What a derived dialog can still reach while its window is destroyed.
class ClosingDialog : public StepDialog {
public:
    using StepDialog::StepDialog;
    LRESULT OnDestroy() override {
        handleAtDestroy = GetSafeHandle();
        itemAtDestroy = GetDlgItem(IDC_EDIT) != nullptr;
        char text[64] = {};
        GetDlgItemTextA(IDC_EDIT, text, sizeof text);
        textAtDestroy = text;
        return StepDialog::OnDestroy();
    }
    HWND handleAtDestroy = nullptr;
    bool itemAtDestroy = false;
    std::string textAtDestroy;
};

// A dialog that saves its items when it goes (the chat history) still has them in OnDestroy.
TEST(Dialog, ClosedModelessDialogStillHasItsItemsInOnDestroy) {
    Parent parent;
    ClosingDialog dialog(parent.GetSafeHandle());
    ASSERT_EQ(dialog.ShowModelessDialog(SW_SHOW), 1);
    HWND window = dialog.GetSafeHandle();
    dialog.SetDlgItemTextA(IDC_EDIT, "historie");
    EXPECT_EQ(dialog.CloseModelessDialog(), 0);
    EXPECT_EQ(dialog.handleAtDestroy, window);
    EXPECT_TRUE(dialog.itemAtDestroy);
    EXPECT_EQ(dialog.textAtDestroy, "historie");
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(dialog.GetSafeHandle(), nullptr);
    EXPECT_EQ(dialog.GetState(), 0u);
}

// A dialog with a coloured text: the default button stays the template's, and the
// dialog manager's own default-button message still works.
class ColouringDialog : public StepDialog {
public:
    using StepDialog::StepDialog;
    LRESULT OnMyColoredTextGetTextParam(WPARAM, MY_COLORED_TEXT_STRUCT* p) override {
        p->red = 200;
        ++requests;
        return 0;
    }
    int requests = 0;
};

TEST(Dialog, ColouredTextRequestLeavesTheDefaultButton) {
    Parent parent;
    ColouringDialog dialog(parent.GetSafeHandle());
    ASSERT_EQ(dialog.ShowModelessDialog(SW_SHOW), 1);
    CMyColoredText text;
    RECT rect{10, 150, 200, 170};
    ASSERT_EQ(text.Create("Stav", WS_CHILD | WS_VISIBLE, dialog.GetSafeHandle(), 77, 0, 0, &rect),
              1);
    ::InvalidateRect(text.GetSafeHandle(), nullptr, TRUE);
    ::UpdateWindow(text.GetSafeHandle());
    guitest::Pump(100);
    ASSERT_GT(dialog.requests, 0);
    const LRESULT defId = ::SendMessageW(dialog.GetSafeHandle(), DM_GETDEFID, 0, 0);
    EXPECT_EQ(HIWORD(defId), DC_HASDEFID);
    EXPECT_EQ(LOWORD(defId), IDOK);

    ::SendMessageW(dialog.GetSafeHandle(), DM_SETDEFID, IDCANCEL, 0);
    EXPECT_EQ(LOWORD(::SendMessageW(dialog.GetSafeHandle(), DM_GETDEFID, 0, 0)), IDCANCEL);
}

// A stored handle whose window is gone does not pass for a shown dialog.
TEST(Dialog, ModelessShownAgainAfterItsWindowWentAway) {
    Parent parent;
    StepDialog dialog(parent.GetSafeHandle());
    dialog.onInit = [](StepDialog& d) { d.SetTimer(1, 10, nullptr); };
    dialog.onTimer = [](StepDialog& d) { d.EndDialog(3); };
    ASSERT_EQ(dialog.Show(-1), 3); // the modal run leaves its handle behind
    dialog.onInit = nullptr;
    EXPECT_EQ(dialog.ShowModelessDialog(SW_SHOW), 1);
    EXPECT_TRUE(::IsWindowVisible(dialog.GetSafeHandle()));

    ::DestroyWindow(dialog.GetSafeHandle()); // destroyed behind the object's back
    EXPECT_EQ(dialog.ShowModelessDialog(SW_SHOW), 1);
    EXPECT_TRUE(::IsWindowVisible(dialog.GetSafeHandle()));

    {
        Parent owner; // destroyed with its owner
        dialog.CloseModelessDialog();
        dialog.SetParent(owner.GetSafeHandle());
        ASSERT_EQ(dialog.ShowModelessDialog(SW_SHOW), 1);
    }
    dialog.SetParent(parent.GetSafeHandle());
    EXPECT_EQ(dialog.ShowModelessDialog(SW_SHOW), 1);
    EXPECT_TRUE(::IsWindowVisible(dialog.GetSafeHandle()));
    EXPECT_EQ(::GetWindow(dialog.GetSafeHandle(), GW_OWNER), parent.GetSafeHandle());
    dialog.CloseModelessDialog();

    dialog.onInit = [](StepDialog& d) { d.SetTimer(1, 10, nullptr); };
    ASSERT_EQ(dialog.ShowModelessDialog(SW_SHOW), 1);
    ::DestroyWindow(dialog.GetSafeHandle());
    EXPECT_EQ(dialog.Show(-1), 3) << "a modal run is not refused for a window that is gone";
}

} // namespace
