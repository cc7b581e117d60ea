// Megabytes per second through the received-data interpreter into the screen buffer, for
// three kinds of stream, next to the same streams through libvterm (when it was found at
// build time). Prints table rows: min / median of the runs, higher is better.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "interpreter.h"
#include "stats.h"
#include "stdbuffer.h"

#if defined(TARLIN_HAVE_VTERM)
#include <vterm.h>
#endif

namespace {

const size_t kStreamBytes = 20u << 20;
const size_t kChunk = 4096; // about what one read of the port hands over

// Plain log text: 79 printable characters and CR LF per line, so that it scrolls.
std::string ScrollingText() {
    std::string s;
    s.reserve(kStreamBytes + 128);
    for (unsigned line = 0; s.size() < kStreamBytes; ++line) {
        char head[24];
        std::snprintf(head, sizeof head, "%08u ", line);
        std::string text = head;
        while (text.size() < 78)
            text += static_cast<char>('a' + (text.size() + line) % 26);
        s += text + "\r\n";
    }
    return s;
}

// A full-screen display redrawn again and again: positioning, colours, erase to line end.
std::string DenseSequences() {
    std::string s;
    s.reserve(kStreamBytes + 128);
    std::mt19937 random(7);
    char sequence[48];
    while (s.size() < kStreamBytes) {
        std::snprintf(
            sequence, sizeof sequence, "\x1b[%u;%uH\x1b[1;%u;%um",
            static_cast<unsigned>(1 + random() % 24), static_cast<unsigned>(1 + random() % 60),
            static_cast<unsigned>(30 + random() % 8), static_cast<unsigned>(40 + random() % 8));
        s += sequence;
        s.append(1 + random() % 12, static_cast<char>('A' + random() % 26));
        s += random() % 4 ? "\x1b[0m" : "\x1b[K";
    }
    return s;
}

std::string RandomBytes() {
    std::string s(kStreamBytes, '\0');
    std::mt19937 random(11);
    for (char& c : s)
        c = static_cast<char>(random());
    return s;
}

double OursMBps(const std::string& stream) {
    CStdBuffer buffer;
    buffer.Init();
    CInterpreter interpreter(buffer);
    const auto start = bench::Clock::now();
    for (size_t at = 0; at < stream.size(); at += kChunk)
        interpreter.Interpret(stream.data() + at,
                              static_cast<int>(std::min(kChunk, stream.size() - at)), kEscapeAnsi,
                              0);
    return stream.size() / 1e6 / bench::Seconds(start, bench::Clock::now());
}

#if defined(TARLIN_HAVE_VTERM)
// Lines leaving libvterm's screen are kept in a history as long as ours (5000 × 80 cells of
// one byte and an attribute), so that both keep what scrolls away.
struct History {
    std::vector<char> text = std::vector<char>(5000 * 80);
    std::vector<uint8_t> attributes = std::vector<uint8_t>(5000 * 80);
    size_t next = 0;
};

int PushLine(int cols, const VTermScreenCell* cells, void* user) {
    History& history = *static_cast<History*>(user);
    const size_t row = history.next++ % 5000;
    for (int c = 0; c < cols && c < 80; ++c) {
        history.text[row * 80 + c] = static_cast<char>(cells[c].chars[0]);
        history.attributes[row * 80 + c] = static_cast<uint8_t>(cells[c].fg.indexed.idx);
    }
    return 1;
}

double VtermMBps(const std::string& stream) {
    VTerm* vt = vterm_new(25, 80);
    vterm_set_utf8(vt, 0);
    VTermScreen* screen = vterm_obtain_screen(vt);
    VTermScreenCallbacks callbacks{};
    callbacks.sb_pushline = PushLine;
    History history;
    vterm_screen_set_callbacks(screen, &callbacks, &history);
    vterm_screen_reset(screen, 1);
    const auto start = bench::Clock::now();
    for (size_t at = 0; at < stream.size(); at += kChunk)
        vterm_input_write(vt, stream.data() + at, std::min(kChunk, stream.size() - at));
    const double mbps = stream.size() / 1e6 / bench::Seconds(start, bench::Clock::now());
    vterm_free(vt);
    return mbps;
}
#endif

void Measure(const char* what, const std::string& stream, int runs) {
    std::vector<double> ours, vterm;
    for (int run = 0; run < runs; ++run) {
        ours.push_back(OursMBps(stream));
#if defined(TARLIN_HAVE_VTERM)
        vterm.push_back(VtermMBps(stream));
#endif
    }
    bench::Row(std::string("Terminal, MB/s: ") + what, bench::Cell(bench::Summarize(ours), 1),
               bench::Cell(bench::Summarize(vterm), 1) + " (libvterm)");
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    Measure("scrolling 80-column text", ScrollingText(), runs);
    Measure("colour and cursor sequences", DenseSequences(), runs);
    Measure("random bytes", RandomBytes(), runs);
    return 0;
}
