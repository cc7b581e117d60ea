// How the screen buffer's lines fall onto printed pages.
#pragma once

struct PrintLayout {
    int linesPerPage; // at least 1
    int pages;
    int lastLine; // the last buffer line that may be printed
};

// printableHeight and lineHeight in device units; usedLines as the buffer counts them.
// Each page leaves one line's height free at its foot.
PrintLayout MakePrintLayout(int printableHeight, int lineHeight, int usedLines);

// First buffer line of a page and how many lines it holds (0 past the end).
int PageFirstLine(const PrintLayout& layout, int page);
int PageLineCount(const PrintLayout& layout, int page);
