#include "nullmodem.h"

#include <atomic>
#include <cctype>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "nmstate.h"
#include "process.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace testing_support {

namespace {

const int kHeader = 16;
const int kEndSize = static_cast<int>(sizeof(nm_end));
static_assert(sizeof(nm_state) == 16 + 2 * sizeof(nm_end), "state layout");
static_assert(offsetof(nm_end, req_vanish) == 80, "state layout");
static_assert(offsetof(nm_end, max_baud) == 96, "state layout");

#if defined(_WIN32)

// A claim older than any test run is left from a test that was killed.
bool Stale(const std::string& claim) {
    WIN32_FILE_ATTRIBUTE_DATA info;
    if (!GetFileAttributesExA(claim.c_str(), GetFileExInfoStandard, &info)) return false;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    auto ticks = [](FILETIME t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return ticks(now) - ticks(info.ftCreationTime) > 20ull * 60 * 10000000;
}

// Claims a COM number nobody else uses (an atomic folder creation is the lock).
int ClaimComNumber() {
    CreateDirectoryA("Z:\\tmp\\tarlin-com", nullptr);
    for (int n = 20; n < 250; n++) {
        std::string claim = "Z:\\tmp\\tarlin-com\\" + std::to_string(n);
        if (CreateDirectoryA(claim.c_str(), nullptr)) return n;
        if (Stale(claim) && RemoveDirectoryA(claim.c_str()) &&
            CreateDirectoryA(claim.c_str(), nullptr))
            return n;
    }
    return 0;
}

void ReleaseComNumber(int n) {
    if (n) RemoveDirectoryA(("Z:\\tmp\\tarlin-com\\" + std::to_string(n)).c_str());
}

// Wine's process ids repeat between runs, so the folder is made until it is a new one.
std::string NewFolder() {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; attempt++) {
        std::string folder = "/tmp/nm." + std::to_string(GetCurrentProcessId()) + "." +
                             std::to_string(GetTickCount64() % 1000000) + "." +
                             std::to_string(counter++);
        if (CreateDirectoryA(FromLinux(folder).c_str(), nullptr)) return folder;
    }
    return "";
}
#else
std::string NewFolder() {
    char folder[] = "/tmp/nm.XXXXXX";
    return mkdtemp(folder) ? folder : "";
}
#endif

} // namespace

bool RunningUnderWine() {
#if defined(_WIN32)
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
    return false;
#endif
}

std::string NullModem::ToolFolder() {
    return TARLIN_HOST_BIN;
}

NullModem::NullModem(const std::string& alias) {
    m_ready = Start(alias);
}

bool NullModem::Start(const std::string& alias) {
    m_folder = NewFolder();
    if (m_folder.empty()) return false;
    m_stateFile = FromLinux(m_folder + "/state");
    // The lifetime ends a pair whose test was killed before it could stop it.
    std::vector<std::string> args = {"--dir", m_folder, "--daemon", "--lifetime", "900"};
#if defined(_WIN32)
    const char* prefix = std::getenv("WINEPREFIX");
    if (!prefix) return false;
    for (int end = 0; end < 2; end++) {
        m_com[end] = ClaimComNumber();
        if (!m_com[end]) return false;
        args.push_back(end == 0 ? "--link-a" : "--link-b");
        args.push_back(std::string(prefix) + "/dosdevices/com" + std::to_string(m_com[end]));
    }
    if (!alias.empty()) {
        std::string name = alias;
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        args.push_back("--link-a");
        args.push_back(std::string(prefix) + "/dosdevices/" + name);
    }
#else
    if (!alias.empty()) {
        args.push_back("--link-a");
        args.push_back(alias);
    }
#endif
    std::string output;
    const std::string program = FromLinux(ToolFolder() + "/nullmodem");
    RunCapture(program, "nullmodem", args, FromLinux(m_folder), output);
    return WaitPresent(0, true, 5000) && WaitPresent(1, true, 5000);
}

NullModem::~NullModem() {
    if (FILE* f = std::fopen(m_stateFile.c_str(), "r+b")) {
        int32_t quit = 1;
        std::fseek(f, offsetof(nm_state, req_quit), SEEK_SET);
        std::fwrite(&quit, sizeof quit, 1, f);
        std::fclose(f);
        WaitPresent(0, false, 2000);
        WaitPresent(1, false, 2000);
    }
#if defined(_WIN32)
    ReleaseComNumber(m_com[0]);
    ReleaseComNumber(m_com[1]);
#endif
    if (!m_folder.empty()) RemoveTree(FromLinux(m_folder));
}

std::string NullModem::PortName(int end) const {
#if defined(_WIN32)
    return "COM" + std::to_string(m_com[end]);
#else
    return DevicePath(end);
#endif
}

std::string NullModem::DevicePath(int end) const {
    return m_folder + (end == 0 ? "/a" : "/b");
}

int32_t NullModem::Read(int end, int field) const {
    int32_t value = -1;
    if (FILE* f = std::fopen(m_stateFile.c_str(), "rb")) {
        std::fseek(f, kHeader + end * kEndSize + field, SEEK_SET);
        if (std::fread(&value, sizeof value, 1, f) != 1) value = -1;
        std::fclose(f);
    }
    return value;
}

void NullModem::Write(int end, int field, int32_t value) {
    if (FILE* f = std::fopen(m_stateFile.c_str(), "r+b")) {
        std::fseek(f, kHeader + end * kEndSize + field, SEEK_SET);
        std::fwrite(&value, sizeof value, 1, f);
        std::fclose(f);
    }
}

// Only tests write the request fields, so a read and a write are enough.
void NullModem::Bump(int end, int field) {
    if (FILE* f = std::fopen(m_stateFile.c_str(), "r+b")) {
        int32_t value = 0;
        std::fseek(f, kHeader + end * kEndSize + field, SEEK_SET);
        if (std::fread(&value, sizeof value, 1, f) == 1) {
            value++;
            std::fseek(f, kHeader + end * kEndSize + field, SEEK_SET);
            std::fwrite(&value, sizeof value, 1, f);
        }
        std::fclose(f);
    }
}

bool NullModem::WaitPresent(int end, bool want, int ms) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (Present(end) != want) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace testing_support
