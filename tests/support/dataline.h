// A data object on end a of a fresh null-modem pair, its settings in a fresh folder, and a peer
// port on end b that collects what arrives.
#pragma once

#include "comm.h"
#include "nullmodem.h"
#include "tarlinsendingdata.h"

#include <memory>
#include <string>

namespace testing_support {

// Bytes arriving at a port within ms milliseconds, up to want of them.
std::string Collect(CComm& port, size_t want, int ms);

class CDataLine {
public:
    CDataLine();
    ~CDataLine();
    CDataLine(const CDataLine&) = delete;
    CDataLine& operator=(const CDataLine&) = delete;

    bool Ready() const { return m_ready; }
    // A data object as at the next start of the program, on the same folder and port.
    void Restart();

    NullModem modem;
    std::string folder;
    std::unique_ptr<CTarlinData> data;
    CTarlinSendingData store;
    CComm peer;

private:
    bool m_ready = false;
};

} // namespace testing_support
