// Cost of creating screens and options the way the file reader does (inside a loading scope, constant
// time each) against creating them the way the editor does (each new ID scans the list).
#include "model/assistroot.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {
const std::string User = "{00000000-0000-4000-8000-000000000000} Bench User";

void ScreensWhileLoading(benchmark::State& state) {
    for (auto _ : state) {
        TAssistRoot root(User);
        TAssistRoot::LoadingScope loading(root);
        for (int64_t i = 0; i < state.range(0); ++i)
            TAssistScreen::Create(root)->ID = "S" + std::to_string(i + 1);
        benchmark::DoNotOptimize(root.Screens.Count());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(ScreensWhileLoading)->RangeMultiplier(4)->Range(1250, 20000)->Complexity();

void ScreensInTheEditor(benchmark::State& state) {
    for (auto _ : state) {
        TAssistRoot root(User);
        for (int64_t i = 0; i < state.range(0); ++i)
            TAssistScreen::Create(root);
        benchmark::DoNotOptimize(root.Screens.Count());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(ScreensInTheEditor)->RangeMultiplier(2)->Range(1250, 5000)->Complexity();

void OptionsWhileLoading(benchmark::State& state) {
    for (auto _ : state) {
        TAssistRoot root(User);
        TAssistRoot::LoadingScope loading(root);
        TAssistScreen* screen = TAssistScreen::Create(root);
        screen->ID = "S1";
        for (int64_t i = 0; i < state.range(0); ++i)
            TAssistOption::Create(*screen)->ID = "S1." + std::to_string(i + 1);
        benchmark::DoNotOptimize(screen->Options.Count());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(OptionsWhileLoading)->RangeMultiplier(4)->Range(1250, 20000)->Complexity();
} // namespace
