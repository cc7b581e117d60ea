#include "codepage.h"

namespace {

// Unicode of the bytes 0x80-0xFF; 0 where the code page has no character, which then
// maps to the C1 control of the same value (as Windows does), so bytes survive a round trip.
// clang-format off
const unsigned short kHighHalf[128] = {
    0x20AC, 0x0000, 0x201A, 0x0000, 0x201E, 0x2026, 0x2020, 0x2021,
    0x0000, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};
// clang-format on

// Capitals of the upper half whose small letter is not 0x20 above them.
const unsigned char kOddCapitals[][2] = {
    {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D}, {0x8E, 0x9E}, {0x8F, 0x9F},
    {0xA3, 0xB3}, {0xA5, 0xB9}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xBC, 0xBE},
};

unsigned char ByteFor(unsigned long codePoint) {
    if (codePoint < 0x80) return static_cast<unsigned char>(codePoint);
    for (int i = 0; i < 128; ++i)
        if (OskelCp1250ToUnicode(static_cast<unsigned char>(0x80 + i)) == codePoint)
            return static_cast<unsigned char>(0x80 + i);
    return '?';
}

// Decodes one UTF-8 sequence; a malformed one yields U+FFFD and consumes one byte.
unsigned long NextUtf8(const unsigned char*& p) {
    const unsigned char lead = *p++;
    if (lead < 0x80) return lead;
    int extra = lead >= 0xF0 && lead < 0xF5 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
    if (lead >= 0xF5) extra = -1;
    if (extra < 0) return 0xFFFD;
    unsigned long value = lead & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0xFFFD;
        value = (value << 6) | (p[i] & 0x3F);
    }
    p += extra;
    return value;
}

} // namespace

unsigned long OskelCp1250ToUnicode(unsigned char c) {
    return c < 0x80 ? c : kHighHalf[c - 0x80] != 0 ? kHighHalf[c - 0x80] : c;
}

unsigned char OskelUnicodeToCp1250(unsigned long codePoint) {
    return ByteFor(codePoint);
}

int OskelCp1250ToWide(const char* text, unsigned short* out, int outSize) {
    if (text == nullptr) return 0;
    int n = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p, ++n)
        if (out != nullptr && n < outSize - 1)
            out[n] = static_cast<unsigned short>(OskelCp1250ToUnicode(*p));
    if (out != nullptr && outSize > 0) out[n < outSize - 1 ? n : outSize - 1] = 0;
    return n + 1;
}

int OskelWideToCp1250(const unsigned short* text, char* out, int outSize) {
    if (text == nullptr) return 0;
    int n = 0;
    for (const unsigned short* p = text; *p; ++p, ++n) {
        unsigned long codePoint = *p;
        // A surrogate pair is one character, which the code page cannot show.
        if (codePoint >= 0xD800 && codePoint < 0xDC00 && p[1] >= 0xDC00 && p[1] < 0xE000) {
            ++p;
            codePoint = 0xFFFD;
        }
        if (out != nullptr && n < outSize - 1) out[n] = static_cast<char>(ByteFor(codePoint));
    }
    if (out != nullptr && outSize > 0) out[n < outSize - 1 ? n : outSize - 1] = 0;
    return n + 1;
}

int OskelUtf8ToCp1250(const char* text, char* out, int outSize) {
    if (text == nullptr) return 0;
    int n = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++n) {
        const unsigned long codePoint = NextUtf8(p);
        if (out != nullptr && n < outSize - 1) out[n] = static_cast<char>(ByteFor(codePoint));
    }
    if (out != nullptr && outSize > 0) out[n < outSize - 1 ? n : outSize - 1] = 0;
    return n + 1;
}

int OskelCp1250ToUtf8(const char* text, char* out, int outSize) {
    if (text == nullptr) return 0;
    int n = 0;
    const auto put = [&](unsigned char byte) {
        if (out != nullptr && n < outSize - 1) out[n] = static_cast<char>(byte);
        ++n;
    };
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        const unsigned long u = OskelCp1250ToUnicode(*p);
        if (u < 0x80) {
            put(static_cast<unsigned char>(u));
        } else if (u < 0x800) {
            put(static_cast<unsigned char>(0xC0 | (u >> 6)));
            put(static_cast<unsigned char>(0x80 | (u & 0x3F)));
        } else {
            put(static_cast<unsigned char>(0xE0 | (u >> 12)));
            put(static_cast<unsigned char>(0x80 | ((u >> 6) & 0x3F)));
            put(static_cast<unsigned char>(0x80 | (u & 0x3F)));
        }
    }
    if (out != nullptr && outSize > 0) out[n < outSize - 1 ? n : outSize - 1] = 0;
    return n + 1;
}

unsigned char OskelCp1250ToLower(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 0x20);
    // Ŕ ... Ţ are 0x20 below their small letters; × (0xD7) and ß (0xDF) have no pair.
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
    for (const auto& pair : kOddCapitals)
        if (pair[0] == c) return pair[1];
    return c;
}

void OskelCp1250LowerBuffer(char* text, int count) {
    if (text == nullptr) return;
    for (int i = 0; i < count; ++i)
        text[i] = static_cast<char>(OskelCp1250ToLower(static_cast<unsigned char>(text[i])));
}
