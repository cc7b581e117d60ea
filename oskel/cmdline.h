// Splits a command line into parameters at spaces, double quotes or apostrophes.
#pragma once

#include "dynstring.h"

class OSKEL_API CCmdLine : public CMyObject {
public:
    enum BreakKind { None = 0, EndOfText = 1, DoubleQuote = 2, Apostrophe = 3, Space = 4 };

    CCmdLine();
    explicit CCmdLine(const char* commandLine);
    ~CCmdLine() override;

    void Init(const char* commandLine);
    void SetCommandLine(const char* commandLine);
    int GetFirstParam();
    int GetNextParam();
    int FindBreak(int kind);
    int InitParam(int end);

    const char* GetParam() const {
        return !m_text.IsEmpty() && m_position != -1 ? m_param.GetString() : nullptr;
    }
    int GetPosition() const { return m_position; }
    char GetBreakKind() const { return m_breakKind; }

private:
    int ExtractParam();

    CDynString m_text;
    int m_position;
    char m_breakKind;
    CDynString m_param;
};
