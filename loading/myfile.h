// The module file being uploaded: a text file read line by line in pieces of at most 255
// characters, kept open between uploads.
#pragma once

#include <cstdio>

class CMyFile {
public:
    static constexpr int kMaxPath = 260;
    static constexpr int kLineRoom = 256; // 255 characters and the NUL

    CMyFile();
    virtual ~CMyFile();
    CMyFile(const CMyFile&) = delete;
    CMyFile& operator=(const CMyFile&) = delete;

    int Open(const char* path, const char* mode = "rt");
    void Close();
    bool IsOpen() const { return m_stream != nullptr; }
    // Lines as ReadLine will deliver them; -1 without a file.
    int CountLines(bool restorePosition);
    // Nonzero while a line was read; 0 at the end of the file or after an error.
    int ReadLine();
    bool Rewind();

    const char* GetFileName() const { return m_fileName; }
    const char* GetLine() const { return m_line; }
    bool IsLineValid() const { return m_lineValid != 0; }
    FILE* GetStream() const { return m_stream; }

private:
    char m_fileName[kMaxPath + 1];
    FILE* m_stream;
    char m_line[kLineRoom + 1];
    int m_lineValid;
    char m_mode[8];
};
