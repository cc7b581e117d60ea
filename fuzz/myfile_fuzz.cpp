// Arbitrary module files through the reader: every byte reaches the pieces the write thread
// sends, in order (a CR LF as the one line feed a text file gives), no piece is longer than
// 255 bytes or goes past a line feed, and the count of lines is the count of pieces.
#include "fuzzcheck.h"
#include "myfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

std::string Path() {
    static const std::string path = "/dev/shm/tarlin-myfile-fuzz-" + std::to_string(getpid());
    return path;
}

std::string AsText(const std::string& bytes) {
    std::string text;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        text += bytes[i];
    }
    return text;
}

void CheckMode(const char* mode, const std::string& expected) {
    CMyFile file;
    Check(file.Open(Path().c_str(), mode) == 1, "open");
    const int lines = file.CountLines(true);
    std::string delivered;
    int pieces = 0;
    while (file.ReadLine()) {
        const int length = file.GetLineLength();
        Check(length >= 1 && length <= CMyFile::kLineRoom - 1, "piece size");
        const std::string piece(file.GetLine(), static_cast<size_t>(length));
        Check(piece.find('\n') == std::string::npos || piece.find('\n') == piece.size() - 1,
              "a piece ends at its line feed");
        delivered += piece;
        ++pieces;
    }
    Check(delivered == expected, "every byte in order");
    Check(lines == pieces, "lines counted as delivered");
    Check(file.Rewind() && file.ReadLine() == (expected.empty() ? 0 : 1), "rewind starts over");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    FILE* out = std::fopen(Path().c_str(), "wb");
    if (out == nullptr) return 0;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (std::fclose(out) != 0 || !written) return 0;
    CheckMode("rt", AsText(bytes));
    CheckMode("rb", bytes);
    return 0;
}
