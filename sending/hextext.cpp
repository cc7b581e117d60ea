#include "hextext.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char kDigits[] = "0123456789ABCDEF";

} // namespace

bool FormatHexText(CDynString& text, int& caret) {
    const char* source = text.GetString() != nullptr ? text.GetString() : "";
    std::string formatted;
    for (const char* c = source; *c != 0; ++c) {
        if (!std::isxdigit(static_cast<unsigned char>(*c))) continue;
        if (!formatted.empty() && formatted.size() % 3 == 2) formatted += ' ';
        formatted += static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
    }
    const int length = static_cast<int>(formatted.size());
    caret = caret < 0 ? 0 : (caret > length ? length : caret);
    if (caret > 0 && caret < length && formatted[static_cast<size_t>(caret) - 1] == ' ') ++caret;
    return text.InitBuffer(formatted.c_str()) == 1;
}

int ParseHexText(const char* text, CEscape& out) {
    if (text == nullptr || *text == 0) return 0;
    int pieces = 1;
    for (const char* c = text; *c != 0; ++c)
        pieces += *c == ' ';
    if (!out.Reserve(pieces + 5)) return -1;
    std::string piece;
    int count = 0;
    for (const char* c = text;; ++c) {
        if (*c == ' ' || *c == 0) {
            out.GetData()[count++] =
                static_cast<char>(std::strtol(piece.c_str(), nullptr, 16) & 0xFF);
            piece.clear();
            if (*c == 0) break;
        } else {
            piece += *c;
        }
    }
    out.SetLength(count);
    return count;
}

uint32_t EscapeToHexText(const char* text, bool escapesEnabled, CDynString& out) {
    const char* typed = text != nullptr ? text : "";
    CEscape escape;
    if (!escape.Reserve(static_cast<int>(std::strlen(typed)) + 5) || !escape.SetText(typed) ||
        !escape.KeepTyped())
        return 0xFFFFFFFF;
    if (escapesEnabled) {
        if (const uint32_t range = escape.Decode()) return range;
    }
    std::string digits;
    for (int i = 0; i < escape.GetLength(); ++i) {
        const unsigned char b = static_cast<unsigned char>(escape.GetData()[i]);
        digits += kDigits[b >> 4];
        digits += kDigits[b & 0x0F];
    }
    CDynString formatted(digits.c_str());
    int caret = 0;
    if (!FormatHexText(formatted, caret)) return 0xFFFFFFFF;
    return out.InitBuffer(formatted.GetString()) == 1 ? 0 : 0xFFFFFFFF;
}

bool HexToEscapeText(const char* text, CDynString& out) {
    CEscape bytes;
    const int count = ParseHexText(text, bytes);
    if (count < 1) return false;
    std::string escaped;
    for (int i = 0; i < count; ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes.GetData()[i]);
        if (b < 0x20 || b >= 0x80 || b == 0x5C) {
            escaped += "\\x0";
            escaped += kDigits[b >> 4];
            escaped += kDigits[b & 0x0F];
        } else {
            escaped += static_cast<char>(b);
        }
    }
    return out.InitBuffer(escaped.c_str()) == 1;
}
