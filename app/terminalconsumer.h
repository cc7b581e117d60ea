// Hands the read thread's bytes to the received-data interpreter under the data object's
// display options of the moment.
#pragma once

#include "interpreter.h"
#include "readthread.h"
#include "tarlindata.h"

class CTerminalConsumer : public IReadConsumer {
public:
    explicit CTerminalConsumer(CTarlinData& data) : m_data(data), m_interpreter(data.GetBuffer()) {}
    void Consume(unsigned char byte) override {
        m_interpreter.InterpretByte(byte, m_data.GetES(), m_data.GetHexOutput());
    }
    // Runs of up to 1 KB go through the interpreter in one call; a stop waits at most that.
    int32_t ConsumeRun(const char* bytes, int32_t count) override {
        const int32_t run = count < kRunBytes ? count : kRunBytes;
        m_interpreter.Interpret(bytes, run, m_data.GetES(), m_data.GetHexOutput());
        return run;
    }
    int GetRow() override { return m_data.GetCurrentLine(); }
    const CInterpreter& GetInterpreter() const { return m_interpreter; }

private:
    static constexpr int32_t kRunBytes = 1024;
    CTarlinData& m_data;
    CInterpreter m_interpreter;
};
