// Turns received bytes into changes of the screen buffer: plain and control characters,
// ANSI-style escape sequences and the hexadecimal dump. The state of a sequence being
// collected survives between chunks, so a sequence split across two reads works.
#pragma once

#include "stdbuffer.h"

// Escape modes of the terminal.
enum EscapeMode { kEscapeNone = 0, kEscapeAnsi = 1, kEscapeMaker = 2 };

class CInterpreter {
public:
    explicit CInterpreter(CStdBuffer& buffer) : m_buffer(buffer) {}

    // One received chunk under the display options of this moment, as if byte by byte; the
    // buffer is changed as one update per slice of it.
    void Interpret(const char* data, int length, int escapeMode, int hexOutput);
    void InterpretByte(unsigned char b, int escapeMode, int hexOutput);

    bool InEscape() const { return m_inEscape; }
    const char* GetSequence() const { return m_sequence; }
    int GetSequenceLength() const { return m_length; }

private:
    static constexpr int kSequenceRoom = 256;
    static constexpr int kLongestOpenSequence = 9;

    void InterpretSlice(const char* data, int length, int escapeMode, int hexOutput);
    void Route(const char* data, int length, int escapeMode, int hexOutput);
    static int PlainRun(const char* data, int length, bool escapes, bool formFeedClears);
    int CollectSequence(const char* data, int length, int hexOutput);
    void ActOnFinal(char final);
    void GoToPosition();
    void EraseInDisplay();
    void EndSequence();
    void Abandon(int hexOutput);
    int NumberAt(int index, int* end) const;

    CStdBuffer& m_buffer;
    bool m_inEscape = false;
    char m_sequence[kSequenceRoom + 1] = {};
    int m_length = 0;
};

// Echo of sent bytes: silver on white, straight into the buffer (no escape interpretation).
// With crAsLineFeed (single characters typed by the user) a carriage return starts a new
// line when the hex display is off.
void EchoToBuffer(CStdBuffer& buffer, const unsigned char* data, int count, int hexOutput,
                  bool crAsLineFeed);
