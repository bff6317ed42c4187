// A full read of a layout C mouse (both sections, 32 macro pages, the name table) from a
// zero-latency virtual mouse: once with the real clock against the protocol's own pauses, once
// with a clock that never waits to show the processor time per report; and the real clock's
// overshoot on the 500 us pause itself.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <vector>

#include "device/device_link.h"
#include "device/virtual_mouse.h"

namespace kelv::device {
namespace {

// Time moves only when someone waits, and waiting costs nothing.
class NoWaitClock : public Clock {
  public:
    std::uint64_t NowMicros() override { return now_; }
    void SleepMicros(std::uint64_t micros) override { now_ += micros; }

  private:
    std::uint64_t now_ = 0;
};

constexpr int kFetchesPerRead = 15 + 21 + 32 * 37 + 147;  // 1367
constexpr int kCommandsPerRead = 2 + 32 + 1;
constexpr double kMandatedMicros = kFetchesPerRead * double(kFetchPauseMicros);

std::vector<std::uint8_t> Image() {
    std::vector<std::uint8_t> image(768, 0x5A);
    image[0] = 0xF0;
    image[2] = 0xF7;
    image[3] = 0x31;
    image[4] = 0x73;
    image[5] = 0x07;
    return image;
}

// Everything the read cycle reads in layout C. Returns the number of bytes that came back.
std::size_t FullRead(DeviceLink& link) {
    static std::array<std::uint8_t, 104> parameter;
    static std::array<std::uint8_t, 145> profile;
    static std::array<std::uint8_t, 256> page;
    static std::array<std::uint8_t, 1024> names;
    link.ReadSectionBusy(0, 0, 104, parameter);
    link.ReadSectionBusy(1, 0, 145, profile);
    for (int i = 0; i < memory_map::kMacroPageCount; ++i) {
        link.ReadMemory(memory_map::MacroPageAddress(i), 256, page);
    }
    link.ReadMemory(memory_map::kNameTableAddress, 1024, names);
    return parameter.size() + profile.size() + page.size() + names.size();
}

template <class ClockType>
void RunFullRead(benchmark::State& state) {
    ClockType clock;
    Host host;
    const auto image = Image();
    VirtualMouseOptions options;
    options.layout = Layout::C;
    options.keepLog = false;
    VirtualMouse mouse(clock, image, options);
    VirtualHidPort port(&mouse);
    DeviceLink link(port, clock, host, EnglishLinkTexts());
    std::uint16_t version = 0;
    if (!link.OpenDevice(0xF731, 0x7307, version) ||
        link.ReadDevInfo() != DevInfoResult::Accepted || link.CurrentLayout() != Layout::C) {
        state.SkipWithError("virtual mouse not identified as layout C");
        return;
    }
    const int fetchesBefore = mouse.FetchCount();
    for (auto _ : state) {
        benchmark::DoNotOptimize(FullRead(link));
    }
    const int fetches = (mouse.FetchCount() - fetchesBefore) / static_cast<int>(state.iterations());
    if (fetches != kFetchesPerRead) state.SkipWithError("unexpected fetch count");
    state.counters["reports"] =
        benchmark::Counter(double(kFetchesPerRead + kCommandsPerRead) * state.iterations(),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["mandated_ms"] = kMandatedMicros / 1000.0;
}

void BM_FullReadLayoutC_SystemClock(benchmark::State& state) {
    RunFullRead<SystemClock>(state);
}
BENCHMARK(BM_FullReadLayoutC_SystemClock)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5)
    ->Repetitions(3)
    ->ComputeStatistics("max", [](const std::vector<double>& v) {
        return *std::max_element(v.begin(), v.end());
    });

void BM_FullReadLayoutC_NoWait(benchmark::State& state) {
    RunFullRead<NoWaitClock>(state);
}
BENCHMARK(BM_FullReadLayoutC_NoWait)->Unit(benchmark::kMicrosecond);

// How long MicroDelay(500) really takes on the machine's clock.
void BM_MicroDelay500_SystemClock(benchmark::State& state) {
    SystemClock clock;
    Host host;
    VirtualHidPort port;
    DeviceLink link(port, clock, host, EnglishLinkTexts());
    std::vector<double> over;
    over.reserve(static_cast<std::size_t>(state.max_iterations));
    for (auto _ : state) {
        const std::uint64_t start = clock.NowMicros();
        link.MicroDelay(500);
        over.push_back(double(clock.NowMicros() - start) - 500.0);
    }
    double total = 0;
    for (double o : over) total += o;
    std::sort(over.begin(), over.end());
    state.counters["overshoot_us"] = total / double(over.size());
    state.counters["median_us"] = over[over.size() / 2];
    state.counters["p99_us"] = over[over.size() * 99 / 100];
    state.counters["worst_us"] = over.back();
}
BENCHMARK(BM_MicroDelay500_SystemClock)->Unit(benchmark::kMicrosecond)->Iterations(2000);

}  // namespace
}  // namespace kelv::device

BENCHMARK_MAIN();
