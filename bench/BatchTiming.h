#pragma once

#include <benchmark/benchmark.h>

#include <chrono>

namespace corvane::bench {

/// The counter that says how many steps one iteration of a batched benchmark holds; the
/// ratios to the event copy divide the iteration's time by it.
inline constexpr const char* kStepsCounter = "steps_per_iteration";

/// Times `step` in batches of `batch`, the clock read once per batch, and runs `between`
/// after each batch outside the time: pausing the benchmark's timer instead would add its own
/// cost to every step. An iteration is one batch; register the benchmark with
/// `UseManualTime()`.
template <class Step, class Between>
void measureInBatches(benchmark::State& state, int batch, Step&& step, Between&& between) {
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < batch; ++i)
            step();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        between();
    }
    state.counters[kStepsCounter] = batch;
}

}  // namespace corvane::bench
