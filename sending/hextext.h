// The hexadecimal writing form of typed text ("1B 5B 32 4A") and the conversions between it
// and escape text. They work on a field's text and caret so the chat dialog can apply them to
// its edit field.
#pragma once

#include "dynstring.h"
#include "escape.h"

#include <cstdint>

// Keeps the hexadecimal digits, upper-cased, in pairs separated by one space; the caret
// moves one place further when a space now stands just before it.
bool FormatHexText(CDynString& text, int& caret);

// The bytes of a hexadecimal text into out (reserved here): the count, 0 for an empty text,
// -1 when no memory could be had. Each piece between spaces is read as strtol does.
int ParseHexText(const char* text, CEscape& out);

// Escape text to the hexadecimal form. Returns 0 with out filled, or the bad sequence's range
// (as CEscape::Decode gives it) with out left alone; 0xFFFFFFFF when memory ran out.
uint32_t EscapeToHexText(const char* text, bool escapesEnabled, CDynString& out);

// Hexadecimal form to escape text that means the same bytes; false (out left alone) when the
// text holds no byte.
bool HexToEscapeText(const char* text, CDynString& out);
