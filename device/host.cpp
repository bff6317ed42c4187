#include "device/host.h"

#include <sys/prctl.h>
#include <time.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

namespace kelv::device {

namespace {

std::int64_t NowNanos() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

timespec ToTimespec(std::int64_t nanos) {
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(nanos / 1000000000);
    ts.tv_nsec = static_cast<long>(nanos % 1000000000);
    return ts;
}

}  // namespace

std::uint64_t SystemClock::NowMicros() {
    return static_cast<std::uint64_t>(NowNanos() / 1000);
}

void SystemClock::SleepMicros(std::uint64_t micros) {
    // The kernel wakes a sleeper late, by the thread's timer slack (50 us by default) plus
    // scheduling: too much for the 500 us pause after every data fetch. So this thread asks for
    // no slack, sleeps until a little before the deadline and spins the rest; the spin covers
    // how late wake-ups have been recently (one stalled wake-up counts for at most kMaxLate).
    static thread_local const bool precise = prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL) == 0;
    (void)precise;
    static thread_local std::int64_t lateNanos = 20000;
    constexpr std::int64_t kMaxLate = 100000;
    constexpr std::int64_t kSpare = 5000;
    const std::int64_t start = NowNanos();
    const std::int64_t deadline = start + static_cast<std::int64_t>(micros) * 1000;
    const std::int64_t wakeAt = deadline - lateNanos - kSpare;
    if (wakeAt > start) {
        const timespec until = ToTimespec(wakeAt);
        // Absolute time, so that signals and early wake-ups never shorten the wait.
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
        }
        const std::int64_t late = std::clamp<std::int64_t>(NowNanos() - wakeAt, 0, kMaxLate);
        lateNanos = (lateNanos * 7 + late) / 8;
    }
    while (NowNanos() < deadline) {
    }
}

}  // namespace kelv::device
