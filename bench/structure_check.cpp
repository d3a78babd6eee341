// Cost of the structure check and of building the navigation structure against the number of options
// (10 per screen). Every screen leads to the next two, so the navigation structure is one long chain
// with a repeated leaf on every screen; every tenth screen repeats an ID in other letter case and
// every fifth option is a script, so the duplicate, link and Sub Main paths all run.
#include "model/assistroot.h"
#include "model/navigationstructure.h"
#include "model/structurecheck.h"

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {
const std::string User = "{00000000-0000-4000-8000-000000000000} Bench User";
constexpr int OptionsPerScreen = 10;

std::unique_ptr<TAssistRoot> MakeAssistant(std::int64_t options) {
    auto root = std::make_unique<TAssistRoot>(User);
    TAssistRoot::LoadingScope loading(*root);
    root->FirstScreen = "Screen1";
    root->Description = {"Benchmark assistant"};
    root->Copyright = "(c)";
    const std::int64_t screens = options / OptionsPerScreen;
    for (std::int64_t s = 1; s <= screens; ++s) {
        TAssistScreen* screen = TAssistScreen::Create(*root);
        screen->ID = (s % 10 == 0 ? "SCREEN" : "Screen") + std::to_string(s % 10 == 0 ? s - 1 : s);
        screen->Caption = "Screen " + std::to_string(s);
        for (int k = 1; k <= OptionsPerScreen; ++k) {
            TAssistOption* option = TAssistOption::Create(*screen);
            option->ID = screen->ID + "." + std::to_string(k);
            option->Caption = "Option";
            if (k <= 2) {
                option->Action = k == 1 ? akGoto : akGotoButton;
                option->Command = "screen" + std::to_string(s + k);
            } else if (k % 5 == 0) {
                option->Action = akScript;
                option->Script = "Dim x\rSub Main\r  x = 1\rEnd Sub";
            } else {
                option->Action = akInternet;
                option->Command = "http://example.org/" + std::to_string(k);
            }
        }
    }
    return root;
}

// Pushes the assistant out of the processor caches by writing a buffer twice the size of the largest
// cache, so that the next run reads it from memory as a check after other work does. Without it the
// runs at 1,000 and 10,000 options find the whole assistant in the caches (the same assistant is
// checked again and again) while at 100,000 it no longer fits, and the ratio between the sizes
// measures the cache size as much as the code.
void EvictCaches() {
    static std::vector<unsigned char> buffer(64u << 20);
    for (std::size_t at = 0; at < buffer.size(); at += 64)
        buffer[at] = static_cast<unsigned char>(buffer[at] + 1);
    benchmark::ClobberMemory();
}

void CheckStructureBench(benchmark::State& state) {
    const auto root = MakeAssistant(state.range(0));
    std::size_t findings = 0;
    for (auto _ : state) {
        StructureCheckResult result = CheckStructure(*root);
        findings = result.Findings.size();
        benchmark::DoNotOptimize(result);
    }
    state.counters["findings"] = static_cast<double>(findings);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(CheckStructureBench)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

// The same check, each run starting with the assistant out of the caches.
void CheckStructureColdBench(benchmark::State& state) {
    const auto root = MakeAssistant(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        EvictCaches();
        state.ResumeTiming();
        StructureCheckResult result = CheckStructure(*root);
        benchmark::DoNotOptimize(result);
    }
    state.SetComplexityN(state.range(0));
}
// A fixed number of runs: each pays for the eviction outside the timing, which for the small sizes
// costs far more than the check, and Google Benchmark would otherwise run them for many seconds.
BENCHMARK(CheckStructureColdBench)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Iterations(100)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

void NavigationStructureBench(benchmark::State& state) {
    const auto root = MakeAssistant(state.range(0));
    std::size_t nodes = 0;
    for (auto _ : state) {
        NavigationStructure structure = BuildNavigationStructure(*root);
        nodes = structure.Nodes.size();
        benchmark::DoNotOptimize(structure);
    }
    state.counters["nodes"] = static_cast<double>(nodes);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(NavigationStructureBench)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);
// The floor for both: reading the fields of every screen and option once, without checking anything.
// The model holds each option in its own allocation, so beyond the processor caches this alone grows
// faster than the number of options.
void ReadEveryOptionBench(benchmark::State& state) {
    const auto root = MakeAssistant(state.range(0));
    for (auto _ : state) {
        std::size_t sum = 0;
        for (const TAssistScreen& screen : root->Screens) {
            sum += screen.ID.size() + screen.Caption.size();
            for (const TAssistOption& option : screen.Options)
                sum += option.ID.size() + option.Caption.size() + option.Command.size() +
                       option.Script.size() + option.Description.size() +
                       static_cast<std::size_t>(option.Notes.Count()) + option.Action;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(ReadEveryOptionBench)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);
} // namespace
