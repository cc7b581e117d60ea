#include "myfile.h"

#include "fileio.h"

#include <cstring>

CMyFile::CMyFile() : m_fileName{}, m_stream(nullptr), m_line{}, m_lineValid(0), m_mode{} {}

CMyFile::~CMyFile() {
    Close();
}

void CMyFile::Close() {
    if (m_stream != nullptr) std::fclose(m_stream);
    m_stream = nullptr;
    m_fileName[0] = 0;
    m_line[0] = 0;
    m_lineValid = 0;
}

// A path longer than the name field is refused rather than kept cut short.
int CMyFile::Open(const char* path, const char* mode) {
    Close();
    if (mode == nullptr) mode = "rt";
    if (path == nullptr || path[0] == 0 || std::strlen(path) > kMaxPath ||
        std::strlen(mode) >= sizeof m_mode)
        return 0;
    m_stream = OpenSharedFile(path, mode);
    if (m_stream == nullptr) return 0;
    std::strcpy(m_fileName, path);
    std::strcpy(m_mode, mode);
    return 1;
}

// Text streams of some C libraries misplace seeks in files with bare line feeds, so the
// file is opened afresh instead of seeking.
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
    char piece[kLineRoom];
    int lines = 0;
    while (std::fgets(piece, sizeof piece, counter) != nullptr)
        ++lines;
    std::fclose(counter);
    if (!restorePosition) std::fseek(m_stream, 0, SEEK_END);
    return lines;
}

int CMyFile::ReadLine() {
    m_lineValid = 0;
    if (m_stream == nullptr) return 0;
    if (std::fgets(m_line, kLineRoom, m_stream) == nullptr) {
        m_line[0] = 0;
        return 0;
    }
    m_lineValid = 1;
    return 1;
}
