#include "myfile.h"

#include "fileio.h"

#include <cstring>

namespace {

// The stream is always binary: a text stream of the C library would end the file at 0x1A
// and cut lines at NUL. Text modes keep their meaning as the line-ending translation.
bool BinaryMode(const char* mode, char* out, size_t size) {
    const bool text = std::strchr(mode, 'b') == nullptr;
    size_t n = 0;
    for (const char* c = mode; *c && n + 2 < size; ++c)
        if (*c != 't') out[n++] = *c;
    if (text) out[n++] = 'b';
    out[n] = 0;
    return text;
}

} // namespace

CMyFile::CMyFile()
    : m_fileName{}, m_stream(nullptr), m_line{}, m_lineValid(0), m_mode{}, m_text(true),
      m_lineLength(0) {}

CMyFile::~CMyFile() {
    Close();
}

void CMyFile::Close() {
    if (m_stream != nullptr) std::fclose(m_stream);
    m_stream = nullptr;
    m_fileName[0] = 0;
    m_line[0] = 0;
    m_lineLength = 0;
    m_lineValid = 0;
}

// A path longer than the name field is refused rather than kept cut short.
int CMyFile::Open(const char* path, const char* mode) {
    Close();
    if (mode == nullptr) mode = "rt";
    if (path == nullptr || path[0] == 0 || std::strlen(path) > kMaxPath ||
        std::strlen(mode) + 1 >= sizeof m_mode)
        return 0;
    char binary[sizeof m_mode];
    const bool text = BinaryMode(mode, binary, sizeof binary);
    m_stream = OpenSharedFile(path, binary);
    if (m_stream == nullptr) return 0;
    std::strcpy(m_fileName, path);
    std::strcpy(m_mode, binary);
    m_text = text;
    return 1;
}

// Opened afresh rather than sought, so that a file saved again since is read as it is now.
bool CMyFile::Rewind() {
    if (m_stream == nullptr) return false;
    FILE* fresh = OpenSharedFile(m_fileName, m_mode);
    if (fresh == nullptr) return false;
    std::fclose(m_stream);
    m_stream = fresh;
    m_lineValid = 0;
    return true;
}

// Counted on a second stream of the same file, so the reading position is never touched;
// without restorePosition the reading stream is moved to the end as a counting pass would.
int CMyFile::CountLines(bool restorePosition) {
    if (m_stream == nullptr) return -1;
    FILE* counter = OpenSharedFile(m_fileName, m_mode);
    if (counter == nullptr) return -1;
    char piece[kLineRoom + 1];
    int lines = 0;
    while (ReadPiece(counter, piece, m_text) >= 0)
        ++lines;
    std::fclose(counter);
    if (!restorePosition) std::fseek(m_stream, 0, SEEK_END);
    return lines;
}

int CMyFile::ReadLine() {
    m_lineValid = 0;
    m_lineLength = 0;
    if (m_stream == nullptr) return 0;
    const int length = ReadPiece(m_stream, m_line, m_text);
    if (length < 0) {
        m_line[0] = 0;
        return 0;
    }
    m_lineLength = length;
    m_lineValid = 1;
    return 1;
}

// Up to 255 bytes, up to and including a line feed, as the C library's line reader takes
// them; a CR LF counts as the one "\n" it becomes.
int CMyFile::ReadPiece(FILE* stream, char* out, bool text) {
    int n = 0;
    while (n < kLineRoom - 1) {
        int c = std::getc(stream);
        if (c == EOF) break;
        if (text && c == '\r') {
            const int next = std::getc(stream);
            if (next == '\n')
                c = '\n';
            else if (next != EOF)
                std::ungetc(next, stream);
        }
        out[n++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    out[n] = 0;
    if (std::ferror(stream)) return -1;
    return n > 0 ? n : -1;
}
