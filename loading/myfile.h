// The module file being uploaded, read line by line in pieces of at most 255 characters and
// kept open between uploads. Every byte of the file is read (NUL and 0x1A included); in the
// text modes CR LF ends a line as "\n", as a text stream would deliver it.
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
    // The line last read; it may hold NUL bytes, so its length is GetLineLength.
    const char* GetLine() const { return m_line; }
    int GetLineLength() const { return m_lineLength; }
    bool IsLineValid() const { return m_lineValid != 0; }
    FILE* GetStream() const { return m_stream; }

private:
    // The next piece of a line into out (kLineRoom bytes); its length, or -1 at the end of
    // the file or on a read error.
    static int ReadPiece(FILE* stream, char* out, bool text);

    char m_fileName[kMaxPath + 1];
    FILE* m_stream;
    char m_line[kLineRoom + 1];
    int m_lineValid;
    char m_mode[8];
    bool m_text;
    int m_lineLength;
};
