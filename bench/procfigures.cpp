#include "procfigures.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dirent.h>
#include <sys/resource.h>
#endif

namespace bench {

namespace {

#if !defined(_WIN32)
std::vector<std::string> Tasks() {
    std::vector<std::string> tasks;
    if (DIR* dir = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.') tasks.push_back(entry->d_name);
        closedir(dir);
    }
    return tasks;
}

std::string StatusPath(const std::string& task) {
    return "/proc/self/task/" + task + "/status";
}

// Voluntary and involuntary switches of one thread.
long long Switches(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "r");
    if (!file) return 0;
    long long total = 0;
    char line[256];
    while (std::fgets(line, sizeof line, file)) {
        long long value = 0;
        if (std::sscanf(line, "voluntary_ctxt_switches: %lld", &value) == 1 ||
            std::sscanf(line, "nonvoluntary_ctxt_switches: %lld", &value) == 1)
            total += value;
    }
    std::fclose(file);
    return total;
}
#endif

} // namespace

double ProcessCpuSeconds() {
#if defined(_WIN32)
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    auto seconds = [](FILETIME t) {
        return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
           usage.ru_stime.tv_usec / 1e6;
#endif
}

long long ProcessWakeUps() {
#if defined(_WIN32)
    return -1; // Wine answers /proc/self for its server, not for us: counted from outside
#else
    const std::vector<std::string> tasks = Tasks();
    if (tasks.empty()) return -1;
    long long total = 0;
    for (const std::string& task : tasks)
        total += Switches(StatusPath(task));
    return total;
#endif
}

} // namespace bench
