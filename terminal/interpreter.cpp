#include "interpreter.h"

#include <cctype>

namespace {

const unsigned char kEscape = 27;
const unsigned char kFormFeed = 12;

bool IsPrintable(unsigned char b) {
    return b >= 0x20 && b <= 0x7E;
}

bool KeepsSequenceOpen(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '=' || c == '[' || c == ';';
}

} // namespace

void CInterpreter::Interpret(const char* data, int length, int escapeMode, int hexOutput) {
    if (data == nullptr) return;
    for (int i = 0; i < length; ++i)
        InterpretByte(static_cast<unsigned char>(data[i]), escapeMode, hexOutput);
}

void CInterpreter::InterpretByte(unsigned char b, int escapeMode, int hexOutput) {
    const bool hex = hexOutput == 1;
    if (hex || escapeMode == kEscapeNone || (!m_inEscape && b != kEscape)) {
        if (!hex && escapeMode == kEscapeAnsi && b == kFormFeed)
            m_buffer.Clear();
        else
            m_buffer.PutChar(b, true, hexOutput);
        return;
    }
    EscapeByte(b, hexOutput);
}

void CInterpreter::EscapeByte(unsigned char b, int hexOutput) {
    if (b == kEscape) {
        m_inEscape = true;
        return;
    }
    if (!IsPrintable(b)) return;
    m_sequence[m_length++] = static_cast<char>(b);
    m_sequence[m_length] = 0;
    if (IsFinal(static_cast<char>(b))) {
        ActOnFinal(static_cast<char>(b));
        EndSequence();
        return;
    }
    if (KeepsSequenceOpen(static_cast<char>(b)) && m_length <= kLongestOpenSequence) return;
    Abandon(hexOutput);
}

void CInterpreter::EndSequence() {
    m_length = 0;
    m_sequence[0] = 0;
    m_inEscape = false;
}

void CInterpreter::Abandon(int hexOutput) {
    for (int i = 0; i < m_length; ++i)
        m_buffer.PutChar(static_cast<unsigned char>(m_sequence[i]), true, hexOutput);
    EndSequence();
}

// The decimal number starting at index (0 without digits); end gets the index after it.
// Values are capped well beyond any screen coordinate so that long digit runs cannot overflow.
int CInterpreter::NumberAt(int index, int* end) const {
    int value = 0;
    int i = index;
    for (; i < m_length && std::isdigit(static_cast<unsigned char>(m_sequence[i])); ++i)
        value = value > 100000 ? value : value * 10 + (m_sequence[i] - '0');
    if (end != nullptr) *end = i;
    return value;
}

bool CInterpreter::IsFinal(char c) {
    switch (c) {
    case 'A':
    case 'B':
    case 'C':
    case 'D':
    case 'H':
    case 'f':
    case 'J':
    case 'K':
    case 'm':
    case 'h':
    case 'l':
    case 'p':
    case 's':
    case 'u': return true;
    default: return false;
    }
}

void CInterpreter::ActOnFinal(char final) {
    int end = 1;
    const int n = NumberAt(1, &end);
    const int secondNumber = NumberAt(end + 1, nullptr);
    const char beforeFinal = m_length >= 2 ? m_sequence[m_length - 2] : 0;
    switch (final) {
    case 'A': m_buffer.CursorUp(n - 1); break;
    case 'B': m_buffer.CursorDown(n - 1); break;
    case 'C': m_buffer.CursorRight(n - 1); break;
    case 'D': m_buffer.CursorLeft(n - 1); break;
    case 'H':
    case 'f': m_buffer.GoTo(n - 1, secondNumber - 1); break;
    case 'J':
        if (beforeFinal == '2')
            m_buffer.Clear();
        else if (beforeFinal == '1')
            m_buffer.ClearToStart();
        else if (beforeFinal == '0' || beforeFinal == '[')
            m_buffer.ClearToEnd();
        break;
    case 'K': m_buffer.ClearLineToEnd(); break;
    case 'm': m_buffer.SetAnsiAttributes(m_sequence); break;
    default: break;
    }
}

void EchoToBuffer(CStdBuffer& buffer, const unsigned char* data, int count, int hexOutput,
                  bool crAsLineFeed) {
    if (data == nullptr || count <= 0) return;
    CStdBufferHold hold(buffer);
    const uint8_t saved = buffer.GetAttribute();
    buffer.SetAttribute(CStdBuffer::kEchoAttribute);
    for (int i = 0; i < count; ++i) {
        unsigned char b = data[i];
        if (crAsLineFeed && hexOutput != 1 && b == 13) b = 10;
        buffer.PutChar(b, true, hexOutput);
    }
    buffer.SetAttribute(saved);
}
