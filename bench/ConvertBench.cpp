// Benchmarks of the conversion path: the whole Convert command on a realistic mix of requests
// over all 100 pairs of quantities, and its three numeric building blocks.
//
// Each benchmark also reports `allocs/call`, the heap allocations per call counted by the
// replaced global operator new of AllocationCounter.cpp. The numeric path allocates nothing; the
// only allowed allocations are the returned strings, and results and number texts are short enough
// for the small-string buffer, so a successful conversion should show 0.
#include "AllocationCounter.h"
#include "convert/ConvertCommand.h"
#include "engine/Module1.h"
#include "engine/NumberText.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace
{

using pevrand::ConvertRequest;
using pevrand::Quantity;

// Reports the allocations made since `start` as a per-iteration average.
void ReportAllocations(benchmark::State &state, std::uint64_t start)
{
    const std::uint64_t made = pevrand::bench::AllocationCount() - start;
    state.counters["allocs/call"] =
        benchmark::Counter(static_cast<double>(made), benchmark::Counter::kAvgIterations);
}

// A value a user would type for each input quantity, in the order of `Quantity`.
constexpr std::array<const char *, 10> TypicalInput{
    "25",     // Energy, meV
    "1.8",    // Wavelength, Angstrom
    "6.045",  // Nu, THz
    "2200",   // Velocity, m/s
    "3.47",   // Momentum k, inverse Angstrom
    "290",    // Temperature, K
    "201.65", // Invcm
    "4.9127", // Q, inverse Angstrom
    "2.0",    // Dspacing, Angstrom
    "10000",  // Tof, microseconds
};

// All 100 pairs as the window hands them over: the angle and flight path boxes hold a value
// when the pair needs it and are left empty otherwise.
std::vector<ConvertRequest> AllPairs()
{
    std::vector<ConvertRequest> requests;
    for (int in = 0; in < 10; ++in) {
        for (int out = 0; out < 10; ++out) {
            const auto input = static_cast<Quantity>(in);
            const auto output = static_cast<Quantity>(out);
            requests.push_back({TypicalInput[static_cast<std::size_t>(in)],
                                pevrand::NeedsAngle(input, output) ? "90" : "",
                                pevrand::NeedsFlightPath(input, output) ? "10" : "", input,
                                output});
        }
    }
    return requests;
}

// One request per message of the command.
std::vector<ConvertRequest> MessageRequests()
{
    using Q = Quantity;
    return {
        {"", "", "", Q::Energy, Q::Wavelength},  {"-5", "", "", Q::Energy, Q::Wavelength},
        {"1000", "", "", Q::Tof, Q::Energy},     {"1000", "", "0", Q::Tof, Q::Energy},
        {"25", "", "", Q::Energy, Q::Q},         {"25", "181", "", Q::Energy, Q::Q},
        {"2", "0", "", Q::Dspacing, Q::Energy},  {"25", "", "", std::nullopt, Q::Energy},
        {"25", "", "", Q::Energy, std::nullopt}, {"1e20", "", "", Q::Energy, Q::Energy},
    };
}

template <class Item, class Body>
void Cycle(benchmark::State &state, const std::vector<Item> &items, Body body)
{
    std::size_t i = 0;
    const std::uint64_t start = pevrand::bench::AllocationCount();
    for (auto _ : state) {
        body(items[i]);
        i = i + 1 == items.size() ? 0 : i + 1;
    }
    ReportAllocations(state, start);
}

void RunConvertAllPairs(benchmark::State &state)
{
    const std::vector<ConvertRequest> requests = AllPairs();
    Cycle(state, requests, [](const ConvertRequest &request) {
        benchmark::DoNotOptimize(pevrand::RunConvert(request));
    });
}
BENCHMARK(RunConvertAllPairs);

void RunConvertStartUp(benchmark::State &state)
{
    const std::vector<ConvertRequest> requests{
        {"25", "", "", Quantity::Energy, Quantity::Wavelength}};
    Cycle(state, requests, [](const ConvertRequest &request) {
        benchmark::DoNotOptimize(pevrand::RunConvert(request));
    });
}
BENCHMARK(RunConvertStartUp);

// Messages longer than the small-string buffer allocate: that is the returned string.
void RunConvertMessages(benchmark::State &state)
{
    const std::vector<ConvertRequest> requests = MessageRequests();
    Cycle(state, requests, [](const ConvertRequest &request) {
        benchmark::DoNotOptimize(pevrand::RunConvert(request));
    });
}
BENCHMARK(RunConvertMessages);

// Unrounded results of typical conversions, from tenths to tens of thousands.
std::vector<float> TypicalResults()
{
    return {1.8087233f, 0.24181458f, 2186.8491f, 290.14102f, 201.65356f,
            3.473814f,  22863.945f,  7150.79f,   6.2831683f, 1.2360806f};
}

void RoundSigFigs(benchmark::State &state)
{
    Cycle(state, TypicalResults(),
          [](float value) { benchmark::DoNotOptimize(pevrand::RoundSigFigs(value, 5)); });
}
BENCHMARK(RoundSigFigs);

void ReadNumber(benchmark::State &state)
{
    const std::vector<std::string> texts{"25",  "1.8",    "2200",   "0.5",   "1.5e3",
                                         "290", "4.9127", "12 m/s", "10000", " 3.14159"};
    Cycle(state, texts,
          [](const std::string &text) { benchmark::DoNotOptimize(pevrand::ReadNumber(text)); });
}
BENCHMARK(ReadNumber);

void SingleText(benchmark::State &state)
{
    std::vector<float> rounded;
    for (const float value : TypicalResults())
        rounded.push_back(pevrand::RoundSigFigs(value, 5));
    Cycle(state, rounded,
          [](float value) { benchmark::DoNotOptimize(pevrand::SingleText(value, 5)); });
}
BENCHMARK(SingleText);

} // namespace

BENCHMARK_MAIN();
