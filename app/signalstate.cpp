#include "signalstate.h"

namespace {

const int kFadeStep = 15;
// Below this the green is too dark to tell from black: the fade ends.
const int kFadeEnd = 100;

} // namespace

bool CSignalState::Refresh(const Lines& now) {
    unsigned changed = 0;
    if (now.rts != m_lines.rts) changed |= kRts;
    if (now.cts != m_lines.cts) changed |= kCts;
    if (now.txd != m_lines.txd) changed |= kTxd;
    if (now.dsr != m_lines.dsr) changed |= kDsr;
    if (now.dtr != m_lines.dtr) changed |= kDtr;
    if (now.dcd != m_lines.dcd) changed |= kDcd;
    m_lines = now;
    if (changed == 0) return false;
    m_changed = changed;
    m_highlight = kFullHighlight;
    return true;
}

int CSignalState::FadeStep() {
    m_highlight -= kFadeStep;
    if (m_highlight < kFadeEnd) m_highlight = 0;
    return m_highlight;
}

const char* CSignalState::Text(int value) {
    return value < 0 ? "-" : (value == 0 ? "0" : "1");
}
