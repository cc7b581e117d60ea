// Process services from POSIX: working directory, login name, /proc/self/cmdline.
#include "codepage.h"
#include "platform.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace oskel {
namespace {

int SetFromUtf8(CDynString& out, const char* text) {
    const int size = OskelUtf8ToCp1250(text, nullptr, 0);
    std::vector<char> converted(static_cast<size_t>(size));
    OskelUtf8ToCp1250(text, converted.data(), size);
    return out.InitBuffer(converted.data());
}

// Quotes an argument so CCmdLine gives it back whole: it has no escape character,
// so pick a quote kind the argument does not contain.
std::string Quoted(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \"'") == std::string::npos) return arg;
    const char quote = arg.find('"') == std::string::npos ? '"' : '\'';
    return quote + arg + quote;
}

} // namespace

int ReadCurrentDirectory(CDynString& out) {
    std::vector<char> buffer(256);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (buffer.size() > (1u << 20)) return 0;
        buffer.resize(buffer.size() * 2);
    }
    return SetFromUtf8(out, buffer.data());
}

int ReadUserName(CDynString& out) {
    char name[260];
    if (getlogin_r(name, sizeof name) == 0 && name[0] != 0) return SetFromUtf8(out, name);
    if (const passwd* entry = getpwuid(geteuid())) return SetFromUtf8(out, entry->pw_name);
    if (const char* user = std::getenv("USER")) return SetFromUtf8(out, user);
    return 0;
}

int ReadProcessCommandLine(CDynString& out) {
    FILE* file = std::fopen("/proc/self/cmdline", "rb");
    if (file == nullptr) return 0;
    std::string raw;
    char chunk[4096];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
        raw.append(chunk, n);
    std::fclose(file);
    std::string line;
    for (size_t start = 0; start < raw.size();) {
        const size_t end = raw.find('\0', start);
        const std::string arg = raw.substr(start, end == std::string::npos ? end : end - start);
        if (!line.empty()) line += ' ';
        line += Quoted(arg);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return SetFromUtf8(out, line.c_str());
}

} // namespace oskel
