// Manual control of the lines over a real null-modem: the peer's inputs follow the dialog's
// outputs, the dialog shows the peer's outputs, and the read thread rests meanwhile.
#include "dataline.h"
#include "dialogdriver_win32.h"
#include "gui_harness_win32.h"
#include "manualsignaldialog_rc.h"
#include "manualsignaldialog_win32.h"
#include "readthread.h"
#include "terminalconsumer.h"

#include <gtest/gtest.h>

#include <string>

using testing_support::Collect;

namespace {

class Owner : public CMyWindow {
public:
    Owner() : CMyWindow("AppTestOwner") {
        RECT rect = {60, 60, 560, 460};
        Create("Tarlin", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 0, 0, 0, &rect);
    }
};

struct Lines {
    int32_t cts = -1, dcd = -1, dsr = -1;
};

Lines PeerInputs(CComm& peer) {
    Lines lines;
    peer.GetModemStatus(&lines.cts, &lines.dcd, &lines.dsr);
    return lines;
}

bool IsGreen(COLORREF colour) {
    return GetGValue(colour) > 80 && GetRValue(colour) < 40 && GetBValue(colour) < 40;
}

class ManualSignalTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(line.Ready());
        // The peer holds its own outputs low until a case raises them.
        line.peer.DisableLineControl();
        line.peer.ClearRts();
        line.peer.ClearDtr();
    }

    std::wstring Text(unsigned id) { return guitest::WindowText(dialog.GetDlgItem(id)); }
    void Command(unsigned id) {
        ::SendMessageW(dialog.GetSafeHandle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(dialog.GetDlgItem(id)));
    }
    INT_PTR Run(std::vector<std::function<void()>> steps) {
        steps.push_back([this] { ::PostMessageW(dialog.GetSafeHandle(), WM_COMMAND, IDOK, 0); });
        guitest::CStepPlayer player(std::move(steps), 250);
        dialog.SetAppData(line.data.get());
        dialog.Create("Manuální nastavení signálů", 0, owner.GetSafeHandle(), 0, 0, 0, nullptr);
        return dialog.Show(-1);
    }

    testing_support::CDataLine line;
    Owner owner;
    CManualSignalDialog dialog{owner.GetSafeHandle()};
};

TEST_F(ManualSignalTest, OutputsDriveThePeerAndInputsFollowIt) {
    line.data->SetRts(true);
    line.data->SetDtr(true);
    guitest::Pump(200);
    ASSERT_EQ(PeerInputs(line.peer).cts, 1);
    ASSERT_EQ(PeerInputs(line.peer).dsr, 1);
    int greenPixels = 0;
    const INT_PTR result = Run({
        [&] {
            EXPECT_EQ(PeerInputs(line.peer).cts, 0) << "opening lowers RTS";
            EXPECT_EQ(PeerInputs(line.peer).dsr, 0) << "and DTR";
            EXPECT_EQ(Text(IDC_SIGNAL_RTS_VALUE), L"0");
            EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_SIGNAL_DTR_0), 1u);
            EXPECT_EQ(Text(IDC_SIGNAL_DTR_TOGGLE), L"0 -> 1");
            EXPECT_EQ(guitest::WindowText(dialog.GetSafeHandle()),
                      L"Manu\u00e1ln\u00ed nastaven\u00ed sign\u00e1l\u016f");
        },
        [&] { Command(IDC_SIGNAL_DTR_TOGGLE); },
        [&] {
            EXPECT_EQ(PeerInputs(line.peer).dsr, 1);
            EXPECT_EQ(PeerInputs(line.peer).dcd, 1);
            EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_SIGNAL_DTR_1), 1u);
            EXPECT_EQ(Text(IDC_SIGNAL_DTR_TOGGLE), L"1 -> 0");
            EXPECT_EQ(Text(IDC_SIGNAL_DTR_VALUE), L"1");
            EXPECT_TRUE(dialog.GetState().IsHighlighted(CSignalState::kDtr));
            greenPixels = guitest::CountPixels(dialog.GetDlgItem(IDC_SIGNAL_DTR_VALUE), &IsGreen);
            guitest::Screenshot("manual_signals");
            line.peer.SetRts();
        },
        [] {},
        [&] {
            EXPECT_EQ(Text(IDC_SIGNAL_CTS_VALUE), L"1") << "the refresh shows the peer's RTS";
            EXPECT_TRUE(dialog.GetState().IsHighlighted(CSignalState::kCts));
            EXPECT_FALSE(dialog.GetState().IsHighlighted(CSignalState::kDtr))
                << "a new change fades alone";
            ::SendMessageW(dialog.GetDlgItem(IDC_SIGNAL_TXD_1), BM_CLICK, 0, 0);
        },
        [&] {
            EXPECT_EQ(Collect(line.peer, 1, 1000), std::string(1, '\0')) << "a break";
            EXPECT_EQ(Text(IDC_SIGNAL_TXD_TOGGLE), L"1 -> 0");
            Command(IDC_SIGNAL_TXD_TOGGLE);
            EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_SIGNAL_TXD_0), 1u);
        },
    });
    EXPECT_EQ(result, 2);
    EXPECT_GT(greenPixels, 0) << "a changed value flashes green";
    EXPECT_EQ(PeerInputs(line.peer).dsr, 1) << "closing leaves the lines as they are";
}

TEST_F(ManualSignalTest, UnpluggedAdapterShowsDashes) {
    Run({
        [&] { EXPECT_EQ(Text(IDC_SIGNAL_CTS_VALUE), L"0"); },
        [&] { line.modem.Vanish(0); },
        [] {},
        [] {},
        [&] {
            EXPECT_EQ(Text(IDC_SIGNAL_CTS_VALUE), L"-");
            EXPECT_EQ(Text(IDC_SIGNAL_DSR_VALUE), L"-");
            EXPECT_EQ(Text(IDC_SIGNAL_DCD_VALUE), L"-");
            EXPECT_EQ(Text(IDC_SIGNAL_RTS_VALUE), L"0") << "outputs show their buttons";
        },
    });
}

TEST_F(ManualSignalTest, ReadThreadRestsWhileTheDialogIsOpen) {
    CReadThreadControl control(false, 1000);
    CReadThread reader(&control);
    CTerminalConsumer consumer(*line.data);
    reader.SetContext(&line.data->GetPort(), &consumer, line.data.get(), nullptr);
    ASSERT_EQ(reader.Start(nullptr, 0), 1);
    auto row = [&] { return std::string(line.data->GetBuffer().GetLine(0), 6); };
    line.peer.WriteString("A");
    for (int i = 0; i < 30 && row()[0] != 'A'; ++i)
        guitest::Pump(100);
    ASSERT_EQ(row()[0], 'A');

    std::string whileOpen;
    guitest::CStepPlayer player({[&] { line.peer.WriteString("XYZ"); }, [] {}, [] {}, [] {},
                                 [&] {
                                     whileOpen = row();
                                     ::PostMessageW(::GetActiveWindow(), WM_COMMAND, IDOK, 0);
                                 }},
                                250);
    EXPECT_EQ(RunManualSignalDialog(owner.GetSafeHandle(), *line.data, reader), 2);
    EXPECT_EQ(whileOpen.substr(0, 2), "A ") << "nothing was read while the dialog was open";
    for (int i = 0; i < 30 && row().substr(0, 4) != "AXYZ"; ++i)
        guitest::Pump(100);
    EXPECT_EQ(row().substr(0, 4), "AXYZ") << "the read thread takes up reading again";
    reader.RequestStop();
    reader.Wait(3000, nullptr);
}

} // namespace
