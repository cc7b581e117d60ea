// Times the upload threads sending a module file into the module simulator over the
// null-modem, one ACK per line; figures to watch, not pass/fail limits. Prints one figure per
// line, "name value".
//
//   upload_bench [--lines N] [--pace-baud BAUD] [--ack-delay MS]
//
// --pace-baud makes the simulator answer each line only after its wire time at that rate;
// upload_wire_ms_per_line then gives the limit to compare with.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "comm.h"
#include "figures.h"
#include "fileio.h"
#include "loadingrecorder.h"
#include "modsim.h"
#include "myfile.h"
#include "nullmodem.h"
#include "process.h"
#include "timing.h"
#include "uploadstate.h"
#include "uploadthreads.h"

namespace {

using testing_support::Clock;

struct Options {
    int lines;
    int paceBaud;
    int ackDelay;
};

Options Parse(int argc, char** argv) {
    return Options{NumberOption(argc, argv, "lines", 2000),
                   NumberOption(argc, argv, "pace-baud", 0),
                   NumberOption(argc, argv, "ack-delay", 0)};
}

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// 43 characters and a line feed, as the module files have them.
const char kLineFormat[] = ":10%04X00000102030405060708090A0B0C0D0E0F%02X\n";
const int kLineBytes = 44;

bool WriteModuleFile(const std::string& path, int lines) {
    FILE* out = OpenSharedFile(path.c_str(), "wb");
    if (!out) return false;
    for (int n = 0; n < lines; n++)
        std::fprintf(out, kLineFormat, (n * 16) & 0xFFFF, n & 0xFF);
    std::fclose(out);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const Options options = Parse(argc, argv);
    testing_support::NullModem modem;
    CComm port;
    if (!modem.Ready() || port.Open(modem.PortName(0).c_str(), 1) != 1) {
        std::fputs("upload_bench: no null-modem\n", stderr);
        return 1;
    }
    std::vector<std::string> simOptions{"--idle", "silent"};
    if (options.paceBaud > 0)
        simOptions.insert(simOptions.end(), {"--pace-baud", std::to_string(options.paceBaud)});
    if (options.ackDelay > 0)
        simOptions.insert(simOptions.end(), {"--ack-delay", std::to_string(options.ackDelay)});
    testing_support::ModuleSimulator sim(modem, simOptions);
    const std::string folder = testing_support::MakeTempFolder("tarlin-bench");
    const std::string path = folder + "/bench.mhx";
    CMyFile file;
    if (!sim.Started() || !WriteModuleFile(path, options.lines) || file.Open(path.c_str()) != 1) {
        std::fputs("upload_bench: no simulator or no file\n", stderr);
        testing_support::RemoveTree(folder);
        return 1;
    }
    CUploadState state;
    CLoadingRecorder dialog(&state);
    port.WriteString("HEXDWL\n\r");
    CUploadThreads threads(&state);
    const double cpuBefore = testing_support::ProcessCpuMs();
    const Clock::time_point start = Clock::now();
    threads.Start(&port, &file, &dialog);
    const bool ended = dialog.WaitFor(CLoadingRecorder::kEnd, 600000);
    const Clock::time_point end = Clock::now();
    threads.Wait(5000);
    const double cpuMs = testing_support::ProcessCpuMs() - cpuBefore;
    const Clock::time_point allSent = dialog.FirstAt(CLoadingRecorder::kAllSent);
    const int lines = dialog.Count(CLoadingRecorder::kLineSent);

    Figure("upload_lines", lines);
    Figure("upload_confirmed", ended ? 1 : 0);
    Figure("upload_seconds", Ms(end - start) / 1000.0);
    Figure("upload_ms_per_line", lines ? Ms(allSent - start) / lines : 0.0);
    Figure("upload_cpu_seconds", cpuMs / 1000.0);
    Figure("upload_end_after_last_ack_ms", Ms(end - allSent));
    if (options.paceBaud > 0)
        Figure("upload_wire_ms_per_line", kLineBytes * 10 * 1000.0 / options.paceBaud);
    testing_support::RemoveTree(folder);
    return ended ? 0 : 1;
}
