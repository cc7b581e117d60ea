// The module simulator as a test peer: started on one end of a null-modem, stopped (through
// its control file) on destruction.
#pragma once

#include <string>
#include <vector>

#include "nullmodem.h"

namespace testing_support {

class ModuleSimulator {
public:
    // Runs modsim on the null-modem's end b with the given extra options.
    ModuleSimulator(const NullModem& modem, const std::vector<std::string>& options);
    ~ModuleSimulator();
    ModuleSimulator(const ModuleSimulator&) = delete;
    ModuleSimulator& operator=(const ModuleSimulator&) = delete;

    bool Started() const { return m_started; }
    // Appends one command line to the control file ("power", "echo", "silent", ...).
    void Command(const std::string& line);
    // Where the lines of an upload are recorded (pass "--record" + RecordPath() yourself).
    std::string RecordPath() const { return m_folder + "/record"; }
    // The record file as this program opens it.
    std::string LocalRecordPath() const;

private:
    std::string m_folder;
    std::string m_control;
    bool m_started = false;
};

} // namespace testing_support
