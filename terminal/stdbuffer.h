// The terminal's screen store: 5000 lines of 80 cells with a colour attribute each and a
// cursor shown as an inverted cell inside the grid itself.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>

class CStdBuffer {
public:
    static constexpr int kColumns = 80;
    static constexpr int kLines = 5000;
    static constexpr int kScrollLines = 10;
    static constexpr uint8_t kDefaultAttribute = 0x70;
    static constexpr uint8_t kEchoAttribute = 0x78;
    static constexpr uint8_t kAnnounceAttribute = 0x74;
    static constexpr uint8_t kErrorAttribute = 0x71;

    CStdBuffer();
    virtual ~CStdBuffer();
    CStdBuffer(const CStdBuffer&) = delete;
    CStdBuffer& operator=(const CStdBuffer&) = delete;

    int Init();

    int PutChar(unsigned char ch, bool interpret, int hex);
    // The same as PutChar for each of count bytes, with one lock and one move of the mark.
    int PutText(const char* data, int count, bool interpret, int hex);
    int Clear();
    int ClearToEnd();
    int ClearToStart();
    int ClearLineToEnd();
    int SetAnsiAttributes(const char* text);

    int GoTo(int row, int column);
    void CursorUp(int n);
    void CursorDown(int n);
    void CursorLeft(int n);
    void CursorRight(int n);
    int GetRow() const { return m_row; }
    int GetColumn() const { return m_column; }

    const char* GetLine(int row) const;
    int GetLineLength() const { return kColumns; }
    int GetLineCount() const { return kLines; }
    int GetUsedLines() const { return m_usedLines; }
    uint32_t GetTextColor(int row, int column) const;
    uint32_t GetBackColor(int row, int column) const;
    // The 80 stored attributes of a line (the mark's cell inverted); null outside.
    const uint8_t* GetLineAttributes(int row) const;
    bool IsWhiteBack(int row, int column) const;
    bool IsLineMixed(int row) const;
    int IsChanged(bool reset);
    int WasCleared() const { return m_cleared; }

    void SetAttribute(uint8_t attribute);
    uint8_t GetAttribute() const { return m_attribute; }

    // Every writing operation holds the lock for its whole run, so the read thread and the
    // user-interface thread never interleave inside one. Callers hold it across several
    // operations (an echo that switches the attribute, a status line); it is recursive.
    void Lock() { m_lock.lock(); }
    void Unlock() { m_lock.unlock(); }

    // Several operations as one change: the lock is held, and once one of them has written,
    // the cursor mark stays off the grid until the outermost EndUpdate shows it at the cursor
    // (which sets the changed flag). Only for writers: a reader in between may see no mark.
    void BeginUpdate();
    void EndUpdate();

    static uint8_t InvertAttribute(uint8_t attribute);

private:
    static constexpr int kLineSize = kColumns + 2; // cells, line feed, NUL
    // Hex display: 16 entries of three columns; past this column a new line starts.
    static constexpr int kHexWrapColumn = 47;
    static constexpr int kHexBarColumn = 48;
    // Byte k's character stands at column k + 50, that is the advanced column / 3 + 49.
    static constexpr int kHexCharOffset = 49;

    // The lines form a ring: row 0 is stored at m_top, so a scroll moves no text.
    size_t Slot(int row) const {
        const int slot = m_top + row;
        return static_cast<size_t>(slot >= kLines ? slot - kLines : slot);
    }
    char* Line(int row) { return m_lineData + Slot(row) * kLineSize; }
    const char* Line(int row) const { return m_lineData + Slot(row) * kLineSize; }
    uint8_t* Attributes(int row) { return m_attributeData + Slot(row) * kColumns; }
    const uint8_t* Attributes(int row) const { return m_attributeData + Slot(row) * kColumns; }

    // A writing operation: inside an update, with the mark off the grid.
    class Writing {
    public:
        explicit Writing(CStdBuffer& buffer) : m_buffer(buffer) {
            m_buffer.BeginUpdate();
            m_buffer.TakeMarkOff();
        }
        ~Writing() { m_buffer.EndUpdate(); }
        Writing(const Writing&) = delete;
        Writing& operator=(const Writing&) = delete;

    private:
        CStdBuffer& m_buffer;
    };

    void TakeMarkOff();
    // The mark's cell; the mark does not count as a written line: a cleared screen has no
    // used line even though the mark stands on its first cell.
    void SetMarkAttribute(uint8_t attribute);
    void HideCursor();
    void ShowCursor();
    void Scroll();
    void FullClear();
    void NextLineScrolling();
    void BlankLines(int first, int end);
    void DefaultAttributes(int first, int end);
    void PutHex(const unsigned char* bytes, int count);
    bool PutShownChar(unsigned char ch, bool interpret);
    void PutByte(unsigned char ch, bool interpret);
    void PutInterpreted(const unsigned char* bytes, int count);
    int PutOnRow(const unsigned char* bytes, int i, int count);
    void StoreRun(const char* text, int count);

    int m_row = 0;
    int m_column = 0;
    std::unique_ptr<char[]> m_lines;
    int m_usedLines = 0;
    uint8_t m_attribute = kDefaultAttribute;
    uint8_t m_underCursor = 7;
    std::unique_ptr<uint8_t[]> m_attributes;
    char* m_lineData;
    uint8_t* m_attributeData;
    int m_top = 0;
    std::recursive_mutex m_lock;
    int m_changed = 0;
    int m_cleared = 0;
    // Where the cursor mark stands; it may differ from the cursor while the column is 80.
    int m_markRow = -1;
    int m_markColumn = 0;
    // Nesting of the updates under way, and whether one has taken the mark off (both guarded
    // by the lock).
    int m_updateDepth = 0;
    bool m_markOff = false;
};

// One update of the buffer for the life of the scope (see CStdBuffer::BeginUpdate).
class CStdBufferUpdate {
public:
    explicit CStdBufferUpdate(CStdBuffer& buffer) : m_buffer(buffer) { m_buffer.BeginUpdate(); }
    ~CStdBufferUpdate() { m_buffer.EndUpdate(); }
    CStdBufferUpdate(const CStdBufferUpdate&) = delete;
    CStdBufferUpdate& operator=(const CStdBufferUpdate&) = delete;

private:
    CStdBuffer& m_buffer;
};

// Holds the buffer for the life of the scope.
class CStdBufferHold {
public:
    explicit CStdBufferHold(CStdBuffer& buffer) : m_buffer(buffer) { m_buffer.Lock(); }
    ~CStdBufferHold() { m_buffer.Unlock(); }
    CStdBufferHold(const CStdBufferHold&) = delete;
    CStdBufferHold& operator=(const CStdBufferHold&) = delete;

private:
    CStdBuffer& m_buffer;
};
