#include "dataline.h"

#include "process.h"

#include <chrono>

namespace testing_support {

std::string Collect(CComm& port, size_t want, int ms) {
    using Clock = std::chrono::steady_clock;
    std::string got;
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (got.size() < want && Clock::now() < end) {
        int32_t count = 0;
        if (const char* data = port.Read(&count, 100, 0)) got.append(data, count);
    }
    return got;
}

CDataLine::CDataLine() : folder(MakeTempFolder("tarlin-line")) {
    Restart();
    m_ready = modem.Ready() && data->OpenPort(modem.PortName(0).c_str()) == 1 &&
              peer.Open(modem.PortName(1).c_str(), 1) == 1;
}

CDataLine::~CDataLine() {
    store.Bind(nullptr);
    data.reset();
    RemoveTree(folder);
}

void CDataLine::Restart() {
    const bool wasOpen = data != nullptr && data->IsPortOpen() == 1;
    data.reset();
    data = std::make_unique<CTarlinData>();
    data->InitData(); // start folder, user and program name, as the application gives them
    data->LocateSettingsFiles(folder.c_str());
    if (wasOpen) data->OpenPort(modem.PortName(0).c_str());
    store.Bind(data.get());
}

} // namespace testing_support
