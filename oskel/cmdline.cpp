#include "cmdline.h"

#include <cstring>

namespace {

const int kNotFound = 0x7FFFFFFF;

int IndexOf(CDynString& text, char c, int start) {
    const char* hit = text.FindChar(c, start);
    return hit != nullptr ? static_cast<int>(hit - text.GetString()) : kNotFound;
}

int TextLength(const CDynString& text) {
    return text.GetString() != nullptr ? static_cast<int>(std::strlen(text.GetString())) : 0;
}

} // namespace

CCmdLine::CCmdLine() : m_position(-1), m_breakKind(None) {
    Init(nullptr);
}

CCmdLine::CCmdLine(const char* commandLine) : m_position(-1), m_breakKind(None) {
    Init(commandLine);
}

CCmdLine::~CCmdLine() = default;

void CCmdLine::Init(const char* commandLine) {
    m_position = -1;
    m_breakKind = None;
    m_text.InitBuffer(commandLine);
    // A parameter of the previous text must not pass for one of this text.
    m_param.FreeBuffer();
}

void CCmdLine::SetCommandLine(const char* commandLine) {
    Init(commandLine);
}

int CCmdLine::FindBreak(int kind) {
    const int dq = IndexOf(m_text, '"', m_position);
    const int sq = IndexOf(m_text, '\'', m_position);
    const int sp = IndexOf(m_text, ' ', m_position);
    const auto orMissing = [](int index) { return index == kNotFound ? -1 : index; };
    switch (kind) {
    case EndOfText: m_breakKind = EndOfText; return TextLength(m_text);
    case Space: m_breakKind = Space; return orMissing(sp);
    case DoubleQuote: m_breakKind = DoubleQuote; return orMissing(dq);
    case Apostrophe: m_breakKind = Apostrophe; return orMissing(sq);
    default: break;
    }
    m_breakKind = EndOfText;
    int first = sp < dq ? sp : dq;
    if (sq < first) first = sq;
    if (first == kNotFound) return TextLength(m_text);
    m_breakKind = first == dq ? DoubleQuote : first == sq ? Apostrophe : Space;
    return first;
}

int CCmdLine::InitParam(int end) {
    if (m_position < 0 || end <= m_position || end > TextLength(m_text)) return 0;
    if (!m_param.SetString(m_text.GetString() + m_position, end - m_position)) return 0;
    m_position = end + 1;
    return 1;
}

int CCmdLine::ExtractParam() {
    for (;;) {
        const int found = FindBreak(-1);
        switch (m_breakKind) {
        case DoubleQuote:
        case Apostrophe: {
            const int quote = m_breakKind;
            m_position = found + 1;
            const int closing = FindBreak(quote);
            if (closing < 0) {
                m_position = -1;
                return 0;
            }
            return InitParam(closing);
        }
        case Space:
            if (found > m_position) return InitParam(found);
            ++m_position; // skip a run of spaces
            break;
        default: return InitParam(found);
        }
    }
}

int CCmdLine::GetFirstParam() {
    if (m_text.IsEmpty()) return 0;
    m_position = 0;
    return ExtractParam();
}

int CCmdLine::GetNextParam() {
    if (m_text.IsEmpty() || m_param.IsEmpty() || m_position == -1) return 0;
    return ExtractParam();
}
