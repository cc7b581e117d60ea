// What the benchmarks share: "--name number" options and the "name value" lines they print.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>

// The number after --name on the command line, or fallback.
inline int NumberOption(int argc, char** argv, const char* name, int fallback) {
    for (int i = 1; i + 1 < argc; i++)
        if (argv[i][0] == '-' && argv[i][1] == '-' && !std::strcmp(argv[i] + 2, name))
            return std::atoi(argv[i + 1]);
    return fallback;
}

// One figure, one line, so that a script can pick it out.
inline void Figure(const char* name, double value) {
    std::printf("%s %.4f\n", name, value);
}
