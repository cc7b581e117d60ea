// Restyled push buttons: the command a parent gets for each key and mouse sequence,
// which buttons are registered, and how they look.
#include "gui_harness_win32.h"
#include "oskel_gui_test_rc.h"

#include "dialog.h"
#include "pushbutton.h"

#include <gtest/gtest.h>

namespace {

// Counts the commands its buttons report.
class CommandCounter : public guitest::TopWindow {
public:
    CommandCounter() : TopWindow("OskelTestButtonParent", "Tlačítka", &kPlace) {}
    static constexpr RECT kPlace{60, 60, 460, 260};
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override {
        ++commands;
        lastId = LOWORD(wParam);
        lastCode = HIWORD(wParam);
        lastSender = reinterpret_cast<HWND>(lParam);
        return 0;
    }
    HWND Button(const wchar_t* text, DWORD style, int id, int x = 10) {
        return ::CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | style, x, 10, 120, 30,
                                 GetSafeHandle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 guitest::Instance(), nullptr);
    }

    int commands = 0;
    int lastId = 0;
    int lastCode = -1;
    HWND lastSender = nullptr;
};

void Press(HWND button) {
    ::SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
}
void Leave(HWND button) {
    ::SendMessageW(button, WM_MOUSELEAVE, 0, 0);
}
void ReturnHeld(HWND button) {
    ::SendMessageW(button, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(6, 6));
}
void Key(HWND button, UINT message, WPARAM key) {
    ::SendMessageW(button, message, key, 0);
}

TEST(PushButton, EnterGivesExactlyOneCommand) {
    CommandCounter parent;
    HWND button = parent.Button(L"Připojit", BS_PUSHBUTTON, 321);
    Key(button, WM_KEYDOWN, VK_RETURN);
    Key(button, WM_KEYDOWN, VK_RETURN); // auto-repeat
    EXPECT_EQ(parent.commands, 0);
    Key(button, WM_KEYUP, VK_RETURN);
    EXPECT_EQ(parent.commands, 1);
    EXPECT_EQ(parent.lastId, 321);
    EXPECT_EQ(parent.lastCode, 0);
    EXPECT_EQ(parent.lastSender, button);
    Key(button, WM_KEYUP, VK_RETURN); // a stray release sends nothing
    Key(button, WM_KEYDOWN, VK_SPACE);
    Key(button, WM_KEYUP, VK_SPACE);
    EXPECT_EQ(parent.commands, 2);
}

TEST(PushButton, MouseSequences) {
    CommandCounter parent;
    HWND button = parent.Button(L"Odeslat", BS_DEFPUSHBUTTON, 7);

    Press(button);
    ::SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(parent.commands, 1) << "click";

    Press(button);
    Leave(button);
    ::SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(500, 5)); // released outside
    EXPECT_EQ(parent.commands, 1) << "press, leave, release";

    Press(button);
    Leave(button);
    ReturnHeld(button);
    ::SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(6, 6));
    EXPECT_EQ(parent.commands, 2) << "press, leave, return, release";

    // Moving in without the button held forgets an earlier press.
    Press(button);
    Leave(button);
    ::SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(6, 6));
    ::SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(6, 6));
    EXPECT_EQ(parent.commands, 2);
}

TEST(PushButton, OnlyPushButtonsAreRegistered) {
    CommandCounter parent;
    _My_Button_& registry = oskel::ButtonRegistry();
    HWND push = parent.Button(L"Tlačítko", BS_PUSHBUTTON, 1);
    HWND def = parent.Button(L"Výchozí", BS_DEFPUSHBUTTON, 2);
    HWND check = parent.Button(L"Zaškrtnout", BS_AUTOCHECKBOX, 3);
    HWND radio = parent.Button(L"Přepínač", BS_AUTORADIOBUTTON, 4);
    HWND group = parent.Button(L"Skupina", BS_GROUPBOX, 5);
    EXPECT_NE(registry.Find(push), nullptr);
    EXPECT_NE(registry.Find(def), nullptr);
    EXPECT_EQ(registry.Find(check), nullptr);
    EXPECT_EQ(registry.Find(radio), nullptr);
    EXPECT_EQ(registry.Find(group), nullptr);

    // A check box keeps the platform's behaviour: a click toggles it.
    ::SendMessageW(check, BM_CLICK, 0, 0);
    EXPECT_EQ(::SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED);

    const int before = registry.GetCount();
    ::DestroyWindow(push);
    EXPECT_EQ(registry.Find(push), nullptr);
    EXPECT_EQ(registry.GetCount(), before - 1);
}

TEST(PushButton, DisabledButtonIgnoresKeys) {
    CommandCounter parent;
    HWND button = parent.Button(L"Zakázáno", BS_PUSHBUTTON, 9);
    ::EnableWindow(button, FALSE);
    const MY_BUTTON_ENTRY* entry = oskel::ButtonRegistry().Find(button);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->state & MY_BUTTON_ENABLED, 0);
    Key(button, WM_KEYDOWN, VK_SPACE);
    Key(button, WM_KEYUP, VK_SPACE);
    Key(button, WM_KEYDOWN, VK_RETURN);
    Key(button, WM_KEYUP, VK_RETURN);
    EXPECT_EQ(parent.commands, 0);
    ::EnableWindow(button, TRUE);
    Key(button, WM_KEYDOWN, VK_SPACE);
    Key(button, WM_KEYUP, VK_SPACE);
    EXPECT_EQ(parent.commands, 1);
}

TEST(PushButton, FocusAndHotStates) {
    CommandCounter parent;
    HWND button = parent.Button(L"Stav", BS_PUSHBUTTON, 11);
    const MY_BUTTON_ENTRY* entry = oskel::ButtonRegistry().Find(button);
    ASSERT_NE(entry, nullptr);
    ::SendMessageW(button, WM_SETFOCUS, 0, 0);
    EXPECT_TRUE(entry->state & MY_BUTTON_FOCUS);
    ::SendMessageW(button, WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(entry->state & MY_BUTTON_FOCUS);
    ::SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(entry->state & MY_BUTTON_HOT);
    EXPECT_EQ(::SendMessageW(button, WM_MOUSELEAVE, 0, 0), 1);
    EXPECT_FALSE(entry->state & (MY_BUTTON_HOT | MY_BUTTON_PRESSED));
}

// Real keyboard input through the dialog manager: the focused push button still reports
// exactly one command for one press of Enter.
class KeyboardDialog : public CMyDialog {
public:
    KeyboardDialog() : CMyDialog(IDD_ITEMS, nullptr, nullptr) {}
    LRESULT OnInitDialog() override {
        SetTimer(1, 300, nullptr);
        return 0;
    }
    LRESULT OnTimer(WPARAM id, TIMERPROC) override {
        KillTimer(static_cast<unsigned int>(id));
        if (id == 1) {
            ::SetForegroundWindow(GetSafeHandle());
            // Focus as the user's Tab gives it: the button becomes the default one.
            ::SendMessageW(GetSafeHandle(), WM_NEXTDLGCTL,
                           reinterpret_cast<WPARAM>(GetDlgItem(IDC_PUSH)), TRUE);
            INPUT keys[2] = {};
            keys[0].type = keys[1].type = INPUT_KEYBOARD;
            keys[0].ki.wVk = keys[1].ki.wVk = VK_RETURN;
            keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
            ::SendInput(2, keys, sizeof(INPUT));
            SetTimer(2, 500, nullptr);
        } else {
            EndDialog(100 + pushes);
        }
        return 0;
    }
    LRESULT OnCommand(WPARAM wParam, LPARAM) override {
        if (LOWORD(wParam) == IDC_PUSH)
            ++pushes;
        else
            ++others;
        return 0;
    }
    int pushes = 0;
    int others = 0;
};

TEST(PushButton, RealEnterThroughTheDialogManager) {
    KeyboardDialog dialog;
    ASSERT_EQ(dialog.Create("Klávesnice", 0, nullptr, 0, 0, 0, nullptr), 1);
    EXPECT_EQ(dialog.ShowModalDialog(), 101);
    EXPECT_EQ(dialog.others, 0);
}

// Shows the restyled buttons in their states and keeps a picture of them.
class LookDialog : public CMyDialog {
public:
    explicit LookDialog(void* parent) : CMyDialog(IDD_ITEMS, nullptr, parent) {}
    LRESULT OnInitDialog() override {
        SetDialogButtonIcon(IDC_ICON_BUTTON, IDI_MAIN);
        SetDialogButtonFocusedIcon(IDC_ICON_BUTTON, IDI_HOT);
        SetTimer(1, 400, nullptr);
        return 0;
    }
    LRESULT OnTimer(WPARAM id, TIMERPROC) override {
        KillTimer(static_cast<unsigned int>(id));
        SetDialogItemFocus(IDC_PUSH);
        // The cursor rests on the icon button, so it stays hot and shows its second icon.
        RECT icon;
        ::GetWindowRect(GetDlgItem(IDC_ICON_BUTTON), &icon);
        ::SetCursorPos((icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2);
        ::SendMessageW(GetDlgItem(IDC_ICON_BUTTON), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
        guitest::Pump(400);
        hotShown =
            (oskel::ButtonRegistry().Find(GetDlgItem(IDC_ICON_BUTTON))->state & MY_BUTTON_HOT) != 0;
        screenshot = guitest::Screenshot("restyled_buttons");
        EndDialog(1);
        return 0;
    }
    bool screenshot = false;
    bool hotShown = false;
};

TEST(PushButton, RestyledLookScreenshot) {
    CommandCounter parent;
    LookDialog dialog(parent.GetSafeHandle());
    ASSERT_EQ(dialog.Create("Vzhled tlačítek", 0, parent.GetSafeHandle(), 0, 0, 0, nullptr), 1);
    EXPECT_EQ(dialog.ShowModalDialog(), 1);
    EXPECT_TRUE(dialog.screenshot);
    EXPECT_TRUE(dialog.hotShown);
}

} // namespace
