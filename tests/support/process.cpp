#include "process.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace testing_support {

#if defined(_WIN32)

namespace {

// Test paths and arguments are ASCII; widening byte by byte is enough here.
std::wstring Widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

std::wstring QuotedArg(const std::string& arg) {
    if (!arg.empty() && arg.find(' ') == std::string::npos) return Widen(arg);
    return L"\"" + Widen(arg) + L"\"";
}

} // namespace

std::string OwnFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    fs::path own(std::wstring(path, n));
    return own.parent_path().string() + "\\";
}

int RunCapture(const std::string& program, const std::string& first,
               const std::vector<std::string>& args, const std::string& cwd, std::string& output) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return -1;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    std::wstring line = first.find(' ') == std::string::npos && !first.empty()
                            ? Widen(first)
                            : L"\"" + Widen(first) + L"\"";
    for (const auto& arg : args)
        line += L" " + QuotedArg(arg);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    const std::wstring app = Widen(program);
    const std::wstring folder = Widen(cwd);
    const BOOL started = CreateProcessW(app.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr,
                                        folder.c_str(), &startup, &process);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return -1;
    }
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, chunk, sizeof chunk, &got, nullptr) && got > 0)
        output.append(chunk, got);
    CloseHandle(readEnd);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

bool CaptureDisplay(const std::string& path, void (*pump)(int ms)) {
    const std::wstring file = Widen(FromLinux(path));
    DeleteFileW(file.c_str());
    // Wine starts a Unix program given by its path.
    std::wstring line = Widen("import -window root \"" + path + "\"");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(L"Z:\\usr\\bin\\import", &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // Wine cannot wait for a Unix process: the picture is done when its file stops growing.
    long long last = -1;
    for (int i = 0; i < 100; ++i) {
        pump(100);
        WIN32_FILE_ATTRIBUTE_DATA data;
        long long size = -1;
        if (GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data))
            size = (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        if (size > 0 && size == last) return true;
        last = size;
    }
    return false;
}

#else

std::string OwnFolder() {
    std::error_code error;
    const fs::path own = fs::read_symlink("/proc/self/exe", error);
    return own.parent_path().string() + "/";
}

int RunCapture(const std::string& program, const std::string& first,
               const std::vector<std::string>& args, const std::string& cwd, std::string& output) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return -1;
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        dup2(pipeEnds[1], 1);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        if (chdir(cwd.c_str()) != 0) _exit(127);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(first.c_str()));
        for (const auto& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    char chunk[4096];
    for (ssize_t n; (n = read(pipeEnds[0], chunk, sizeof chunk)) > 0;)
        output.append(chunk, static_cast<size_t>(n));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

#endif

std::string FromLinux(const std::string& path) {
#if defined(_WIN32)
    std::string out = "Z:" + path;
    for (char& c : out)
        if (c == '/') c = '\\';
    return out;
#else
    return path;
#endif
}

bool CopyFileTo(const std::string& from, const std::string& to) {
    std::error_code error;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
    return !error;
}

std::string MakeTempFolder(const std::string& hint) {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path folder = fs::temp_directory_path() /
                      (hint + "-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    fs::create_directories(folder);
    return folder.string();
}

void RemoveTree(const std::string& folder) {
    std::error_code error;
    fs::remove_all(folder, error);
}

} // namespace testing_support
