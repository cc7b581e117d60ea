#include "stdbuffer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

using Guard = std::lock_guard<std::recursive_mutex>;

const uint32_t kColorValues[9] = {0x000000, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000,
                                  0xFF00FF, 0xFFFF00, 0xFFFFFF, 0xC0C0C0};
const uint32_t kBlack = 0x000000;
const uint32_t kWhite = 0xFFFFFF;

bool IsPrintable(unsigned char ch) {
    return ch >= 0x20 && ch <= 0x7E;
}

// PC box-drawing characters become ASCII; 0 when the byte is not one of them.
char BoxDrawingReplacement(unsigned char ch) {
    switch (ch) {
    case 179:
    case 186: return '|';
    case 187:
    case 188:
    case 191:
    case 192:
    case 200:
    case 201:
    case 217:
    case 218: return '+';
    case 196:
    case 205: return '-';
    default: return 0;
    }
}

char HexDigit(int value) {
    return "0123456789ABCDEF"[value & 0x0F];
}

} // namespace

CStdBuffer::CStdBuffer()
    : m_lines(new char[static_cast<size_t>(kLines) * kLineSize]),
      m_attributes(new uint8_t[static_cast<size_t>(kLines) * kColumns]), m_lineData(m_lines.get()),
      m_attributeData(m_attributes.get()) {
    BlankLines(0, kLines);
    DefaultAttributes(0, kLines);
}

CStdBuffer::~CStdBuffer() = default;

int CStdBuffer::Init() {
    Guard guard(m_lock);
    m_attribute = kDefaultAttribute;
    m_underCursor = 7;
    BlankLines(0, kLines);
    DefaultAttributes(0, kLines);
    m_top = 0;
    m_usedLines = 0;
    m_row = m_column = 0;
    m_markRow = -1;
    m_changed = 1;
    return Clear();
}

void CStdBuffer::BlankLines(int first, int end) {
    for (int row = first; row < end; ++row) {
        char* line = Line(row);
        std::memset(line, ' ', kColumns);
        line[kColumns] = '\n';
        line[kColumns + 1] = 0;
    }
}

void CStdBuffer::DefaultAttributes(int first, int end) {
    for (int row = first; row < end; ++row)
        std::memset(Attributes(row), kDefaultAttribute, kColumns);
}

void CStdBuffer::SetCell(int row, int column, char ch, uint8_t attribute, bool counts) {
    char& cell = Line(row)[column];
    uint8_t& cellAttribute = Attributes(row)[column];
    if (cell != ch || cellAttribute != attribute) {
        cell = ch;
        cellAttribute = attribute;
        m_changed = 1;
    }
    if (counts) m_usedLines = std::max(m_usedLines, row + 1);
}

void CStdBuffer::HideCursor() {
    if (m_markRow < 0) return;
    SetCell(m_markRow, m_markColumn, Line(m_markRow)[m_markColumn], m_underCursor, false);
    m_markRow = -1;
}

// While a line is full (column 80) the mark stays on its last cell, where the next
// character's wrap starts from.
void CStdBuffer::ShowCursor() {
    m_markRow = m_row;
    m_markColumn = std::min(m_column, kColumns - 1);
    m_underCursor = Attributes(m_markRow)[m_markColumn];
    SetCell(m_markRow, m_markColumn, Line(m_markRow)[m_markColumn], InvertAttribute(m_underCursor),
            false);
}

// The first lines are blanked and become the last ones: the cost does not grow with the
// history.
void CStdBuffer::Scroll() {
    BlankLines(0, kScrollLines);
    DefaultAttributes(0, kScrollLines);
    m_top = static_cast<int>(Slot(kScrollLines));
    m_row = kLines - kScrollLines;
}

// Lines from the used count on have had no cell update since the last clear and are blank
// in the normal attribute, so clearing stops there.
void CStdBuffer::FullClear() {
    BlankLines(0, m_usedLines);
    DefaultAttributes(0, m_usedLines);
    m_attribute = kDefaultAttribute;
    m_row = m_column = 0;
    m_usedLines = 0;
    m_markRow = -1;
    m_changed = 1;
    m_cleared = 1;
}

void CStdBuffer::NextLineScrolling() {
    m_column = 0;
    if (++m_row >= kLines) {
        m_row = kLines - 1;
        Scroll();
    }
}

void CStdBuffer::Store(char ch, uint8_t attribute) {
    SetCell(m_row, m_column, ch, attribute);
    ++m_column;
}

int CStdBuffer::PutChar(unsigned char ch, bool interpret, int hex) {
    Guard guard(m_lock);
    HideCursor();
    m_cleared = 0;
    if (hex == 1) {
        const int result = PutHex(ch);
        ShowCursor();
        return result;
    }
    // A wrap past the last line scrolls like a line feed there; history is kept.
    if (m_column >= kColumns) NextLineScrolling();
    if (!interpret || IsPrintable(ch))
        Store(static_cast<char>(ch), m_attribute);
    else
        PutInterpreted(ch);
    ShowCursor();
    return 1;
}

void CStdBuffer::PutInterpreted(unsigned char ch) {
    switch (ch) {
    case 8:
        m_column = std::max(m_column - 1, 0);
        SetCell(m_row, m_column, ' ', kDefaultAttribute);
        return;
    case 10: NextLineScrolling(); return;
    case 13: m_column = 0; return;
    default: break;
    }
    if (const char replacement = BoxDrawingReplacement(ch))
        Store(replacement, m_attribute);
    else if (ch >= 1 && ch <= 31)
        Store(' ', m_attribute);
    else
        Store(static_cast<char>(ch), m_attribute);
}

int CStdBuffer::PutHex(unsigned char b) {
    if (m_column >= kHexWrapColumn) NextLineScrolling();
    Store(HexDigit(b >> 4), m_attribute);
    Store(HexDigit(b), m_attribute);
    Store(' ', m_attribute);
    SetCell(m_row, kHexBarColumn, '|', kDefaultAttribute);
    SetCell(m_row, m_column / 3 + kHexCharOffset, b >= 32 ? static_cast<char>(b) : ' ',
            m_attribute);
    return 1;
}

int CStdBuffer::Clear() {
    Guard guard(m_lock);
    HideCursor();
    FullClear();
    ShowCursor();
    return 1;
}

int CStdBuffer::ClearToEnd() {
    Guard guard(m_lock);
    HideCursor();
    BlankLines(m_row + 1, m_usedLines);
    if (m_column < kColumns)
        std::memset(Line(m_row) + m_column, ' ', static_cast<size_t>(kColumns - m_column));
    m_changed = 1;
    ShowCursor();
    return 1;
}

int CStdBuffer::ClearToStart() {
    Guard guard(m_lock);
    HideCursor();
    BlankLines(0, m_row);
    const int cells = std::min(m_column, kColumns);
    std::memset(Line(m_row), ' ', static_cast<size_t>(cells));
    m_attribute = kDefaultAttribute;
    DefaultAttributes(0, m_row);
    std::memset(Attributes(m_row), kDefaultAttribute, static_cast<size_t>(cells));
    m_changed = 1;
    ShowCursor();
    return 1;
}

// The mark is handled here too: without it the erased cursor cell would vanish and later
// get its old attribute back when the mark moves on.
int CStdBuffer::ClearLineToEnd() {
    Guard guard(m_lock);
    HideCursor();
    for (int column = m_column; column < kColumns; ++column)
        SetCell(m_row, column, ' ', kDefaultAttribute);
    ShowCursor();
    return 1;
}

int CStdBuffer::SetAnsiAttributes(const char* text) {
    if (text == nullptr) return 1;
    const size_t length = std::strlen(text);
    if (length < 2) return 1;
    Guard guard(m_lock);
    int textColor = -1;
    int background = -1;
    int mode = 0;
    size_t position = 0;
    do {
        const char* start = text + position + 1;
        char* end = nullptr;
        const unsigned long long value = std::strtoull(start, &end, 10);
        position = static_cast<size_t>((end == start ? start : end) - text);
        const int p = static_cast<int>(value & 0xFF);
        if (p == 0 || p == 1 || p == 4 || p == 5 || p == 7 || p == 8)
            mode = p;
        else if (p >= 30 && p <= 37)
            textColor = p - 30;
        else if (p >= 40 && p <= 47)
            background = (p - 40) * 16;
    } while (position < length && length - position >= 2);
    if (textColor < 0) textColor = m_attribute & 0x0F;
    if (background < 0) background = m_attribute & 0xF0;
    if (mode == 0)
        m_attribute = kDefaultAttribute;
    else if (mode == 7)
        m_attribute = static_cast<uint8_t>((textColor << 4) | (background >> 4));
    else
        m_attribute = static_cast<uint8_t>(textColor | background);
    return 1;
}

int CStdBuffer::GoTo(int row, int column) {
    if (row < 0 || row >= kLines || column < 0 || column >= kColumns) return 0;
    Guard guard(m_lock);
    HideCursor();
    m_row = row;
    m_column = column;
    ShowCursor();
    return 1;
}

void CStdBuffer::CursorUp(int n) {
    if (n <= 0) return;
    Guard guard(m_lock);
    HideCursor();
    m_row = std::max(m_row - n, 0);
    ShowCursor();
}

void CStdBuffer::CursorDown(int n) {
    if (n <= 0) return;
    Guard guard(m_lock);
    HideCursor();
    m_row = n >= kLines ? kLines - 1 : std::min(m_row + n, kLines - 1);
    ShowCursor();
}

void CStdBuffer::CursorLeft(int n) {
    if (n <= 0) return;
    Guard guard(m_lock);
    HideCursor();
    m_column = std::max(m_column - n, 0);
    ShowCursor();
}

void CStdBuffer::CursorRight(int n) {
    if (n <= 0) return;
    Guard guard(m_lock);
    HideCursor();
    m_column = n >= kColumns || m_column + n >= kColumns ? 0 : m_column + n;
    ShowCursor();
}

const char* CStdBuffer::GetLine(int row) const {
    return row >= 0 && row < kLines ? Line(row) : nullptr;
}

const uint8_t* CStdBuffer::GetLineAttributes(int row) const {
    return row >= 0 && row < kLines ? Attributes(row) : nullptr;
}

uint32_t CStdBuffer::GetTextColor(int row, int column) const {
    if (row < 0 || row >= kLines || column < 0 || column >= kColumns) return kBlack;
    const int index = Attributes(row)[column] & 0x0F;
    return index <= 8 ? kColorValues[index] : kBlack;
}

uint32_t CStdBuffer::GetBackColor(int row, int column) const {
    if (row < 0 || row >= kLines || column < 0 || column >= kColumns) return kWhite;
    const int index = Attributes(row)[column] >> 4;
    return index <= 8 ? kColorValues[index] : kWhite;
}

bool CStdBuffer::IsWhiteBack(int row, int column) const {
    if (row < 0 || row >= kLines || column < 0 || column >= kColumns) return true;
    const int index = Attributes(row)[column] >> 4;
    return index == 7 || index >= 9;
}

bool CStdBuffer::IsLineMixed(int row) const {
    if (row == m_row) return true;
    if (row < 0 || row >= kLines) return false;
    const uint8_t* attributes = Attributes(row);
    return std::any_of(attributes + 1, attributes + kColumns,
                       [first = attributes[0]](uint8_t a) { return a != first; });
}

int CStdBuffer::IsChanged(bool reset) {
    Guard guard(m_lock);
    const int changed = m_changed;
    if (reset) m_changed = 0;
    return changed;
}

void CStdBuffer::SetAttribute(uint8_t attribute) {
    Guard guard(m_lock);
    m_attribute = attribute;
}

uint8_t CStdBuffer::InvertAttribute(uint8_t attribute) {
    const int back = attribute >> 4;
    const int text = attribute & 0x0F;
    const int invertedBack = back <= 7 ? 7 - back : 0;
    int invertedText = 0;
    if (text <= 7)
        invertedText = 7 - text;
    else if (text == 8)
        invertedText = invertedBack == 0 ? 7 : 0;
    return static_cast<uint8_t>((invertedBack << 4) | invertedText);
}
