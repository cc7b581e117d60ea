// The chat line over a real null-modem: what it sends, what it keeps, how it docks.
#include "chatdialog_rc.h"
#include "dialogdriver_win32.h"
#include "gui_harness_win32.h"
#include "dataline.h"
#include "sendinghost_win32.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace sendingtest;
using testing_support::Collect;

namespace {

class ChatTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(line.Ready());
        Open();
    }

    void Open() {
        chat.SetData(&line.store);
        chat.SetMainWindow(host.GetSafeHandle());
        ChatCommandIds ids;
        ids.chatMode = kChatModeCommand;
        ids.frameMove = kFrameMoveCommand;
        ids.forwarded = {kChatModeCommand, kClearScreenCommand};
        chat.SetCommands(ids);
        ASSERT_EQ(chat.Create("Chat mode:", 0, host.GetSafeHandle(), 0, 0, 0, nullptr), 1);
        ASSERT_EQ(chat.Show(SW_SHOW), 1);
        Relayout();
        guitest::Pump(50);
    }
    void Relayout() {
        RECT client;
        host.GetClientRect(&client);
        host.SendMessageA(WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
    }

    HWND Item(unsigned id) { return chat.GetDlgItem(id); }
    HWND Field() {
        COMBOBOXINFO info = {};
        info.cbSize = sizeof info;
        ::GetComboBoxInfo(Item(IDC_CHAT_TEXT), &info);
        return info.hwndItem;
    }
    std::wstring FieldText() {
        HWND combo = Item(IDC_CHAT_TEXT);
        std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(combo)) + 1, L'\0');
        text.resize(
            static_cast<size_t>(::GetWindowTextW(combo, &text[0], static_cast<int>(text.size()))));
        return text;
    }
    void Type(const wchar_t* text) { ::SetWindowTextW(Item(IDC_CHAT_TEXT), text); }
    // Keys typed into the field one by one, as the keyboard delivers them.
    void Keys(const wchar_t* keys) {
        for (const wchar_t* k = keys; *k != 0; ++k)
            ::SendMessageW(Field(), WM_CHAR, *k, 1);
    }
    void Click(unsigned id) { ::SendMessageW(Item(id), BM_CLICK, 0, 0); }
    void Send() { Click(IDC_CHAT_SEND); }
    bool Checked(unsigned id) { return chat.IsDlgButtonChecked(id) == BST_CHECKED; }
    int ListCount() {
        return static_cast<int>(::SendMessageW(Item(IDC_CHAT_TEXT), CB_GETCOUNT, 0, 0));
    }
    std::wstring ListItem(int i) {
        wchar_t text[512] = {};
        ::SendMessageW(Item(IDC_CHAT_TEXT), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        return text;
    }
    // Choosing an entry from the list, as the combo box reports it.
    void Choose(int i) {
        ::SendMessageW(Item(IDC_CHAT_TEXT), CB_SETCURSEL, i, 0);
        ::SendMessageW(chat.GetSafeHandle(), WM_COMMAND, MAKEWPARAM(IDC_CHAT_TEXT, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(Item(IDC_CHAT_TEXT)));
    }
    std::string Received(size_t want) { return Collect(line.peer, want, 3000); }

    testing_support::CDataLine line;
    CChatDialog chat;
    CHostWindow host{&chat};
};

TEST_F(ChatTest, TextWithCrAndLf) {
    Type(L"ABC");
    Click(IDC_CHAT_CR);
    Click(IDC_CHAT_LF);
    Send();
    EXPECT_EQ(Received(5), "ABC\r\n");
    ASSERT_EQ(chat.GetHistory().GetCount(), 1);
    EXPECT_EQ(chat.GetHistory().Get(0).text, "ABC");
    EXPECT_EQ(chat.GetHistory().Get(0).flags, 3u);
    EXPECT_EQ(ListItem(0), L"ABC");
    EXPECT_EQ(host.cursorRequests, 1) << "the terminal is asked to show the cursor";
    EXPECT_EQ(std::string(line.data->GetBuffer().GetLine(0), 3), "ABC") << "echo";

    // The same text again, spelled otherwise, leaves one entry on top.
    Type(L"abc");
    Send();
    EXPECT_EQ(Received(5), "abc\r\n");
    EXPECT_EQ(ListCount(), 1);
    EXPECT_EQ(ListItem(0), L"abc");
}

TEST_F(ChatTest, EscapeSequencesAndACzechText) {
    Click(IDC_CHAT_ESCAPES);
    Type(L"\u017elu\u0165ou\u010dk\u00fd\\t\\x041\\r");
    Send();
    EXPECT_EQ(Received(12), "\x9Elu\x9Dou\xE8k\xFD\tA\r") << "cp1250 bytes of the Czech text";
    EXPECT_EQ(chat.GetHistory().Get(0).flags, 4u);

    // A bad sequence is marked and nothing is sent or kept.
    Type(L"a\\qb");
    guitest::CDialogDriver box(L" Tarlin ", guitest::CDialogDriver::Press(IDOK));
    Send();
    EXPECT_TRUE(box.Seen());
    EXPECT_NE(box.Text().find(L"neznámou sekvenci"), std::wstring::npos);
    DWORD start = 0, end = 0;
    ::SendMessageW(Field(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 3u);
    EXPECT_EQ(Received(1), "");
    EXPECT_EQ(chat.GetHistory().GetCount(), 1);
}

TEST_F(ChatTest, HexSendingAndChoosingItLater) {
    Click(IDC_CHAT_HEX);
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_CHAT_ESCAPES)));
    Type(L"1B 5B 32 4A");
    Send();
    EXPECT_EQ(Received(4), "\x1B[2J");
    EXPECT_EQ(chat.GetHistory().Get(0).flags, 8u);

    Click(IDC_CHAT_HEX); // back to text: the field now means the same bytes in escapes
    EXPECT_EQ(FieldText(), L"\\x01B[2J");
    EXPECT_TRUE(Checked(IDC_CHAT_ESCAPES));
    Type(L"X");
    Send();
    EXPECT_EQ(Received(1), "X");

    Choose(1);
    EXPECT_TRUE(Checked(IDC_CHAT_HEX));
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_CHAT_ESCAPES)));
    Choose(0);
    EXPECT_FALSE(Checked(IDC_CHAT_HEX));
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_CHAT_ESCAPES)));
}

TEST_F(ChatTest, HexTypingKeepsPairsOfDigits) {
    Click(IDC_CHAT_HEX);
    ::SetFocus(Field());
    Keys(L"xy4");
    EXPECT_EQ(FieldText(), L"4");
    Keys(L"1");
    EXPECT_EQ(FieldText(), L"41");
    Keys(L"a5g");
    EXPECT_EQ(FieldText(), L"41 A5");
    // Backspace just after a separator takes the digit before it along.
    ::SendMessageW(Field(), EM_SETSEL, 3, 3);
    Keys(L"\b");
    EXPECT_EQ(FieldText(), L"4A 5");
}

TEST_F(ChatTest, FullHexFieldWithCrAndLf) {
    std::wstring field;
    std::string bytes;
    for (int i = 0; i < 2048; ++i) {
        const wchar_t* digits = L"0123456789ABCDEF";
        if (i > 0) field += L' ';
        field += digits[(i >> 4) & 15];
        field += digits[i & 15];
        bytes += static_cast<char>(i & 0xFF);
    }
    ASSERT_EQ(field.size(), 6143u);
    Click(IDC_CHAT_HEX);
    Click(IDC_CHAT_CR);
    Click(IDC_CHAT_LF);
    Type(field.c_str());
    EXPECT_EQ(FieldText().size(), 6143u) << "the field holds a full block";
    Send();
    EXPECT_EQ(Received(2050), bytes + "\r\n");
}

TEST_F(ChatTest, HistorySurvivesReopening) {
    for (int i = 1; i <= 12; ++i) {
        Type((L"zpr\u00e1va " + std::to_wstring(i)).c_str());
        Send();
    }
    Received(9 * 8 + 3 * 9);
    chat.CloseModelessDialog(); // chat mode off: the history goes to chat.ini
    line.Restart();
    Open();
    ASSERT_EQ(ListCount(), 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(ListItem(i), L"zpr\u00e1va " + std::to_wstring(12 - i));
    chat.ClearHistory();
    EXPECT_EQ(ListCount(), 0);
}

TEST_F(ChatTest, NothingIsSentWhileDisconnectedAndEmptyTextIsNotKept) {
    Click(IDC_CHAT_CR);
    Send();
    EXPECT_EQ(Received(1), "\r");
    EXPECT_EQ(chat.GetHistory().GetCount(), 0) << "an empty message has no entry";
    line.data->ClosePort();
    Type(L"ABC");
    Send();
    EXPECT_EQ(Received(1), "");
    EXPECT_EQ(host.cursorRequests, 1);
}

TEST_F(ChatTest, CommandsAndClosing) {
    ::SendMessageW(chat.GetSafeHandle(), WM_COMMAND, kClearScreenCommand, 0);
    ASSERT_EQ(host.forwarded.size(), 1u);
    EXPECT_EQ(host.forwarded[0], kClearScreenCommand);
    Click(IDC_CHAT_CLOSE);
    EXPECT_EQ(host.chatClosed, 1);
    EXPECT_EQ(chat.GetSafeHandle(), nullptr);
}

TEST_F(ChatTest, DockingByDoubleClick) {
    EXPECT_TRUE(chat.IsDocked());
    RECT hostClient, own;
    host.GetClientRect(&hostClient);
    chat.GetWindowRect(&own);
    ::MapWindowPoints(nullptr, host.GetSafeHandle(), reinterpret_cast<POINT*>(&own), 2);
    EXPECT_EQ(own.bottom, hostClient.bottom) << "docked along the bottom";
    EXPECT_EQ(own.right - own.left, hostClient.right);
    Type(L"dokov\u00e1no");
    guitest::Pump(300);
    guitest::Screenshot("chat_docked");

    ::SendMessageW(chat.GetSafeHandle(), WM_LBUTTONDBLCLK, 0, 0);
    HWND frame = chat.GetFrameWindow();
    EXPECT_FALSE(chat.IsDocked());
    EXPECT_TRUE(::IsWindowVisible(frame));
    EXPECT_EQ(::GetParent(chat.GetSafeHandle()), frame);
    EXPECT_EQ(chat.GetDockedHeight(), 0);
    RECT frameClient;
    ::GetClientRect(frame, &frameClient);
    RECT chatClient;
    chat.GetClientRect(&chatClient);
    EXPECT_EQ(frameClient.right, chatClient.right) << "the frame fits the line";
    EXPECT_EQ(guitest::WindowText(frame), L"Chat Mode");
    guitest::Pump(300);
    guitest::Screenshot("chat_floating");

    // A double click on the frame's caption docks it again.
    ::SendMessageW(frame, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    EXPECT_TRUE(chat.IsDocked());
    EXPECT_FALSE(::IsWindowVisible(frame));
    EXPECT_EQ(::GetParent(chat.GetSafeHandle()), host.GetSafeHandle());

    // Floating survives closing and reopening within the run.
    ::SendMessageW(chat.GetSafeHandle(), WM_LBUTTONDBLCLK, 0, 0);
    chat.CloseModelessDialog();
    EXPECT_FALSE(::IsWindowVisible(frame));
    Open();
    EXPECT_FALSE(chat.IsDocked());
    EXPECT_TRUE(::IsWindowVisible(chat.GetFrameWindow()));
    // The frame's close box ends chat mode.
    ::SendMessageW(chat.GetFrameWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(host.chatClosed, 1);
    EXPECT_FALSE(::IsWindowVisible(chat.GetFrameWindow()));
}

// Dragging the floating frame across the main window's bottom edge shows the dashed frame;
// letting go there docks the line.
TEST_F(ChatTest, DockingByDragging) {
    ::SendMessageW(chat.GetSafeHandle(), WM_LBUTTONDBLCLK, 0, 0);
    ASSERT_FALSE(chat.IsDocked());
    HWND frame = chat.GetFrameWindow();
    ::SetForegroundWindow(frame);
    RECT outer, client, hostClient, own;
    ::GetWindowRect(frame, &outer);
    ::GetClientRect(frame, &client);
    ::ClientToScreen(frame, reinterpret_cast<POINT*>(&client));
    host.GetClientRect(&hostClient);
    ::MapWindowPoints(host.GetSafeHandle(), nullptr, reinterpret_cast<POINT*>(&hostClient), 2);
    chat.GetWindowRect(&own);
    const POINT grip = {outer.left + 40, (outer.top + client.top) / 2};
    auto overEdge = [&] {
        RECT now;
        ::GetWindowRect(frame, &now);
        return now.top < hostClient.bottom && now.bottom > hostClient.bottom;
    };
    // The system's move loop may take up the drag a little late: the pointer goes down in small
    // steps until the frame lies across the edge, whatever distance that takes.
    POINT pointer = grip;
    auto nudge = [&] {
        if (overEdge()) return;
        pointer.y += 12;
        guitest::MouseTo(pointer);
    };
    const size_t reportsBefore = host.dockFrames.size();
    size_t shownWhileOver = 0;
    int heightShown = 0;
    std::vector<std::function<void()>> steps = {[&] { guitest::MouseTo(grip); }, [] {},
                                                [&] { guitest::MouseButton(true, grip); }, [] {}};
    for (int i = 0; i < 40; ++i)
        steps.push_back(nudge);
    steps.push_back([&] {
        shownWhileOver = host.dockFrames.size() - reportsBefore;
        heightShown = host.dockFrames.empty() ? 0 : host.dockFrames.back();
        guitest::MouseButton(false, pointer);
    });
    guitest::CStepPlayer player(std::move(steps), 80);
    for (int i = 0; i < 150 && !player.Done(); ++i)
        guitest::Pump(100);
    guitest::Pump(300);
    EXPECT_GT(shownWhileOver, 0u) << "the main window heard of the moves";
    std::string reports;
    for (int height : host.dockFrames)
        reports += " " + std::to_string(height);
    EXPECT_EQ(heightShown, own.bottom - own.top)
        << "the dashed frame is as high as the line; reports:" << reports;
    EXPECT_TRUE(chat.IsDocked());
    EXPECT_EQ(host.dockFrames.back(), 0) << "the dashed frame is gone after the drop";
    EXPECT_FALSE(::IsWindowVisible(frame));
}

} // namespace
