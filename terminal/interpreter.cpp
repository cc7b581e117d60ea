#include "interpreter.h"

#include <algorithm>
#include <cstring>

namespace {

const unsigned char kEscape = 27;
const unsigned char kFormFeed = 12;

constexpr bool IsPrintable(unsigned char b) {
    return b >= 0x20 && b <= 0x7E;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr bool IsFinal(unsigned char c) {
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

constexpr bool KeepsSequenceOpen(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '=' ||
           c == '[' || c == ';';
}

// What a byte does to an open sequence.
enum class SequenceByte : uint8_t { kDropped, kOpen, kFinal, kAbandons };

struct SequenceTable {
    SequenceByte kind[256];
};

constexpr SequenceTable MakeSequenceTable() {
    SequenceTable table{};
    for (int b = 0; b < 256; ++b) {
        const unsigned char c = static_cast<unsigned char>(b);
        table.kind[b] = !IsPrintable(c)        ? SequenceByte::kDropped
                        : IsFinal(c)           ? SequenceByte::kFinal
                        : KeepsSequenceOpen(c) ? SequenceByte::kOpen
                                               : SequenceByte::kAbandons;
    }
    return table;
}

constexpr SequenceTable kSequenceBytes = MakeSequenceTable();

// A chunk is written in slices of this many bytes, each one update of the buffer: the
// user-interface thread waits for the lock at most one slice's work.
const int kSlice = 1024;

} // namespace

void CInterpreter::Interpret(const char* data, int length, int escapeMode, int hexOutput) {
    if (data == nullptr) return;
    for (int at = 0; at < length; at += kSlice)
        InterpretSlice(data + at, std::min(kSlice, length - at), escapeMode, hexOutput);
}

// Routed as Route does, but without an update around it: one byte makes one buffer
// operation at most, which is an update of its own.
void CInterpreter::InterpretByte(unsigned char b, int escapeMode, int hexOutput) {
    const bool hex = hexOutput == 1;
    if (hex || escapeMode == kEscapeNone || (!m_inEscape && b != kEscape)) {
        if (!hex && escapeMode == kEscapeAnsi && b == kFormFeed)
            m_buffer.Clear();
        else
            m_buffer.PutChar(b, true, hexOutput);
    } else if (b == kEscape) {
        m_inEscape = true;
    } else {
        const char c = static_cast<char>(b);
        CollectSequence(&c, 1, hexOutput);
    }
}

// One update of the buffer, so the mark moves once.
void CInterpreter::InterpretSlice(const char* data, int length, int escapeMode, int hexOutput) {
    CStdBufferUpdate update(m_buffer);
    Route(data, length, escapeMode, hexOutput);
}

// Bytes that go straight to the buffer are handed over in runs.
void CInterpreter::Route(const char* data, int length, int escapeMode, int hexOutput) {
    const bool hex = hexOutput == 1;
    const bool escapes = !hex && escapeMode != kEscapeNone;
    const bool formFeedClears = !hex && escapeMode == kEscapeAnsi;
    for (int i = 0; i < length;) {
        if (escapes && m_inEscape) {
            i += CollectSequence(data + i, length - i, hexOutput);
            continue;
        }
        const int run = PlainRun(data + i, length - i, escapes, formFeedClears);
        if (run > 0) {
            m_buffer.PutText(data + i, run, true, hexOutput);
            i += run;
        } else if (data[i] == static_cast<char>(kFormFeed)) {
            m_buffer.Clear();
            ++i;
        } else {
            m_inEscape = true; // the escape byte itself is not collected
            ++i;
        }
    }
}

// How many bytes from data on go to the buffer as they are: up to an escape byte, or a form
// feed that clears.
int CInterpreter::PlainRun(const char* data, int length, bool escapes, bool formFeedClears) {
    if (!escapes) return length;
    const void* escape = std::memchr(data, kEscape, static_cast<size_t>(length));
    int n = escape != nullptr ? static_cast<int>(static_cast<const char*>(escape) - data) : length;
    if (formFeedClears) {
        const void* formFeed = std::memchr(data, kFormFeed, static_cast<size_t>(n));
        if (formFeed != nullptr) n = static_cast<int>(static_cast<const char*>(formFeed) - data);
    }
    return n;
}

// Bytes of an open sequence up to its end; returns how many were taken. Bytes that are not
// printable, an escape byte among them, are dropped and leave the sequence open.
int CInterpreter::CollectSequence(const char* data, int length, int hexOutput) {
    int n = m_length;
    for (int i = 0; i < length;) {
        const char c = data[i++];
        const SequenceByte kind = kSequenceBytes.kind[static_cast<unsigned char>(c)];
        if (kind == SequenceByte::kDropped) continue;
        m_sequence[n++] = c;
        if (kind == SequenceByte::kOpen && n <= kLongestOpenSequence) continue;
        m_length = n;
        m_sequence[n] = 0;
        if (kind == SequenceByte::kFinal) {
            ActOnFinal(c);
            EndSequence();
        } else {
            Abandon(hexOutput);
        }
        return i;
    }
    m_length = n;
    m_sequence[n] = 0;
    return length;
}

void CInterpreter::EndSequence() {
    m_length = 0;
    m_sequence[0] = 0;
    m_inEscape = false;
}

void CInterpreter::Abandon(int hexOutput) {
    m_buffer.PutText(m_sequence, m_length, true, hexOutput);
    EndSequence();
}

// The decimal number starting at index (0 without digits); end gets the index after it.
// Values are capped well beyond any screen coordinate so that long digit runs cannot overflow.
int CInterpreter::NumberAt(int index, int* end) const {
    int value = 0;
    int i = index;
    for (; i < m_length && IsDigit(m_sequence[i]); ++i)
        value = value > 100000 ? value : value * 10 + (m_sequence[i] - '0');
    if (end != nullptr) *end = i;
    return value;
}

void CInterpreter::ActOnFinal(char final) {
    switch (final) {
    case 'A': m_buffer.CursorUp(NumberAt(1, nullptr) - 1); break;
    case 'B': m_buffer.CursorDown(NumberAt(1, nullptr) - 1); break;
    case 'C': m_buffer.CursorRight(NumberAt(1, nullptr) - 1); break;
    case 'D': m_buffer.CursorLeft(NumberAt(1, nullptr) - 1); break;
    case 'H':
    case 'f': GoToPosition(); break;
    case 'J': EraseInDisplay(); break;
    case 'K': m_buffer.ClearLineToEnd(); break;
    case 'm': m_buffer.SetAnsiAttributes(m_sequence); break;
    default: break;
    }
}

// Row and column counted from 1; the column's number starts one character after the row's.
void CInterpreter::GoToPosition() {
    int end = 1;
    const int row = NumberAt(1, &end);
    m_buffer.GoTo(row - 1, NumberAt(end + 1, nullptr) - 1);
}

// By the character before the final: 2 all, 1 up to the cursor, 0 or none from the cursor.
void CInterpreter::EraseInDisplay() {
    const char beforeFinal = m_length >= 2 ? m_sequence[m_length - 2] : 0;
    if (beforeFinal == '2')
        m_buffer.Clear();
    else if (beforeFinal == '1')
        m_buffer.ClearToStart();
    else if (beforeFinal == '0' || beforeFinal == '[')
        m_buffer.ClearToEnd();
}

void EchoToBuffer(CStdBuffer& buffer, const unsigned char* data, int count, int hexOutput,
                  bool crAsLineFeed) {
    if (data == nullptr || count <= 0) return;
    CStdBufferUpdate update(buffer);
    const uint8_t saved = buffer.GetAttribute();
    buffer.SetAttribute(CStdBuffer::kEchoAttribute);
    if (crAsLineFeed && hexOutput != 1) {
        for (int i = 0; i < count; ++i)
            buffer.PutChar(data[i] == 13 ? 10 : data[i], true, hexOutput);
    } else {
        buffer.PutText(reinterpret_cast<const char*>(data), count, true, hexOutput);
    }
    buffer.SetAttribute(saved);
}
