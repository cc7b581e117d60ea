#include "escape.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

uint32_t Range(int start, int end) {
    return (static_cast<uint32_t>(end & 0xFFFF) << 16) | static_cast<uint32_t>(start & 0xFFFF);
}

// The byte of a one-character sequence, or -1.
int SimpleSequence(char c) {
    switch (c) {
    case 'b': return 0x08;
    case 't': return 0x09;
    case 'n': return 0x0A;
    case 'r': return 0x0D;
    case '"': return 0x22;
    case '\'': return 0x27;
    case '\\': return 0x5C;
    default: return -1;
    }
}

} // namespace

CEscape::CEscape() = default;

CEscape::~CEscape() = default;

bool CEscape::Reserve(int n) {
    if (m_capacity >= n) return true;
    m_data.reset();
    m_capacity = 0;
    m_length = 0;
    if (n > (INT_MAX - 1) / 2) return false;
    m_data.reset(new (std::nothrow) char[static_cast<size_t>(2 * n) + 1]);
    if (!m_data) return false;
    m_capacity = 2 * n;
    m_data[0] = 0;
    m_data[m_capacity] = 0;
    return true;
}

bool CEscape::SetText(const char* text) {
    if (text == nullptr) return false;
    const size_t length = std::strlen(text);
    if (length >= INT_MAX / 2 || !Reserve(static_cast<int>(length) + 1)) return false;
    std::memcpy(m_data.get(), text, length + 1);
    m_length = static_cast<int>(length);
    return true;
}

bool CEscape::KeepTyped() {
    if (!m_data) return false;
    m_length = static_cast<int>(strnlen(m_data.get(), static_cast<size_t>(m_capacity)));
    m_data[m_length] = 0;
    return m_typed.InitBuffer(m_data.get()) == 1;
}

bool CEscape::AppendText(const char* text) {
    if (text == nullptr || !m_data) return false;
    const size_t added = std::strlen(text);
    if (added > static_cast<size_t>(m_capacity - m_length)) return false;
    std::memcpy(m_data.get() + m_length, text, added + 1);
    m_length += static_cast<int>(added);
    return true;
}

bool CEscape::SetLength(int length) {
    if (!m_data || length < 0 || length > m_capacity) return false;
    m_length = length;
    m_data[m_length] = 0;
    return true;
}

bool CEscape::RemoveBefore(int position, int count) {
    if (position < 0 || count < 0 || position < count || position > m_length || !m_data)
        return false;
    std::memmove(m_data.get() + position - count, m_data.get() + position,
                 static_cast<size_t>(m_length - position));
    m_length -= count;
    return true;
}

uint32_t CEscape::Decode() {
    if (!m_data) return 0;
    int previous = 0;
    int typed = 0;
    for (const char* found = static_cast<const char*>(
             std::memchr(m_data.get(), '\\', static_cast<size_t>(m_length)));
         found != nullptr;) {
        const int index = static_cast<int>(found - m_data.get());
        typed += index - previous;
        int removed = 0;
        const int failedWidth = DecodeAt(index, &removed);
        if (failedWidth > 0) return Range(typed, typed + failedWidth);
        typed += removed;
        previous = index;
        const int next = index + 1;
        found = next < m_length
                    ? static_cast<const char*>(std::memchr(m_data.get() + next, '\\',
                                                           static_cast<size_t>(m_length - next)))
                    : nullptr;
    }
    return 0;
}

// Decodes the sequence whose backslash is at index; 0 when done (removed gets the count of
// characters dropped), else the width of the bad sequence's range.
int CEscape::DecodeAt(int index, int* removed) {
    const char next = index + 1 < m_length ? m_data[index + 1] : 0;
    if (index + 1 < m_length && SimpleSequence(next) >= 0) {
        ReplaceSequence(index, static_cast<char>(SimpleSequence(next)), 1);
        *removed = 1;
        return 0;
    }
    int value = 0;
    if (index + 1 < m_length && next >= '0' && next <= '7') {
        if (index + 4 > m_length || !ReadNumber(index + 1, 8, &value)) return 4;
        ReplaceSequence(index, static_cast<char>(value & 0xFF), 3);
        *removed = 3;
        return 0;
    }
    if (index + 1 < m_length && (next == 'x' || next == 'X')) {
        if (index + 5 > m_length || !ReadNumber(index + 2, 16, &value)) return 5;
        ReplaceSequence(index, static_cast<char>(value & 0xFF), 4);
        *removed = 4;
        return 0;
    }
    return 2;
}

// Reads the three characters at index as one number of the base, the way strtol does;
// accepted only when the number ends exactly after them.
int CEscape::ReadNumber(int index, int base, int* value) {
    if (!m_scratch.SetString(m_data.get() + index, 3)) return 0;
    const char* digits = m_scratch.GetString();
    char* end = nullptr;
    const long number = std::strtol(digits, &end, base);
    if (end != digits + 3) return 0;
    *value = static_cast<int>(number);
    return 1;
}

void CEscape::ReplaceSequence(int index, char byte, int removed) {
    m_data[index] = byte;
    RemoveBefore(index + 1 + removed, removed);
    m_data[m_length] = 0;
}
