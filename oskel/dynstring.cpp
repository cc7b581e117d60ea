#include "dynstring.h"

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const int kMinRequest = 16;

int Length(const char* text) {
    return static_cast<int>(std::strlen(text));
}

bool IsWhite(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A request for n characters gets 2n + 1 bytes; refuse sizes that would overflow.
char* AllocateFor(int n) {
    if (n < 0 || n > (INT_MAX - 1) / 2) return nullptr;
    return static_cast<char*>(std::malloc(static_cast<size_t>(2 * n + 1)));
}

} // namespace

CDynString::CDynString() : m_buffer(nullptr), m_capacity(0) {}

CDynString::CDynString(int n) : m_buffer(nullptr), m_capacity(0) {
    InitBuffer(n > kMinRequest ? n : kMinRequest);
}

CDynString::CDynString(const char* text) : m_buffer(nullptr), m_capacity(0) {
    InitBuffer(text);
}

CDynString::~CDynString() {
    FreeBuffer();
}

int CDynString::InitBuffer(int n) {
    if (n < 0 && m_buffer == nullptr) return 0; // nothing to empty, and no size to make
    if (n < m_capacity) {
        m_buffer[0] = 0;
        return 1;
    }
    FreeBuffer();
    char* fresh = AllocateFor(n);
    if (fresh == nullptr) return 0;
    m_buffer = fresh;
    m_capacity = 2 * n;
    m_buffer[0] = 0;
    return 1;
}

int CDynString::InitBuffer(const char* text) {
    if (text != nullptr && Owns(text)) {
        CDynString copy(text);
        return copy.GetString() != nullptr && InitBuffer(copy.GetString());
    }
    const int length = text != nullptr ? Length(text) : 0;
    if (!InitBuffer(length > kMinRequest ? length : kMinRequest)) return 0;
    if (text != nullptr) std::memcpy(m_buffer, text, static_cast<size_t>(length) + 1);
    return 1;
}

bool CDynString::Owns(const char* text) const {
    return m_buffer != nullptr && text >= m_buffer && text <= m_buffer + m_capacity;
}

void CDynString::FreeBuffer() {
    std::free(m_buffer);
    m_buffer = nullptr;
    m_capacity = 0;
}

int CDynString::SetString(const char* text, int count) {
    if (text == nullptr || count < 0) return 0;
    if (static_cast<int>(strnlen(text, static_cast<size_t>(count))) < count) return 0;
    // The source may live in our own buffer, which InitBuffer empties or replaces.
    if (Owns(text)) {
        CDynString copy;
        if (!copy.SetString(text, count)) return 0;
        return SetString(copy.GetString(), count);
    }
    if (!InitBuffer(count)) return 0;
    std::memmove(m_buffer, text, static_cast<size_t>(count));
    m_buffer[count] = 0;
    return 1;
}

int CDynString::SetStringAt(const char* text, int pos) {
    if (m_buffer == nullptr || text == nullptr || pos < 0) return 0;
    const int length = Length(text);
    if (static_cast<long long>(pos) + length > m_capacity) return 0;
    std::memmove(m_buffer + pos, text, static_cast<size_t>(length) + 1);
    return 1;
}

int CDynString::Append(const char* text) {
    if (text == nullptr) return 0;
    if (m_buffer == nullptr) return InitBuffer(text);
    const int current = Length(m_buffer);
    const int added = Length(text);
    if (added > INT_MAX / 2 - current) return 0;
    const int total = current + added;
    if (total > m_capacity) {
        char* fresh = AllocateFor(total);
        if (fresh == nullptr) return 0;
        std::memcpy(fresh, m_buffer, static_cast<size_t>(current));
        std::memcpy(fresh + current, text, static_cast<size_t>(added) + 1);
        std::free(m_buffer);
        m_buffer = fresh;
        m_capacity = 2 * total;
    } else {
        std::memmove(m_buffer + current, text, static_cast<size_t>(added) + 1);
    }
    return 1;
}

char* CDynString::FindChar(char c, int start) {
    if (m_buffer == nullptr || start < 0 || Length(m_buffer) < start) return nullptr;
    return std::strchr(m_buffer + start, c);
}

char* CDynString::FindCharReverse(char c, int start) {
    if (m_buffer == nullptr || start < 0 || Length(m_buffer) < start) return nullptr;
    return std::strrchr(m_buffer + start, c);
}

int CDynString::ReplaceChar(char from, char to) {
    if (m_buffer == nullptr) return -1;
    if (from == 0) return 0; // would cut the text at its terminator
    char* hit = std::strchr(m_buffer, from);
    if (hit == nullptr) return 0;
    *hit = to;
    return 1;
}

int CDynString::Replace(const char* find, const char* repl, int start) {
    if (m_buffer == nullptr || find == nullptr || repl == nullptr) return -1;
    const int len = Length(m_buffer);
    if (start < 0 || start >= len) return -2;
    if (*find == 0) return 0; // an empty pattern matches nothing worth replacing
    const char* match = std::strstr(m_buffer + start, find);
    if (match == nullptr) return 0;
    const int pos = static_cast<int>(match - m_buffer);
    const int f = Length(find);
    const int r = Length(repl);
    if (r > INT_MAX / 2 - len) return -3;
    // repl may point into our buffer; keep a private copy before anything moves.
    CDynString replacement;
    if (!replacement.InitBuffer(repl)) return -3;
    if (len + r - f >= m_capacity) {
        char* fresh = AllocateFor(len + r);
        if (fresh == nullptr) return -3;
        std::memcpy(fresh, m_buffer, static_cast<size_t>(len) + 1);
        std::free(m_buffer);
        m_buffer = fresh;
        m_capacity = 2 * (len + r);
    }
    const int tail = len - pos - f;
    std::memmove(m_buffer + pos + r, m_buffer + pos + f, static_cast<size_t>(tail));
    std::memcpy(m_buffer + pos, replacement.GetString(), static_cast<size_t>(r));
    m_buffer[len - f + r] = 0;
    return 1;
}

int CDynString::TrimLeft() {
    if (m_buffer == nullptr) return 0;
    int first = 0;
    while (m_buffer[first] != 0 && IsWhite(m_buffer[first]))
        ++first;
    if (first == 0 || m_buffer[first] == 0) return 1;
    std::memmove(m_buffer, m_buffer + first, std::strlen(m_buffer + first) + 1);
    return 1;
}

int CDynString::TrimRight() {
    if (m_buffer == nullptr) return 0;
    for (int i = Length(m_buffer) - 1; i >= 0 && IsWhite(m_buffer[i]); --i)
        m_buffer[i] = 0;
    return 1;
}

int CDynString::Trim() {
    const int right = TrimRight();
    const int left = TrimLeft();
    return right == 1 && left == 1 ? 1 : 0;
}

int CDynString::Format(const char* format, ...) {
    if (format == nullptr) return 0;
    va_list args;
    va_start(args, format);
    const int result = BufferFormatedWrite(format, &args);
    va_end(args);
    return result;
}

int CDynString::FormatList(void* argList, const char* format) {
    if (argList == nullptr || format == nullptr) return 0;
    return BufferFormatedWrite(format, argList);
}

int CDynString::BufferFormatedWrite(const char* format, void* argList) {
    if (format == nullptr || argList == nullptr) return 0;
    if (m_buffer == nullptr) {
        const int twice = Length(format) > INT_MAX / 4 ? INT_MAX / 2 : 2 * Length(format);
        if (!InitBuffer(twice > kMinRequest ? twice : kMinRequest)) return 0;
    }
    va_list& source = *static_cast<va_list*>(argList);
    for (;;) {
        va_list args;
        va_copy(args, source);
        // The engine behind Format, whose callers' formats the compiler checks.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
        const int written =
            std::vsnprintf(m_buffer, static_cast<size_t>(m_capacity) + 1, format, args);
#pragma GCC diagnostic pop
        va_end(args);
        if (written < 0) return 0;
        if (written <= m_capacity) return 1;
        if (m_capacity > (INT_MAX - 1) / 4) return 0;
        if (!InitBuffer(2 * m_capacity + 1)) return 0;
    }
}
