// Prints how long the upload threads take to send a 2000-line module file into the module
// simulator over the null-modem, one ACK per line; a figure to watch, not a pass/fail limit.
#include <chrono>
#include <cstdio>
#include <string>

#include "comm.h"
#include "fileio.h"
#include "loadingrecorder.h"
#include "modsim.h"
#include "myfile.h"
#include "nullmodem.h"
#include "process.h"
#include "uploadstate.h"
#include "uploadthreads.h"

namespace {

using Clock = std::chrono::steady_clock;
const int kLines = 2000;

double Seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

bool WriteModuleFile(const std::string& path) {
    FILE* out = OpenSharedFile(path.c_str(), "wb");
    if (!out) return false;
    for (int n = 0; n < kLines; n++)
        std::fprintf(out, ":10%04X00000102030405060708090A0B0C0D0E0F%02X\n", (n * 16) & 0xFFFF,
                     n & 0xFF);
    std::fclose(out);
    return true;
}

} // namespace

int main() {
    testing_support::NullModem modem;
    CComm port;
    if (!modem.Ready() || port.Open(modem.PortName(0).c_str(), 1) != 1) {
        std::puts("upload_bench: no null-modem");
        return 1;
    }
    testing_support::ModuleSimulator sim(modem, {"--idle", "silent"});
    const std::string folder = testing_support::MakeTempFolder("tarlin-bench");
    const std::string path = folder + "/bench.mhx";
    CMyFile file;
    if (!sim.Started() || !WriteModuleFile(path) || file.Open(path.c_str()) != 1) {
        std::puts("upload_bench: no simulator or no file");
        testing_support::RemoveTree(folder);
        return 1;
    }
    CUploadState state;
    CLoadingRecorder dialog(&state);
    port.WriteString("HEXDWL\n\r");
    CUploadThreads threads(&state);
    const Clock::time_point start = Clock::now();
    threads.Start(&port, &file, &dialog);
    const bool ended = dialog.WaitFor(CLoadingRecorder::kEnd, 600000);
    const Clock::time_point end = Clock::now();
    const Clock::time_point allSent = dialog.FirstAt(CLoadingRecorder::kAllSent);
    const int lines = dialog.Count(CLoadingRecorder::kLineSent);
    std::printf("upload_bench: %d lines, %s\n", lines, ended ? "all confirmed" : "NOT confirmed");
    std::printf("  every line sent and confirmed after %.3f s, %.3f ms per line\n",
                Seconds(start, allSent), lines ? Seconds(start, allSent) * 1000.0 / lines : 0.0);
    std::printf("  dialog ended after %.3f s (the final check waits up to a second)\n",
                Seconds(start, end));
    threads.Wait(3000);
    testing_support::RemoveTree(folder);
    return ended ? 0 : 1;
}
