#pragma once
// "frame_%": a benchmark's time per iteration as a percentage of the 13.0 ms that one shown
// picture may take.

#include <benchmark/benchmark.h>

inline void addBudgetShare(benchmark::State& state) {
    state.counters["frame_%"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 13e-3 / 100.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
