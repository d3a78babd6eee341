// Cost of the HTML report (what amftool report and the editor's Report produce) against the number of
// options (10 per screen). Most options go to screens spread over the whole assistant, so every
// go-to option's link looks a screen up somewhere in the list; the report must stay linear in size.
#include "components/corecomponentfactory.h"
#include "model/assistroot.h"
#include "support/reportchain.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

namespace {
const std::string User = "{00000000-0000-4000-8000-000000000000} Bench User";
constexpr int OptionsPerScreen = 10;

std::unique_ptr<TAssistRoot> MakeAssistant(std::int64_t options) {
    auto root = std::make_unique<TAssistRoot>(User);
    TAssistRoot::LoadingScope loading(*root);
    root->ID = "Bench";
    root->Caption = "Benchmark assistant";
    root->FirstScreen = "S1";
    const std::int64_t screens = options / OptionsPerScreen;
    for (std::int64_t s = 1; s <= screens; ++s) {
        TAssistScreen* screen = TAssistScreen::Create(*root);
        screen->ID = "S" + std::to_string(s);
        screen->Caption = "Screen " + std::to_string(s);
        screen->Description = {"Choose one of the options below."};
        for (int k = 1; k <= OptionsPerScreen; ++k) {
            TAssistOption* option = TAssistOption::Create(*screen);
            option->ID = screen->ID + "." + std::to_string(k);
            option->Caption = "Option " + std::to_string(k);
            option->Description = {"What the option does."};
            if (k <= 8) {
                option->Action = k % 2 ? akGoto : akGotoButton;
                option->Command = "s" + std::to_string((s * 7919 + k * 104729) % screens + 1);
            } else {
                option->Action = akInternet;
                option->Command = "https://example.org/" + std::to_string(k);
            }
        }
    }
    return root;
}

void ReportBench(benchmark::State& state) {
    const std::unique_ptr<TAssistRoot> root = MakeAssistant(state.range(0));
    std::size_t bytes = 0;
    for (auto _ : state) {
        CoreComponentFactory factory;
        const std::string html = PrepareAssistantReport(
            factory, root->Caption, [&](IHTMLReport& report) { root->WriteReport(report); });
        bytes = html.size();
        benchmark::DoNotOptimize(html.data());
    }
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
    state.SetComplexityN(state.range(0));
}

BENCHMARK(ReportBench)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();
} // namespace
