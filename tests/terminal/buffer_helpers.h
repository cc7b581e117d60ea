// Reading a screen buffer back in tests.
#pragma once

#include "stdbuffer.h"

#include <string>

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

} // namespace terminal_test
