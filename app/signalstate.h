// What the manual-signal dialog shows: the three output lines as the user set them, the three
// input lines as last read, which of them changed at the last refresh, and the green fade that
// marks a change.
#pragma once

class CSignalState {
public:
    // The changed set's bits.
    enum : unsigned {
        kRts = 0x1,
        kCts = 0x4,
        kTxd = 0x10,
        kDsr = 0x40,
        kDtr = 0x100,
        kDcd = 0x400,
    };

    // Outputs 0 or 1; inputs 0, 1 or -1 when they could not be read.
    struct Lines {
        int rts;
        int txd;
        int dtr;
        int cts;
        int dsr;
        int dcd;
    };

    static constexpr int kFullHighlight = 255;

    // Stores the lines. When any differs from what was stored, the changed set becomes the
    // differing lines, the fade starts again at full green and the result is true.
    bool Refresh(const Lines& now);
    // One step of the fade: the next timer period in ms, or 0 when the fade is over (the changed
    // lines are then drawn normally again).
    int FadeStep();

    const Lines& GetLines() const { return m_lines; }
    unsigned GetChanged() const { return m_changed; }
    int GetHighlight() const { return m_highlight; }
    // Whether a line (one bit) is drawn in the fading green now.
    bool IsHighlighted(unsigned line) const { return (m_changed & line) != 0 && m_highlight > 0; }

    static const char* Text(int value);

private:
    Lines m_lines = {0, 0, 0, 0, 0, 0};
    unsigned m_changed = 0;
    int m_highlight = 0;
};
