// Reading a screen buffer back in tests.
#pragma once

#include "stdbuffer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace terminal_test {

// The 80 cells of a row without trailing blanks.
inline std::string Row(const CStdBuffer& buffer, int row) {
    std::string text(buffer.GetLine(row), CStdBuffer::kColumns);
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

// The attribute a cell really has: the one under the cursor mark is shown inverted.
inline int Attr(const CStdBuffer& buffer, int row, int column) {
    const int stored = buffer.GetLineAttributes(row)[column];
    const bool marked =
        row == buffer.GetRow() && column == (buffer.GetColumn() < 80 ? buffer.GetColumn() : 79);
    return marked ? CStdBuffer::InvertAttribute(static_cast<uint8_t>(stored)) : stored;
}

inline void Put(CStdBuffer& buffer, const std::string& text, int hex = 0) {
    for (char c : text)
        buffer.PutChar(static_cast<unsigned char>(c), true, hex);
}

// Everything a reader of the buffer can see, the first rows of the grid included.
struct Snapshot {
    std::vector<char> lines;
    std::vector<uint8_t> attributes;
    int row, column, used, attribute, cleared;
    bool operator==(const Snapshot& o) const {
        return lines == o.lines && attributes == o.attributes && row == o.row &&
               column == o.column && used == o.used && attribute == o.attribute &&
               cleared == o.cleared;
    }
};

inline Snapshot Take(const CStdBuffer& buffer, int rows = CStdBuffer::kLines) {
    Snapshot s{{},
               {},
               buffer.GetRow(),
               buffer.GetColumn(),
               buffer.GetUsedLines(),
               buffer.GetAttribute(),
               buffer.WasCleared()};
    for (int r = 0; r < rows; ++r) {
        s.lines.insert(s.lines.end(), buffer.GetLine(r), buffer.GetLine(r) + 82);
        s.attributes.insert(s.attributes.end(), buffer.GetLineAttributes(r),
                            buffer.GetLineAttributes(r) + 80);
    }
    return s;
}

} // namespace terminal_test
