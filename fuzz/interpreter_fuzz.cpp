// Received bytes through the interpreter into the screen buffer, under escape modes and hex
// settings that change between stretches of the input: the cursor stays in the grid, every line
// keeps its line feed and NUL, a visible change always raises the changed flag, and the screen is
// the same however the bytes are cut into chunks.
#include "fuzzcheck.h"
#include "interpreter.h"
#include "stdbuffer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const int kColumns = CStdBuffer::kColumns;
const int kLines = CStdBuffer::kLines;
const int kComparedLines = 120;

struct Screen {
    char text[kLines][kColumns];
    uint8_t attributes[kLines][kColumns];
};

// Lines past the cursor's and past the used ones are untouched by anything.
int LinesInUse(const CStdBuffer& buffer) {
    int lines = buffer.GetUsedLines();
    const int cursor = buffer.GetRow() + 2; // the mark may stand on the next line at column 80
    if (cursor > lines) lines = cursor;
    return lines < kLines ? lines : kLines;
}

void Take(const CStdBuffer& buffer, Screen& screen, int lines) {
    for (int row = 0; row < lines; ++row) {
        std::memcpy(screen.text[row], buffer.GetLine(row), kColumns);
        std::memcpy(screen.attributes[row], buffer.GetLineAttributes(row), kColumns);
    }
}

bool IsBlank(const CStdBuffer& buffer, int row) {
    static const std::string blank(kColumns, ' ');
    static const std::string plain(kColumns, static_cast<char>(CStdBuffer::kDefaultAttribute));
    return std::memcmp(buffer.GetLine(row), blank.data(), kColumns) == 0 &&
           std::memcmp(buffer.GetLineAttributes(row), plain.data(), kColumns) == 0;
}

bool Differs(const CStdBuffer& buffer, const Screen& before, int beforeLines) {
    const int lines = LinesInUse(buffer) > beforeLines ? LinesInUse(buffer) : beforeLines;
    for (int row = 0; row < lines; ++row) {
        if (row >= beforeLines) {
            if (!IsBlank(buffer, row)) return true;
            continue;
        }
        if (std::memcmp(before.text[row], buffer.GetLine(row), kColumns) != 0 ||
            std::memcmp(before.attributes[row], buffer.GetLineAttributes(row), kColumns) != 0)
            return true;
    }
    return false;
}

void CheckShape(const CStdBuffer& buffer) {
    Check(buffer.GetRow() >= 0 && buffer.GetRow() < kLines, "row outside the grid");
    Check(buffer.GetColumn() >= 0 && buffer.GetColumn() <= kColumns, "column outside the grid");
    Check(buffer.GetUsedLines() >= 0 && buffer.GetUsedLines() <= kLines, "used lines");
}

void CheckWhole(const CStdBuffer& buffer, bool full) {
    CheckShape(buffer);
    const int inUse = LinesInUse(buffer);
    const int lines = full ? kLines : inUse;
    for (int row = 0; row < lines; ++row) {
        const char* line = buffer.GetLine(row);
        Check(line[kColumns] == '\n' && line[kColumns + 1] == 0, "line end");
        if (row >= inUse) Check(IsBlank(buffer, row), "line beyond the used ones written");
    }
}

// Lines past those in use of both are blank (CheckWhole).
bool SameScreen(const CStdBuffer& a, const CStdBuffer& b) {
    if (a.GetRow() != b.GetRow() || a.GetColumn() != b.GetColumn() ||
        a.GetUsedLines() != b.GetUsedLines() || a.GetAttribute() != b.GetAttribute())
        return false;
    const int lines = std::max(LinesInUse(a), LinesInUse(b));
    for (int row = 0; row < lines; ++row)
        if (std::memcmp(a.GetLine(row), b.GetLine(row), kColumns + 2) != 0 ||
            std::memcmp(a.GetLineAttributes(row), b.GetLineAttributes(row), kColumns) != 0)
            return false;
    return true;
}

struct Fixture {
    CStdBuffer whole;
    CStdBuffer chunked;
    Screen before;
};

// The display options of one stretch of the input: the user may switch the escape mode and
// the hex display between two reads, and the interpreter keeps its state across them.
struct Options {
    int escapeMode;
    int hex;
};

class Schedule {
public:
    Schedule(uint8_t first, uint8_t second)
        : m_first(first), m_span(16 * (1 + (second >> 1))), m_hex(second & 1) {}
    Options At(int index) const {
        const int k = index / m_span;
        return {(m_first + k * ((m_first >> 2) | 1)) % 3, (m_hex + k * ((m_first >> 4) & 1)) & 1};
    }
    // Where the stretch holding index ends.
    int End(int index) const { return (index / m_span + 1) * m_span; }

private:
    int m_first;
    int m_span;
    int m_hex;
};

void Interpret(CInterpreter& interpreter, const Schedule& schedule, const char* bytes, int at,
               int count) {
    const Options options = schedule.At(at);
    interpreter.Interpret(bytes + at, count, options.escapeMode, options.hex);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Fixture* fixture = new Fixture;
    if (size < 3) return 0;
    const Schedule schedule(data[0], data[1]);
    unsigned seed = data[2] | 1u;
    const char* bytes = reinterpret_cast<const char*>(data + 3);
    const int length = static_cast<int>(size - 3);

    CStdBuffer& whole = fixture->whole;
    CStdBuffer& chunked = fixture->chunked;
    // A fresh buffer and a check of the whole grid on the first input of every 64 (and so on
    // a rerun of a single input); the others start from a clear screen and check the lines in
    // use: a pass over the whole grid costs more than most inputs.
    static unsigned inputs = 0;
    const bool full = inputs++ % 64 == 0;
    if (full) {
        whole.Init();
        chunked.Init();
    } else {
        whole.Clear();
        chunked.Clear();
    }
    CInterpreter one(whole), many(chunked);
    for (int at = 0; at < length; at = schedule.End(at))
        Interpret(one, schedule, bytes, at, std::min(schedule.End(at), length) - at);
    CheckWhole(whole, full);

    // The same bytes in pieces of 1 to 64, checked for the changed flag while the screen in
    // use is small enough to compare cheaply.
    for (int at = 0, piece = 0; at < length; at += piece) {
        seed = seed * 1103515245u + 12345u;
        piece = 1 + static_cast<int>((seed >> 16) % 64);
        piece = std::min({piece, length - at, schedule.End(at) - at});
        const int beforeLines = LinesInUse(chunked);
        if (beforeLines > kComparedLines) {
            Interpret(many, schedule, bytes, at, piece);
            CheckShape(chunked);
            continue;
        }
        chunked.IsChanged(true);
        Take(chunked, fixture->before, beforeLines);
        Interpret(many, schedule, bytes, at, piece);
        CheckShape(chunked);
        if (Differs(chunked, fixture->before, beforeLines))
            Check(chunked.IsChanged(false) == 1, "visible change without the changed flag");
    }
    CheckWhole(chunked, full);
    Check(SameScreen(whole, chunked), "screen depends on the chunking");
    Check(one.InEscape() == many.InEscape() && one.GetSequenceLength() == many.GetSequenceLength(),
          "open sequence depends on the chunking");
    return 0;
}
