#include "modsim.h"
#include "process.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace testing_support {

namespace {

#if defined(_WIN32)
// Starts a Linux program from Wine; it inherits the environment (LD_PRELOAD included).
bool Spawn(const std::string& program, const std::vector<std::string>& args) {
    std::string line = "modsim";
    for (const auto& arg : args)
        line += " \"" + arg + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(FromLinux(program).c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}
#else
bool Spawn(const std::string& program, const std::vector<std::string>& args) {
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        // The simulator answers modem-line requests through the preload library; it is
        // built with the sanitizers, which then must not insist on coming first.
        const std::string preload = NullModem::ToolFolder() + "/libnullmodem.so";
        setenv("LD_PRELOAD", preload.c_str(), 1);
        setenv("ASAN_OPTIONS", "verify_asan_link_order=0", 1);
        std::vector<char*> argv{const_cast<char*>("modsim")};
        for (const auto& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    return true;
}
#endif

bool WaitForFile(const std::string& path, int ms) {
    for (int waited = 0; waited < ms; waited += 10) {
        if (FILE* f = std::fopen(path.c_str(), "rb")) {
            std::fclose(f);
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

} // namespace

ModuleSimulator::ModuleSimulator(const NullModem& modem, const std::vector<std::string>& options)
    : m_folder(modem.Folder()), m_control(modem.Folder() + "/control") {
    if (FILE* f = std::fopen(FromLinux(m_control).c_str(), "wb")) std::fclose(f);
    const std::string ready = m_folder + "/ready";
    std::vector<std::string> args = {"--port",  modem.DevicePath(1), "--control",
                                     m_control, "--ready",           ready};
    args.insert(args.end(), options.begin(), options.end());
    m_started = modem.Ready() && Spawn(NullModem::ToolFolder() + "/modsim", args) &&
                WaitForFile(FromLinux(ready), 10000);
}

ModuleSimulator::~ModuleSimulator() {
    if (m_started) Command("quit");
}

void ModuleSimulator::Command(const std::string& line) {
    if (FILE* f = std::fopen(FromLinux(m_control).c_str(), "ab")) {
        std::fputs((line + "\n").c_str(), f);
        std::fclose(f);
    }
}

std::string ModuleSimulator::LocalRecordPath() const {
    return FromLinux(RecordPath());
}

} // namespace testing_support
