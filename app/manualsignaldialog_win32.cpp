#include "manualsignaldialog_win32.h"

#include "manualsignaldialog_rc.h"
#include "readthread.h"
#include "tarlindata.h"

#include <cstdlib>

namespace {

const wchar_t kWaitingEvent[] = L"_Manual_Signal_Proc_Waiting_Event_";
const DWORD kRefreshPeriodMs = 100;

// The value displays, their lines, where they stand (client pixels, with the dialog font's
// usual size) and their labels.
struct ValueDisplay {
    unsigned id;
    unsigned line;
    RECT place;
    unsigned label;
};

const ValueDisplay kDisplays[6] = {
    {IDC_SIGNAL_RTS_VALUE, CSignalState::kRts, {165, 49, 180, 65}, IDC_SIGNAL_RTS_LABEL},
    {IDC_SIGNAL_CTS_VALUE, CSignalState::kCts, {165, 67, 180, 83}, IDC_SIGNAL_CTS_LABEL},
    {IDC_SIGNAL_TXD_VALUE, CSignalState::kTxd, {165, 106, 180, 122}, IDC_SIGNAL_TXD_LABEL},
    {IDC_SIGNAL_DTR_VALUE, CSignalState::kDtr, {165, 146, 180, 162}, IDC_SIGNAL_DTR_LABEL},
    {IDC_SIGNAL_DSR_VALUE, CSignalState::kDsr, {165, 163, 180, 179}, IDC_SIGNAL_DSR_LABEL},
    {IDC_SIGNAL_DCD_VALUE, CSignalState::kDcd, {165, 180, 180, 196}, IDC_SIGNAL_DCD_LABEL},
};

const unsigned kAllLines = CSignalState::kRts | CSignalState::kCts | CSignalState::kTxd |
                           CSignalState::kDsr | CSignalState::kDtr | CSignalState::kDcd;

int LineValue(const CSignalState::Lines& lines, unsigned line) {
    switch (line) {
    case CSignalState::kRts: return lines.rts;
    case CSignalState::kCts: return lines.cts;
    case CSignalState::kTxd: return lines.txd;
    case CSignalState::kDsr: return lines.dsr;
    case CSignalState::kDtr: return lines.dtr;
    default: return lines.dcd;
    }
}

class CEventHandle {
public:
    explicit CEventHandle(HANDLE handle) : m_handle(handle) {}
    ~CEventHandle() {
        if (m_handle != nullptr) ::CloseHandle(m_handle);
    }
    CEventHandle(const CEventHandle&) = delete;
    CEventHandle& operator=(const CEventHandle&) = delete;
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

} // namespace

// --- Refresh thread --------------------------------------------------------------------------

int32_t TARLIN_THREAD_CALL CManualSignalThread::ThreadFunction(MyThreadContext* context) {
    HWND dialog = context != nullptr ? static_cast<HWND>(context->word[0]) : nullptr;
    CEventHandle waiting(::CreateEventW(nullptr, FALSE, FALSE, kWaitingEvent));
    if (dialog == nullptr || waiting.Get() == nullptr) return 0;
    for (;;) {
        ::WaitForSingleObject(waiting.Get(), kRefreshPeriodMs);
        if (!::IsWindow(dialog)) break;
        ::PostMessageW(dialog, WM_COMMAND, CManualSignalDialog::kRefreshCommand, 0);
    }
    return 1;
}

void CManualSignalThread::Wake() {
    CEventHandle waiting(::OpenEventW(EVENT_MODIFY_STATE, FALSE, kWaitingEvent));
    if (waiting.Get() != nullptr) ::SetEvent(waiting.Get());
}

// --- Dialog ----------------------------------------------------------------------------------

CManualSignalDialog::CManualSignalDialog(void* parent)
    : CMyDialog(IDD_MANUAL_SIGNALS, nullptr, parent) {}

CManualSignalDialog::~CManualSignalDialog() {
    StopThread();
}

LRESULT CManualSignalDialog::OnInitDialog() {
    SetTexts();
    CreateValueDisplays();
    if (m_data == nullptr) return 1;
    LowerOutputs();
    Refresh();
    UpdateButtonTexts();
    m_thread.SetContext(m_hWnd, nullptr, nullptr, nullptr);
    m_thread.Start(nullptr, 0);
    m_thread.SetPriority(kThreadPriorityAboveNormal);
    return 1;
}

void CManualSignalDialog::SetTexts() {
    SetWindowTextA("Manuální nastavení signálů");
    SetDlgItemTextA(IDC_SIGNAL_INPUTS, "Vstupní úrovně:");
    SetDlgItemTextA(IDC_SIGNAL_RTS_GROUP, " RTS ");
    SetDlgItemTextA(IDC_SIGNAL_TXD_GROUP, " TXD ");
    SetDlgItemTextA(IDC_SIGNAL_DTR_GROUP, " DTR ");
    for (unsigned id : {IDC_SIGNAL_RTS_0, IDC_SIGNAL_TXD_0, IDC_SIGNAL_DTR_0})
        SetDlgItemTextA(id, "0");
    for (unsigned id : {IDC_SIGNAL_RTS_1, IDC_SIGNAL_TXD_1, IDC_SIGNAL_DTR_1})
        SetDlgItemTextA(id, "1");
    SetDlgItemTextA(IDC_SIGNAL_STATE, "Akt. stav");
    SetDlgItemTextA(IDOK, "Konec");
}

// The displays stand at fixed heights just right of their labels, which are centred on them.
void CManualSignalDialog::CreateValueDisplays() {
    for (int i = 0; i < 6; ++i) {
        const ValueDisplay& display = kDisplays[i];
        RECT label = {0, 0, 0, 0};
        GetDialogItemRect(display.label, &label);
        const int left = label.right + 3;
        RECT place = {left, display.place.top, left + (display.place.right - display.place.left),
                      display.place.bottom};
        m_values[i].Create("0", WS_CHILD | WS_VISIBLE | 0x30, m_hWnd, display.id, 0, 0, &place);
        const int height = label.bottom - label.top;
        const int top = (display.place.top + display.place.bottom - height) / 2;
        MoveItemResize(display.label, label.left, top, label.right, top + height, nullptr);
    }
}

// The driver stops driving DTR and RTS itself; all three outputs start low.
void CManualSignalDialog::LowerOutputs() {
    m_data->DisableLineControl();
    m_data->SetRts(false);
    m_data->SetDtr(false);
    m_data->SetTxd(false);
    for (unsigned id : {IDC_SIGNAL_RTS_0, IDC_SIGNAL_TXD_0, IDC_SIGNAL_DTR_0})
        CheckDlgButton(id, BST_CHECKED);
    for (unsigned id : {IDC_SIGNAL_RTS_VALUE, IDC_SIGNAL_TXD_VALUE, IDC_SIGNAL_DTR_VALUE})
        SetDlgItemTextA(id, "0");
}

LRESULT CManualSignalDialog::OnCommand(WPARAM wParam, LPARAM) {
    static const Output kRts = {IDC_SIGNAL_RTS_0, IDC_SIGNAL_RTS_1, IDC_SIGNAL_RTS_TOGGLE};
    static const Output kTxd = {IDC_SIGNAL_TXD_0, IDC_SIGNAL_TXD_1, IDC_SIGNAL_TXD_TOGGLE};
    static const Output kDtr = {IDC_SIGNAL_DTR_0, IDC_SIGNAL_DTR_1, IDC_SIGNAL_DTR_TOGGLE};
    const unsigned id = LOWORD(wParam);
    switch (id) {
    case IDOK:
    case IDCANCEL: return EndDialog(2), 1;
    case IDC_SIGNAL_RTS_TOGGLE: return Toggle(kRts), 1;
    case IDC_SIGNAL_TXD_TOGGLE: return Toggle(kTxd), 1;
    case IDC_SIGNAL_DTR_TOGGLE: return Toggle(kDtr), 1;
    case kRefreshCommand: return Refresh() ? (UpdateButtonTexts(), 1) : 1;
    default: break;
    }
    const bool radio = id == kRts.zero || id == kRts.one || id == kTxd.zero || id == kTxd.one ||
                       id == kDtr.zero || id == kDtr.one;
    if (!radio || HIWORD(wParam) != BN_CLICKED) return 0;
    ApplyOutputs();
    if (Refresh()) UpdateButtonTexts();
    return 1;
}

void CManualSignalDialog::Toggle(const Output& output) {
    const bool one = RadioState(output) != 0;
    CheckDlgButton(output.one, one ? BST_UNCHECKED : BST_CHECKED);
    CheckDlgButton(output.zero, one ? BST_CHECKED : BST_UNCHECKED);
    ApplyOutputs();
    Refresh();
    UpdateButtonTexts();
}

// Output failures are not reported: the next refresh shows the buttons' state, not the line's.
void CManualSignalDialog::ApplyOutputs() {
    if (m_data == nullptr) return;
    const CSignalState::Lines& shown = m_state.GetLines();
    const int rts = IsDlgButtonChecked(IDC_SIGNAL_RTS_1) == BST_CHECKED;
    const int txd = IsDlgButtonChecked(IDC_SIGNAL_TXD_1) == BST_CHECKED;
    const int dtr = IsDlgButtonChecked(IDC_SIGNAL_DTR_1) == BST_CHECKED;
    if (rts != shown.rts) m_data->SetRts(rts != 0);
    if (dtr != shown.dtr) m_data->SetDtr(dtr != 0);
    if (txd != shown.txd) m_data->SetTxd(txd != 0);
}

bool CManualSignalDialog::Refresh() {
    CSignalState::Lines now = {0, 0, 0, -1, -1, -1};
    int32_t cts = -1, dcd = -1, dsr = -1;
    if (m_data != nullptr && m_data->GetModemStatus(&cts, &dcd, &dsr) == 1) {
        now.cts = cts;
        now.dcd = dcd;
        now.dsr = dsr;
    }
    now.rts = IsDlgButtonChecked(IDC_SIGNAL_RTS_1) == BST_CHECKED;
    now.txd = IsDlgButtonChecked(IDC_SIGNAL_TXD_1) == BST_CHECKED;
    now.dtr = IsDlgButtonChecked(IDC_SIGNAL_DTR_1) == BST_CHECKED;
    for (const ValueDisplay& display : kDisplays)
        SetDlgItemTextA(display.id, CSignalState::Text(LineValue(now, display.line)));
    if (!m_state.Refresh(now)) return false;
    Repaint(kAllLines);
    StartFade();
    return true;
}

void CManualSignalDialog::UpdateButtonTexts() {
    const CSignalState::Lines& lines = m_state.GetLines();
    SetDlgItemTextA(IDC_SIGNAL_RTS_TOGGLE, lines.rts ? "1 -> 0" : "0 -> 1");
    SetDlgItemTextA(IDC_SIGNAL_TXD_TOGGLE, lines.txd ? "1 -> 0" : "0 -> 1");
    SetDlgItemTextA(IDC_SIGNAL_DTR_TOGGLE, lines.dtr ? "1 -> 0" : "0 -> 1");
}

void CManualSignalDialog::Repaint(unsigned lines) {
    for (const ValueDisplay& display : kDisplays)
        if (lines & display.line) ::InvalidateRect(GetDlgItem(display.id), nullptr, TRUE);
}

void CManualSignalDialog::StartFade() {
    if (m_timerId < 0) m_timerId = std::rand() % 9999;
    SetTimer(static_cast<unsigned>(m_timerId), CSignalState::kFullHighlight, nullptr);
}

LRESULT CManualSignalDialog::OnTimer(WPARAM id, TIMERPROC) {
    if (static_cast<int>(id) != m_timerId) return 0;
    const int period = m_state.FadeStep();
    if (period == 0)
        KillTimer(static_cast<unsigned>(m_timerId));
    else
        SetTimer(static_cast<unsigned>(m_timerId), static_cast<unsigned>(period), nullptr);
    Repaint(m_state.GetChanged());
    return 0;
}

// Changed values are drawn bold in a green that fades; the others keep the default colour.
// Anything else arriving as this message (the dialog manager's default-button message has the
// same number) is left to the dialog manager.
LRESULT CManualSignalDialog::OnMyColoredTextGetTextParam(WPARAM id,
                                                         MY_COLORED_TEXT_STRUCT* parameters) {
    if (parameters == nullptr) return 0;
    for (const ValueDisplay& display : kDisplays) {
        if (display.id != id) continue;
        if (m_state.IsHighlighted(display.line)) {
            parameters->green = static_cast<unsigned char>(m_state.GetHighlight());
            parameters->bold = 1;
        }
        return 1;
    }
    return 0;
}

LRESULT CManualSignalDialog::OnDestroy() {
    if (m_timerId >= 0) KillTimer(static_cast<unsigned>(m_timerId));
    CManualSignalThread::Wake();
    return CMyDialog::OnDestroy();
}

// The thread ends within one period once the window is gone.
void CManualSignalDialog::StopThread() {
    if (!m_thread.HasThread()) return;
    CManualSignalThread::Wake();
    int32_t code = 0;
    m_thread.Wait(2000, &code);
}

INT_PTR RunManualSignalDialog(HWND owner, CTarlinData& data, CReadThread& readThread) {
    readThread.RequestSuspend();
    CManualSignalDialog dialog(owner);
    dialog.SetAppData(&data);
    dialog.Create("Manuální nastavení signálů", 0, owner, 0, 0, 0, nullptr);
    const INT_PTR result = dialog.Show(-1);
    readThread.RequestResume();
    return result;
}
