#include "sendinghost_win32.h"

#include "process.h"

#include <chrono>

namespace sendingtest {

CHostWindow::CHostWindow(CChatDialog* chat) : CMyWindow("SendingTestHost"), m_chat(chat) {
    RECT rect = {40, 40, 760, 520};
    Create("Terminál", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, nullptr, 0, 0, 0, &rect);
}

CHostWindow::~CHostWindow() = default;

LRESULT CHostWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    const unsigned id = LOWORD(wParam);
    if (m_chat != nullptr && id == kChatModeCommand) {
        ++chatClosed;
        m_chat->CloseModelessDialog();
        return 0;
    }
    if (m_chat != nullptr && id == kFrameMoveCommand) {
        dockFrames.push_back(m_chat->TrackFrameMove(HIWORD(wParam) == 1));
        return 0;
    }
    forwarded.push_back(id);
    return CMyWindow::OnCommand(wParam, lParam);
}

LRESULT CHostWindow::OnSize(WPARAM, unsigned short width, unsigned short height) {
    const int docked = m_chat != nullptr ? m_chat->GetDockedHeight() : 0;
    if (docked > 0)
        m_chat->SetWindowPos(nullptr, 0, height - docked, width, docked,
                             SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

LRESULT CHostWindow::OnVScroll(unsigned short code, unsigned short pos, void*) {
    if (code == 0xFFFF) {
        ++cursorRequests;
        lastCursorRow = pos;
    }
    return 0;
}

std::string Collect(CComm& port, size_t want, int ms) {
    using Clock = std::chrono::steady_clock;
    std::string got;
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (got.size() < want && Clock::now() < end) {
        int32_t count = 0;
        if (const char* data = port.Read(&count, 100, 0)) got.append(data, count);
    }
    return got;
}

CLine::CLine() : folder(testing_support::MakeTempFolder("tarlin-sending")) {
    Restart();
    m_ready = modem.Ready() && data->OpenPort(modem.PortName(0).c_str()) == 1 &&
              peer.Open(modem.PortName(1).c_str(), 1) == 1;
}

CLine::~CLine() {
    store.Bind(nullptr);
    data.reset();
    testing_support::RemoveTree(folder);
}

void CLine::Restart() {
    const bool wasOpen = data != nullptr && data->IsPortOpen() == 1;
    data.reset();
    data = std::make_unique<CTarlinData>();
    data->LocateSettingsFiles(folder.c_str());
    if (wasOpen) data->OpenPort(modem.PortName(0).c_str());
    store.Bind(data.get());
}

} // namespace sendingtest
