#include "printlayout.h"

#include "stdbuffer.h"

#include <algorithm>

PrintLayout MakePrintLayout(int printableHeight, int lineHeight, int usedLines) {
    PrintLayout layout{};
    // A page shorter than two lines (or a font that measured nothing) still takes one line, so
    // the page count never divides by zero.
    layout.linesPerPage = lineHeight > 0 ? std::max(1, printableHeight / lineHeight - 1) : 1;
    const int used = std::max(0, usedLines);
    layout.pages = (used + layout.linesPerPage - 1) / layout.linesPerPage;
    layout.lastLine = std::min(used, CStdBuffer::kLines - 1);
    return layout;
}

int PageFirstLine(const PrintLayout& layout, int page) {
    return page * layout.linesPerPage;
}

int PageLineCount(const PrintLayout& layout, int page) {
    if (page < 0 || page >= layout.pages) return 0;
    const int first = PageFirstLine(layout, page);
    return std::max(0, std::min(layout.linesPerPage, layout.lastLine - first + 1));
}
