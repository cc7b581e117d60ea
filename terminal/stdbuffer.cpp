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

constexpr bool IsPrintable(unsigned char ch) {
    return ch >= 0x20 && ch <= 0x7E;
}

// The first decimal digits of text, as strtoull reads them (saturating); end after them.
unsigned long long Digits(const char* text, const char** end) {
    constexpr unsigned long long kLimit = ~0ull;
    unsigned long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        const unsigned digit = static_cast<unsigned>(*text - '0');
        const bool overflows = value > kLimit / 10 || (value == kLimit / 10 && digit > kLimit % 10);
        value = overflows ? kLimit : value * 10 + digit;
    }
    *end = text;
    return value;
}

// The number a graphic-rendition parameter starts with, as strtoull (base 10) reads it;
// end is start when there is none. Only blanks and a sign before the digits need the
// library's reading (the blanks of the C locale, which the program never leaves).
unsigned long long ParameterAt(const char* start, const char** end) {
    const char c = *start;
    const bool blank = c == ' ' || (c >= '\t' && c <= '\r');
    if (c != '+' && c != '-' && !blank) return Digits(start, end);
    char* libraryEnd = nullptr;
    const unsigned long long value = std::strtoull(start, &libraryEnd, 10);
    *end = libraryEnd;
    return value;
}

// PC box-drawing characters become ASCII; 0 when the byte is not one of them.
constexpr char BoxDrawingReplacement(unsigned char ch) {
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

constexpr unsigned char kLineFeed = 10;

// What an interpreted byte does: most show a character (printable ones themselves, PC
// box-drawing characters their ASCII look, other control characters a blank).
enum class ByteAction : uint8_t { kShow, kBackspace, kLineFeed, kCarriageReturn };

struct ByteTable {
    char shown[256];
    ByteAction action[256];
};

constexpr ByteTable MakeByteTable() {
    ByteTable table{};
    for (int b = 0; b < 256; ++b) {
        const unsigned char ch = static_cast<unsigned char>(b);
        const char replacement = BoxDrawingReplacement(ch);
        table.shown[b] = IsPrintable(ch)       ? static_cast<char>(ch)
                         : replacement != 0    ? replacement
                         : ch >= 1 && ch <= 31 ? ' '
                                               : static_cast<char>(ch);
        table.action[b] = ByteAction::kShow;
    }
    table.action[8] = ByteAction::kBackspace;
    table.action[kLineFeed] = ByteAction::kLineFeed;
    table.action[13] = ByteAction::kCarriageReturn;
    return table;
}

constexpr ByteTable kByteTable = MakeByteTable();

constexpr uint8_t Inverted(uint8_t attribute) {
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

// The cursor mark is drawn once for every change, so its attribute is looked up.
struct InvertedTable {
    uint8_t attribute[256];
};

constexpr InvertedTable MakeInvertedTable() {
    InvertedTable table{};
    for (int a = 0; a < 256; ++a)
        table.attribute[a] = Inverted(static_cast<uint8_t>(a));
    return table;
}

constexpr InvertedTable kInverted = MakeInvertedTable();

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

void CStdBuffer::SetMarkAttribute(uint8_t attribute) {
    uint8_t& cell = Attributes(m_markRow)[m_markColumn];
    if (cell == attribute) return;
    cell = attribute;
    m_changed = 1;
}

void CStdBuffer::BeginUpdate() {
    m_lock.lock();
    ++m_updateDepth;
}

// An update in which nothing was written leaves the mark, and so the changed flag, alone.
void CStdBuffer::EndUpdate() {
    if (--m_updateDepth == 0 && m_markOff) {
        m_markOff = false;
        ShowCursor();
    }
    m_lock.unlock();
}

void CStdBuffer::TakeMarkOff() {
    if (m_markOff) return;
    HideCursor();
    m_markOff = true;
}

void CStdBuffer::HideCursor() {
    if (m_markRow < 0) return;
    SetMarkAttribute(m_underCursor);
    m_markRow = -1;
}

// While a line is full (column 80) the mark stays on its last cell, where the next
// character's wrap starts from.
void CStdBuffer::ShowCursor() {
    m_markRow = m_row;
    m_markColumn = std::min(m_column, kColumns - 1);
    const uint8_t under = Attributes(m_markRow)[m_markColumn];
    m_underCursor = under;
    SetMarkAttribute(InvertAttribute(under));
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

// Characters in the current attribute, wrapping at the end of each line. Cells are written
// whether or not they change; the mark shown at the end sets the changed flag anyway.
void CStdBuffer::StoreRun(const char* text, int count) {
    while (count > 0) {
        if (m_column >= kColumns) NextLineScrolling();
        const int n = std::min(count, kColumns - m_column);
        std::memcpy(Line(m_row) + m_column, text, static_cast<size_t>(n));
        std::memset(Attributes(m_row) + m_column, m_attribute, static_cast<size_t>(n));
        m_usedLines = std::max(m_usedLines, m_row + 1);
        m_changed = 1;
        m_column += n;
        text += n;
        count -= n;
    }
}

int CStdBuffer::PutChar(unsigned char ch, bool interpret, int hex) {
    if (hex != 1 && PutShownChar(ch, interpret)) return 1;
    Writing writing(*this);
    m_cleared = 0;
    if (hex == 1)
        PutHex(&ch, 1);
    else
        PutByte(ch, interpret);
    return 1;
}

int CStdBuffer::PutText(const char* data, int count, bool interpret, int hex) {
    if (data == nullptr || count <= 0) return 1;
    Writing writing(*this);
    m_cleared = 0;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(data);
    if (hex == 1) {
        PutHex(bytes, count);
    } else if (count == 1) {
        PutByte(bytes[0], interpret);
    } else if (interpret) {
        PutInterpreted(bytes, count);
    } else {
        StoreRun(data, count);
    }
    return 1;
}

// A byte fed on its own (the read thread hands them over one by one) that shows a character
// on the cursor row, outside any update, with the mark on the cursor: the character replaces
// the mark's cell and the mark moves one cell on, without the general update's steps.
bool CStdBuffer::PutShownChar(unsigned char ch, bool interpret) {
    Guard guard(m_lock);
    const int column = m_column;
    if (m_updateDepth != 0 || column >= kColumns || m_markRow != m_row || m_markColumn != column)
        return false;
    if (interpret && kByteTable.action[ch] != ByteAction::kShow) return false;
    char* line = Line(m_row);
    uint8_t* attributes = Attributes(m_row);
    line[column] = interpret ? kByteTable.shown[ch] : static_cast<char>(ch);
    attributes[column] = m_attribute;
    m_column = column + 1;
    m_markColumn = std::min(column + 1, kColumns - 1);
    m_underCursor = attributes[m_markColumn];
    attributes[m_markColumn] = kInverted.attribute[m_underCursor];
    m_usedLines = std::max(m_usedLines, m_row + 1);
    m_changed = 1;
    m_cleared = 0;
    return true;
}

// One byte with the mark off; the same as a run of one, without the run's preparations.
void CStdBuffer::PutByte(unsigned char ch, bool interpret) {
    if (m_column >= kColumns) NextLineScrolling();
    const ByteAction action = interpret ? kByteTable.action[ch] : ByteAction::kShow;
    if (action == ByteAction::kLineFeed) {
        NextLineScrolling();
        return;
    }
    if (action == ByteAction::kCarriageReturn) {
        m_column = 0;
        return;
    }
    const int row = m_row;
    int column = m_column;
    char* line = Line(row);
    uint8_t* attributes = Attributes(row);
    if (action == ByteAction::kShow) {
        line[column] = interpret ? kByteTable.shown[ch] : static_cast<char>(ch);
        attributes[column++] = m_attribute;
    } else {
        column = column > 0 ? column - 1 : 0;
        line[column] = ' ';
        attributes[column] = kDefaultAttribute;
    }
    m_column = column;
    m_usedLines = std::max(m_usedLines, row + 1);
    m_changed = 1;
}

// Every byte is preceded by the wrap of a full line; a line wrapping past the last line
// scrolls like a line feed there, so the history is kept.
void CStdBuffer::PutInterpreted(const unsigned char* bytes, int count) {
    for (int i = 0; i < count;) {
        if (m_column >= kColumns) NextLineScrolling();
        if (bytes[i] == kLineFeed) {
            NextLineScrolling();
            ++i;
        } else {
            i = PutOnRow(bytes, i, count);
        }
    }
}

// Bytes from index i on that stay on the cursor row: up to a line feed, the end, or a full
// line. Returns the index of the first byte not taken.
int CStdBuffer::PutOnRow(const unsigned char* bytes, int i, int count) {
    char* line = Line(m_row);
    uint8_t* attributes = Attributes(m_row);
    const uint8_t attribute = m_attribute;
    int column = m_column;
    bool written = false;
    while (i < count && column < kColumns) {
        // Bytes that show a character advance the column with the index, so up to end they
        // all fit on the row.
        const int end = i + std::min(count - i, kColumns - column);
        const int from = i;
        for (; i < end && kByteTable.action[bytes[i]] == ByteAction::kShow; ++i, ++column) {
            line[column] = kByteTable.shown[bytes[i]];
            attributes[column] = attribute;
        }
        written = written || i > from;
        if (i == end) break;
        const ByteAction action = kByteTable.action[bytes[i]];
        if (action == ByteAction::kLineFeed) break;
        if (action == ByteAction::kBackspace) {
            column = column > 0 ? column - 1 : 0;
            line[column] = ' ';
            attributes[column] = kDefaultAttribute;
            written = true;
        } else {
            column = 0;
        }
        ++i;
    }
    m_column = column;
    if (written) {
        m_usedLines = std::max(m_usedLines, m_row + 1);
        m_changed = 1;
    }
    return i;
}

// Hex display, 16 bytes a line: two digits and a blank per byte, the bar, the bytes shown
// as characters.
void CStdBuffer::PutHex(const unsigned char* bytes, int count) {
    for (int i = 0; i < count;) {
        if (m_column >= kHexWrapColumn) NextLineScrolling();
        char* line = Line(m_row);
        uint8_t* attributes = Attributes(m_row);
        const uint8_t attribute = m_attribute;
        int column = m_column;
        for (; i < count && column < kHexWrapColumn; ++i) {
            const unsigned char b = bytes[i];
            line[column] = HexDigit(b >> 4);
            line[column + 1] = HexDigit(b);
            line[column + 2] = ' ';
            attributes[column] = attributes[column + 1] = attributes[column + 2] = attribute;
            column += 3;
            line[kHexBarColumn] = '|';
            attributes[kHexBarColumn] = kDefaultAttribute;
            const int shownAt = column / 3 + kHexCharOffset;
            line[shownAt] = b >= 32 ? static_cast<char>(b) : ' ';
            attributes[shownAt] = attribute;
        }
        m_column = column;
        m_usedLines = std::max(m_usedLines, m_row + 1);
        m_changed = 1;
    }
}

int CStdBuffer::Clear() {
    Writing writing(*this);
    FullClear();
    return 1;
}

int CStdBuffer::ClearToEnd() {
    Writing writing(*this);
    BlankLines(m_row + 1, m_usedLines);
    if (m_column < kColumns)
        std::memset(Line(m_row) + m_column, ' ', static_cast<size_t>(kColumns - m_column));
    m_changed = 1;
    return 1;
}

int CStdBuffer::ClearToStart() {
    Writing writing(*this);
    BlankLines(0, m_row);
    const int cells = std::min(m_column, kColumns);
    std::memset(Line(m_row), ' ', static_cast<size_t>(cells));
    m_attribute = kDefaultAttribute;
    DefaultAttributes(0, m_row);
    std::memset(Attributes(m_row), kDefaultAttribute, static_cast<size_t>(cells));
    m_changed = 1;
    return 1;
}

// The mark is handled here too: without it the erased cursor cell would vanish and later
// get its old attribute back when the mark moves on.
int CStdBuffer::ClearLineToEnd() {
    Writing writing(*this);
    if (m_column >= kColumns) return 1;
    const size_t cells = static_cast<size_t>(kColumns - m_column);
    std::memset(Line(m_row) + m_column, ' ', cells);
    std::memset(Attributes(m_row) + m_column, kDefaultAttribute, cells);
    m_usedLines = std::max(m_usedLines, m_row + 1);
    m_changed = 1;
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
        const char* end = nullptr;
        const unsigned long long value = ParameterAt(start, &end);
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
    Writing writing(*this);
    m_row = row;
    m_column = column;
    return 1;
}

void CStdBuffer::CursorUp(int n) {
    if (n <= 0) return;
    Writing writing(*this);
    m_row = std::max(m_row - n, 0);
}

void CStdBuffer::CursorDown(int n) {
    if (n <= 0) return;
    Writing writing(*this);
    m_row = n >= kLines ? kLines - 1 : std::min(m_row + n, kLines - 1);
}

void CStdBuffer::CursorLeft(int n) {
    if (n <= 0) return;
    Writing writing(*this);
    m_column = std::max(m_column - n, 0);
}

void CStdBuffer::CursorRight(int n) {
    if (n <= 0) return;
    Writing writing(*this);
    m_column = n >= kColumns || m_column + n >= kColumns ? 0 : m_column + n;
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
    return kInverted.attribute[attribute];
}
