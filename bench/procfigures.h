// What this process has cost so far: CPU seconds of all its threads, and wake-ups (context
// switches of all its threads as Linux counts them; natively only).
#pragma once

namespace bench {

double ProcessCpuSeconds();
// -1 when the counters cannot be read.
long long ProcessWakeUps();

} // namespace bench
