// Growable, NUL-terminated 8-bit string (cp1250 text, handled as bytes).
#pragma once

#include "myobject.h"

class OSKEL_API CDynString : public CMyObject {
public:
    CDynString();
    explicit CDynString(int n);
    CDynString(const char* text);
    ~CDynString() override;
    CDynString(const CDynString&) = delete;
    CDynString& operator=(const CDynString&) = delete;

    int InitBuffer(int n);
    int InitBuffer(const char* text);
    void FreeBuffer();

    int SetString(const char* text, int count);
    int SetStringAt(const char* text, int pos);
    int Append(const char* text);

    char* FindChar(char c, int start);
    char* FindCharReverse(char c, int start);
    int ReplaceChar(char from, char to);
    int Replace(const char* find, const char* repl, int start);

    int TrimLeft();
    int TrimRight();
    int Trim();

    // argList points at a prepared va_list; it is copied, never consumed.
    int Format(const char* format, ...) OSKEL_PRINTF(2, 3);
    int FormatList(void* argList, const char* format);
    int BufferFormatedWrite(const char* format, void* argList);

    char* GetString() const { return m_buffer; }
    bool IsEmpty() const { return m_buffer == nullptr || m_capacity == 0 || m_buffer[0] == 0; }
    int GetCapacity() const { return m_capacity; }

private:
    bool Owns(const char* text) const;

    char* m_buffer;
    int m_capacity;
};
