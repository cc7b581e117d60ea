// Megabytes per second through the received-data interpreter into the screen buffer, for
// three kinds of stream, next to the same streams through libvterm (when it was found at
// build time). Prints table rows: min / median of the runs, higher is better.
//
//   terminal_bench [RUNS] [--megabytes N] [--stream scrolling|sequences|random] [--ours]
//                  [--hex] [--bytewise]
//
// --megabytes: length of each stream (20); --stream: only that stream; --ours: leave libvterm
// out; --hex: our side with the hex display on; --bytewise: our side fed one byte per call,
// as a consumer that gets single bytes does. A short single stream suits
// valgrind --tool=callgrind --toggle-collect='CInterpreter::Interpret*' (instructions per byte).
#include <algorithm>
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

const size_t kChunk = 4096; // about what one read of the port hands over

// Plain log text: 79 printable characters and CR LF per line, so that it scrolls.
std::string ScrollingText(size_t bytes) {
    std::string s;
    s.reserve(bytes + 128);
    for (unsigned line = 0; s.size() < bytes; ++line) {
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
std::string DenseSequences(size_t bytes) {
    std::string s;
    s.reserve(bytes + 128);
    std::mt19937 random(7);
    char sequence[48];
    while (s.size() < bytes) {
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

std::string RandomBytes(size_t bytes) {
    std::string s(bytes, '\0');
    std::mt19937 random(11);
    for (char& c : s)
        c = static_cast<char>(random());
    return s;
}

struct Options {
    int runs = 5;
    size_t bytes = 20u << 20;
    std::string only;
    bool withVterm = true;
    int hex = 0;
    bool bytewise = false;
};

void Feed(CInterpreter& interpreter, const std::string& stream, const Options& options) {
    if (options.bytewise) {
        for (char c : stream)
            interpreter.InterpretByte(static_cast<unsigned char>(c), kEscapeAnsi, options.hex);
        return;
    }
    for (size_t at = 0; at < stream.size(); at += kChunk)
        interpreter.Interpret(stream.data() + at,
                              static_cast<int>(std::min(kChunk, stream.size() - at)), kEscapeAnsi,
                              options.hex);
}

double OursMBps(const std::string& stream, const Options& options) {
    CStdBuffer buffer;
    buffer.Init();
    CInterpreter interpreter(buffer);
    const auto start = bench::Clock::now();
    Feed(interpreter, stream, options);
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

void Measure(const char* what, const std::string& stream, const Options& options) {
    std::vector<double> ours, vterm;
    for (int run = 0; run < options.runs; ++run) {
        ours.push_back(OursMBps(stream, options));
#if defined(TARLIN_HAVE_VTERM)
        if (options.withVterm) vterm.push_back(VtermMBps(stream));
#endif
    }
    std::string row = std::string("Terminal, MB/s: ") + what;
    if (options.hex == 1) row += " (hex display)";
    if (options.bytewise) row += " (byte by byte)";
    bench::Row(row, bench::Cell(bench::Summarize(ours), 1),
               bench::Cell(bench::Summarize(vterm), 1) + " (libvterm)");
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--megabytes" && i + 1 < argc)
            options.bytes = static_cast<size_t>(std::max(1, std::atoi(argv[++i]))) << 20;
        else if (arg == "--stream" && i + 1 < argc)
            options.only = argv[++i];
        else if (arg == "--ours")
            options.withVterm = false;
        else if (arg == "--hex")
            options.hex = 1;
        else if (arg == "--bytewise")
            options.bytewise = true;
        else if (!arg.empty() && arg[0] != '-')
            options.runs = std::max(1, std::atoi(arg.c_str()));
        else
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: terminal_bench [RUNS] [--megabytes N] "
                             "[--stream scrolling|sequences|random] [--ours] [--hex] "
                             "[--bytewise]\n");
        return 2;
    }
    const struct {
        const char* name;
        const char* what;
        std::string (*make)(size_t);
    } streams[] = {{"scrolling", "scrolling 80-column text", ScrollingText},
                   {"sequences", "colour and cursor sequences", DenseSequences},
                   {"random", "random bytes", RandomBytes}};
    for (const auto& stream : streams)
        if (options.only.empty() || options.only == stream.name)
            Measure(stream.what, stream.make(options.bytes), options);
    return 0;
}
