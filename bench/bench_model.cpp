// The six operations of the spot model, each beside a reference loop that
// reads exactly the same inputs and does nothing with them, so the ratio of
// the two shows the cost of the arithmetic and the call.

#include "SpotModel.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

struct Input
{
    SpotOptics Optics;
    float Value;  // a distance or a reachable spot, depending on the operation
    int Position; // 0..SliderPositions
    bool Beyond;  // beyond the focus
};

// A fixed spread of converging, diverging and parallel beams; a power of two
// so the index wraps with a mask.
constexpr std::size_t InputCount = 1024;

std::array<Input, InputCount> MakeInputs()
{
    std::array<Input, InputCount> inputs{};
    std::uint32_t state = 12345;
    const auto next = [&state](float lo, float hi) {
        state = state * 1664525u + 1013904223u;
        return lo + (hi - lo) * float(state >> 8) / float(1u << 24);
    };
    for (std::size_t i = 0; i < InputCount; ++i) {
        Input &in = inputs[i];
        in.Optics.M90 = next(1, 50);
        in.Optics.A = next(10, 2000);
        in.Optics.D = i % 16 == 0 ? in.Optics.M90 : next(1, 50);
        // A spot at least as large as the narrowest the beam gets, so every
        // input is reachable and every operation takes its full path.
        const float narrowest = std::min(in.Optics.M90, in.Optics.D);
        in.Value = next(narrowest, 3 * std::max(in.Optics.M90, in.Optics.D));
        in.Position = int(state % (SliderPositions + 1));
        in.Beyond = (state & 1u) != 0;
    }
    return inputs;
}

const std::array<Input, InputCount> Inputs = MakeInputs();

enum class Op
{
    AreInputsValid,
    SpotAtDistance,
    IsSpotReachable,
    DistanceForSpot,
    DistanceForPosition,
    PositionForDistance
};

template <Op op> void Operation(benchmark::State &state)
{
    std::size_t i = 0;
    for (auto _ : state) {
        const Input &in = Inputs[i++ & (InputCount - 1)];
        if constexpr (op == Op::AreInputsValid)
            benchmark::DoNotOptimize(AreInputsValid(in.Optics, in.Value));
        else if constexpr (op == Op::SpotAtDistance)
            benchmark::DoNotOptimize(SpotAtDistance(in.Optics, in.Value));
        else if constexpr (op == Op::IsSpotReachable)
            benchmark::DoNotOptimize(IsSpotReachable(in.Optics, in.Value));
        else if constexpr (op == Op::DistanceForSpot)
            benchmark::DoNotOptimize(DistanceForSpot(in.Optics, in.Value, in.Beyond));
        else if constexpr (op == Op::DistanceForPosition)
            benchmark::DoNotOptimize(DistanceForPosition(in.Optics.A, in.Position));
        else
            benchmark::DoNotOptimize(PositionForDistance(in.Optics.A, in.Value));
    }
}

// Reads what the operation of the same name reads.
template <Op op> void Reference(benchmark::State &state)
{
    std::size_t i = 0;
    for (auto _ : state) {
        const Input &in = Inputs[i++ & (InputCount - 1)];
        if constexpr (op == Op::DistanceForPosition) {
            benchmark::DoNotOptimize(in.Optics.A);
            benchmark::DoNotOptimize(in.Position);
        } else if constexpr (op == Op::PositionForDistance) {
            benchmark::DoNotOptimize(in.Optics.A);
            benchmark::DoNotOptimize(in.Value);
        } else {
            benchmark::DoNotOptimize(in.Optics);
            benchmark::DoNotOptimize(in.Value);
            if constexpr (op == Op::DistanceForSpot)
                benchmark::DoNotOptimize(in.Beyond);
        }
    }
}

} // namespace

#define OPTICCALC_MODEL_BENCH(name)                                                                \
    BENCHMARK(Reference<Op::name>)->Name("Reference/" #name);                                      \
    BENCHMARK(Operation<Op::name>)->Name("Operation/" #name)

OPTICCALC_MODEL_BENCH(AreInputsValid);
OPTICCALC_MODEL_BENCH(SpotAtDistance);
OPTICCALC_MODEL_BENCH(IsSpotReachable);
OPTICCALC_MODEL_BENCH(DistanceForSpot);
OPTICCALC_MODEL_BENCH(DistanceForPosition);
OPTICCALC_MODEL_BENCH(PositionForDistance);

BENCHMARK_MAIN();
