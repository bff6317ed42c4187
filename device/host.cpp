#include "device/host.h"

#include <time.h>

#include <cerrno>

namespace kelv::device {

std::uint64_t SystemClock::NowMicros() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000000u +
           static_cast<std::uint64_t>(ts.tv_nsec) / 1000u;
}

void SystemClock::SleepMicros(std::uint64_t micros) {
    // Absolute deadline so that signals and early wake-ups never shorten the wait.
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += static_cast<time_t>(micros / 1000000u);
    deadline.tv_nsec += static_cast<long>((micros % 1000000u) * 1000u);
    if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000L;
    }
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}

}  // namespace kelv::device
