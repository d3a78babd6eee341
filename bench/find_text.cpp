// Finding a word in every text of a 30 MB assistant, against `grep -c -F` counting the same word in the
// saved file. The assistant is generated here and saved to a temporary file for grep; nothing large is
// kept in the source tree.
#include "model/assistoption.h"
#include "model/assistroot.h"
#include "model/assistscreen.h"
#include "model/assistsearch.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

const std::string User = "{00000000-0000-4000-8000-000000000000} Bench User";
const char* const Word = "router";

// Screens with ten options each; every text is ordinary prose, and one option in a hundred mentions
// the word once, so the search has to read everything and still reports hits.
struct BigAssistant {
    std::unique_ptr<TAssistRoot> root = std::make_unique<TAssistRoot>(User);
    std::filesystem::path file;
    std::size_t bytes = 0;

    BigAssistant() {
        const std::string prose =
            "Check that the cable is plugged in and the light is green before you go on. ";
        TAssistRoot::LoadingScope loading(*root);
        int n = 0;
        for (int s = 0; bytes < 30u * 1000 * 1000; ++s) {
            TAssistScreen& screen = *TAssistScreen::Create(*root);
            screen.ID = "S" + std::to_string(s);
            screen.Caption = "Screen number " + std::to_string(s);
            screen.Description = {prose + prose, prose};
            bytes += 3 * prose.size() + 100; // with the tags around the texts
            for (int o = 0; o < 10; ++o, ++n) {
                TAssistOption& option = *TAssistOption::Create(screen);
                option.ID = screen.ID + "." + std::to_string(o);
                option.Caption = n % 100 == 0 ? std::string("Restart the router") : "Continue";
                option.Description = {prose};
                option.Command = "S" + std::to_string(s + 1);
                option.Script = "echo one\recho two";
                bytes += prose.size() + 170;
            }
        }
        file = std::filesystem::temp_directory_path() /
               ("find_text_bench_" + std::to_string(::getpid()) + ".amf");
        std::ofstream(file, std::ios::binary) << root->SaveToText();
        bytes = std::filesystem::file_size(file);
    }
    ~BigAssistant() { std::filesystem::remove(file); }
};

BigAssistant& Big() {
    static BigAssistant big;
    return big;
}

void BM_FindWordInAllTexts(benchmark::State& state) {
    BigAssistant& big = Big();
    TPlainMatcher matcher(Word, false, false);
    std::size_t hits = 0;
    for (auto _ : state) {
        hits = FindInAssistant(*big.root, sfAll, matcher).size();
        benchmark::DoNotOptimize(hits);
    }
    state.counters["hits"] = static_cast<double>(hits);
    state.counters["file_MB"] = static_cast<double>(big.bytes) / 1e6;
}
BENCHMARK(BM_FindWordInAllTexts)->Unit(benchmark::kMillisecond);

// grep as a child process on the saved file, timed from start to exit (the process start is part of
// what a user pays for grep too).
void BM_GrepCountFixed(benchmark::State& state) {
    BigAssistant& big = Big();
    const std::string command =
        std::string("grep -c -F ") + Word + " '" + big.file.string() + "' > /dev/null";
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) == -1)
            state.SkipWithError("grep could not be started");
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}
BENCHMARK(BM_GrepCountFixed)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
