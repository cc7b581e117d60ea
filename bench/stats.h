// Minimum and median of repeated runs, the two figures every benchmark row prints.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

struct Figures {
    double min = 0;
    double median = 0;
    bool valid = false;
};

inline Figures Summarize(std::vector<double> runs) {
    Figures f;
    if (runs.empty()) return f;
    std::sort(runs.begin(), runs.end());
    f.min = runs.front();
    const size_t n = runs.size();
    f.median = n % 2 ? runs[n / 2] : (runs[n / 2 - 1] + runs[n / 2]) / 2;
    f.valid = true;
    return f;
}

// "min / median" with the given precision, or "-" when nothing was measured.
inline std::string Cell(const Figures& f, int decimals) {
    if (!f.valid) return "-";
    char text[64];
    std::snprintf(text, sizeof text, "%.*f / %.*f", decimals, f.min, decimals, f.median);
    return text;
}

// One table row: what, the program's figure, the reference's figure.
inline void Row(const std::string& what, const std::string& program, const std::string& reference) {
    std::printf("| %s | %s | %s |\n", what.c_str(), program.c_str(), reference.c_str());
    std::fflush(stdout);
}

} // namespace bench
