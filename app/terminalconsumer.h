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
    int GetRow() override { return m_data.GetCurrentLine(); }
    const CInterpreter& GetInterpreter() const { return m_interpreter; }

private:
    CTarlinData& m_data;
    CInterpreter m_interpreter;
};
