// Typed text for sending: backslash escape sequences decoded in place into bytes, with the
// place of a bad sequence reported in the text as it was typed.
#pragma once

#include "dynstring.h"

#include <cstdint>
#include <memory>

class CEscape {
public:
    CEscape();
    virtual ~CEscape();
    CEscape(const CEscape&) = delete;
    CEscape& operator=(const CEscape&) = delete;

    bool Reserve(int n);
    bool SetText(const char* text);
    bool KeepTyped();
    // 0 on success; otherwise the first bad sequence in the typed text: low 16 bits the
    // index of its backslash, high 16 bits the index just after it.
    uint32_t Decode();
    bool AppendText(const char* text);
    // Removes count bytes before position; false (nothing changed) when out of range.
    bool RemoveBefore(int position, int count);

    // For callers that wrote bytes straight into the data: false beyond the capacity.
    bool SetLength(int length);

    char* GetData() { return m_data.get(); }
    const char* GetData() const { return m_data.get(); }
    int GetLength() const { return m_length; }
    int GetCapacity() const { return m_capacity; }
    const char* GetTyped() const { return m_typed.GetString(); }

    static int RangeStart(uint32_t range) { return static_cast<int>(range & 0xFFFF); }
    static int RangeEnd(uint32_t range) { return static_cast<int>(range >> 16); }

private:
    int DecodeAt(int index, int* removed);
    int ReadNumber(int index, int base, int* value);
    void ReplaceSequence(int index, char byte, int removed);

    int m_length = 0;
    int m_capacity = 0;
    std::unique_ptr<char[]> m_data;
    CDynString m_typed;
    CDynString m_scratch;
};
