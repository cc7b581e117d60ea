// A fresh null-modem pair for one test: started on construction, stopped on destruction.
// End 0 ("a") is usually the program's port, end 1 ("b") the peer's. Under Wine end a
// also appears as a COM port of the prefix.
#pragma once

#include <cstdint>
#include <string>

namespace testing_support {

// True when this Windows program runs under Wine, whose serial emulation has gaps.
bool RunningUnderWine();

class NullModem {
public:
    // alias: a further port name for end a (a Linux path natively, a device name under
    // Wine), for tests of unusual names.
    explicit NullModem(const std::string& alias = std::string());
    ~NullModem();
    NullModem(const NullModem&) = delete;
    NullModem& operator=(const NullModem&) = delete;

    bool Ready() const { return m_ready; }
    // The name CComm::Open takes for an end: the device path, or "COMn" under Wine.
    std::string PortName(int end) const;
    // The Linux path of an end, for Linux tools such as the module simulator.
    std::string DevicePath(int end) const;
    // The folder of the pair (state file, links), as a Linux path.
    const std::string& Folder() const { return m_folder; }

    // Makes the relay put a damaged character with the given line error on an end's input.
    void InjectFrameError(int end) { Bump(end, kReqFrame); }
    void InjectOverrun(int end) { Bump(end, kReqOverrun); }
    void InjectParityError(int end) { Bump(end, kReqParity); }
    // Pulls the end's plug: whoever holds it sees a hung-up device, its path goes away.
    void Vanish(int end) { Bump(end, kReqVanish); }
    void Replug(int end) { Bump(end, kReqReplug); }
    bool Present(int end) const { return Read(end, kPresent) == 1; }
    // The highest rate the end accepts from now on (0: the cable's own 4 Mbit/s).
    void LimitRate(int end, int32_t maxBaud) { Write(end, kMaxBaud, maxBaud); }
    // Waits up to ms for Present(end) to become want.
    bool WaitPresent(int end, bool want, int ms) const;

    // Where the Linux tools of this build live.
    static std::string ToolFolder();

private:
    // Byte offsets inside one end of the state file (nmstate.h).
    enum Field {
        kPresent = 4,
        kReqFrame = 64,
        kReqOverrun = 68,
        kReqParity = 72,
        kReqVanish = 80,
        kReqReplug = 84,
        kMaxBaud = 96
    };
    int32_t Read(int end, int field) const;
    void Write(int end, int field, int32_t value);
    void Bump(int end, int field);
    bool Start(const std::string& alias);

    std::string m_folder;
    std::string m_stateFile; // as this program opens it
    int m_com[2] = {0, 0};
    bool m_ready = false;
};

} // namespace testing_support
