// Prints how fast the port drains a steady stream and how many reads that takes; a figure
// to watch, not a pass/fail limit.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "comm.h"
#include "nullmodem.h"

int main() {
    testing_support::NullModem modem;
    CComm port, peer;
    if (!modem.Ready() || port.Open(modem.PortName(0).c_str(), 1) != 1 ||
        peer.Open(modem.PortName(1).c_str(), 1) != 1) {
        std::puts("comm_bench: no null-modem");
        return 1;
    }
    const int total = 4 << 20;
    std::thread writer([&] {
        std::string block(65536, 'b');
        for (int sent = 0; sent < total; sent += 65536)
            peer.WriteBuffer(block.data(), 65536);
    });
    int got = 0, reads = 0, chunks = 0;
    const auto start = std::chrono::steady_clock::now();
    while (got < total) {
        int32_t count = 0;
        reads++;
        if (port.Read(&count, 400, 0)) {
            got += count;
            chunks++;
        } else if (count < 0) {
            break;
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    writer.join();
    std::printf("comm_bench: %d bytes in %.2f s (%.1f MB/s), %d reads, %d with data, "
                "%.0f bytes per chunk\n",
                got, seconds, got / seconds / 1e6, reads, chunks,
                chunks ? static_cast<double>(got) / chunks : 0.0);
    return got == total ? 0 : 1;
}
