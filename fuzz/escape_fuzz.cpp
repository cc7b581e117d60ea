// Typed text through the escape decoder and the hexadecimal writing form: a bad sequence is
// reported where a backslash stands in the typed text, decoding stays inside its room, and
// escape text -> hex text -> escape text decodes to the same bytes.
#include "escape.h"
#include "fuzzcheck.h"
#include "hextext.h"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

std::string Bytes(const CEscape& e) {
    return std::string(e.GetData(), e.GetLength());
}

std::string HexDigitsOf(const std::string& text) {
    std::string digits;
    for (char c : text)
        if (std::isxdigit(static_cast<unsigned char>(c)))
            digits += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return digits;
}

int DigitValue(char c) {
    return c <= '9' ? c - '0' : c - 'A' + 10;
}

void CheckDecode(const std::string& typed, std::string& decoded, bool& ok) {
    CEscape e;
    Check(e.Reserve(static_cast<int>(typed.size()) + 5) && e.SetText(typed.c_str()) &&
              e.KeepTyped(),
          "typed text taken");
    const uint32_t range = e.Decode();
    Check(e.GetLength() >= 0 && e.GetLength() <= static_cast<int>(typed.size()) &&
              e.GetLength() <= e.GetCapacity(),
          "decoded length inside the text and the room");
    Check(std::strcmp(e.GetTyped(), typed.c_str()) == 0, "typed copy kept");
    ok = range == 0;
    if (!ok) {
        const int start = CEscape::RangeStart(range);
        const int width = CEscape::RangeEnd(range) - start;
        Check(start < static_cast<int>(typed.size()) && typed[start] == '\\',
              "bad range starts at a typed backslash");
        Check(width == 2 || width == 4 || width == 5, "bad range width");
        return;
    }
    decoded = Bytes(e);
    // The callers' line ends still fit after decoding.
    Check(e.AppendText("\r") && e.AppendText("\n"), "room for CR LF after decoding");
}

void CheckRoundTrip(const std::string& typed, const std::string& decoded) {
    CDynString hex;
    Check(EscapeToHexText(typed.c_str(), true, hex) == 0, "hex form of valid escape text");
    CDynString escaped;
    if (decoded.empty()) {
        Check(hex.IsEmpty(), "empty text gives empty hex");
        Check(!HexToEscapeText(hex.GetString(), escaped), "empty hex gives no escape text");
        return;
    }
    Check(HexToEscapeText(hex.GetString(), escaped), "escape text of non-empty hex");
    std::string again;
    bool ok = false;
    CheckDecode(escaped.GetString(), again, ok);
    Check(ok && again == decoded, "escape -> hex -> escape keeps the bytes");
}

void CheckPlainHex(const std::string& typed) {
    CDynString hex;
    Check(EscapeToHexText(typed.c_str(), false, hex) == 0, "hex form without escapes");
    CEscape bytes;
    const int count = ParseHexText(hex.GetString(), bytes);
    Check(count == static_cast<int>(typed.size()) && (count == 0 || Bytes(bytes) == typed),
          "hex of raw text parses back to the text");
}

void CheckFormat(const std::string& text, int caret) {
    CDynString field(text.c_str());
    Check(FormatHexText(field, caret), "format");
    const std::string formatted = field.GetString() ? field.GetString() : "";
    const std::string digits = HexDigitsOf(text);
    Check(caret >= 0 && caret <= static_cast<int>(formatted.size()), "caret inside the text");
    for (size_t i = 0; i < formatted.size(); ++i)
        Check((i % 3 == 2) == (formatted[i] == ' '), "pairs separated by single spaces");
    Check(formatted.empty() || formatted.back() != ' ', "no space at the end");
    Check(HexDigitsOf(formatted) == digits, "digits kept in order, upper case");
    CEscape bytes;
    const int count = ParseHexText(formatted.c_str(), bytes);
    Check(count == static_cast<int>((digits.size() + 1) / 2), "one byte per pair");
    for (int i = 0; i < count; ++i) {
        const size_t at = static_cast<size_t>(i) * 2;
        int value = DigitValue(digits[at]);
        if (at + 1 < digits.size()) value = value * 16 + DigitValue(digits[at + 1]);
        Check(static_cast<unsigned char>(bytes.GetData()[i]) == value, "byte of a pair");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const int caret = data[0];
    // Typed text is a NUL-terminated field text.
    const std::string typed(reinterpret_cast<const char*>(data + 1),
                            strnlen(reinterpret_cast<const char*>(data + 1), size - 1));
    std::string decoded;
    bool ok = false;
    CheckDecode(typed, decoded, ok);
    if (ok) CheckRoundTrip(typed, decoded);
    CheckPlainHex(typed);
    CheckFormat(typed, caret);
    return 0;
}
