// Loading and saving assistants of growing size, against the XML library's own parse and save of the
// same bytes: reading and writing should cost about what the library needs, and grow linearly.
#include "model/assistroot.h"
#include "tagfile/xmltagfilein.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <algorithm>
#include <chrono>
#include <climits>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {
// The C library's allocator gives memory back to the system whenever the free space at the top of the
// heap passes a threshold, which it moves by itself after the sizes it has seen. Whether a run ends with
// such a give-back depends on which block happens to lie at the top, and the next run then pays page
// faults for all the memory it touches again: for the same code, loading the largest assistant varied by
// tens of milliseconds from this alone, and the raw parse paid it on every run. Fixed thresholds make
// every benchmark here, the baselines included, reuse the memory of the run before, as a program that
// opens one file after another does.
[[maybe_unused]] const bool FixedAllocatorThresholds = [] {
#ifdef __GLIBC__
    mallopt(M_TRIM_THRESHOLD, INT_MAX);
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024); // the largest the allocator accepts; above every text here
#endif
    return true;
}();

const std::string User = "{00000000-0000-4000-8000-000000000000} Bench User";

// An assistant with `options` options, ten per screen, each with a caption, two description lines, an
// action with a command, a three-line script on every fourth option and a note on every eighth.
std::unique_ptr<TAssistRoot> MakeAssistant(int options) {
    auto root = std::make_unique<TAssistRoot>(User);
    // Made the way the reader makes items (no ID search per item), with the IDs set here.
    TAssistRoot::LoadingScope making(*root);
    root->Description = {"An assistant made for measuring", "how fast files are read and written."};
    TAssistScreen* screen = nullptr;
    for (int i = 0; i < options; ++i) {
        if (i % 10 == 0) {
            screen = TAssistScreen::Create(*root);
            screen->ID = "S" + std::to_string(i / 10 + 1);
            screen->Description = {"Choose one of the options below & go on."};
            screen->Image = "images/screen" + std::to_string(i / 10) + ".png";
        }
        TAssistOption* option = TAssistOption::Create(*screen);
        option->ID = screen->ID + "." + std::to_string(i % 10 + 1);
        option->Caption = "Option number " + std::to_string(i) + " <with> markup";
        option->Description = {"First line of the description of this option.", "Second line."};
        option->Action = static_cast<TActionKind>(i % ActionKindCount);
        option->Command = "S" + std::to_string(i % 1000 + 1);
        if (i % 4 == 0)
            option->Script = "x = " + std::to_string(i) + "\rif x > 3 then\r  show(\"big\")";
        if (i % 8 == 0) {
            TNote* note = option->Notes.Add();
            note->Name = "Note";
            note->Type = "Safety";
            note->ID = std::to_string(i);
            note->Text = "Wear gloves.\r\nKeep away from heat.";
        }
    }
    return root;
}

// The document text of each size, made once.
const std::string& Text(int options) {
    static std::map<int, std::string> texts;
    auto found = texts.find(options);
    if (found == texts.end())
        found = texts.emplace(options, MakeAssistant(options)->SaveToText()).first;
    return found->second;
}

void SetCounters(benchmark::State& state, const std::string& text) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
    state.SetComplexityN(static_cast<int64_t>(text.size()));
}

// A new assistant read from the stream, rewound to its start.
std::unique_ptr<TAssistRoot> ReadAgain(std::istringstream& in) {
    in.clear();
    in.seekg(0);
    auto root = std::make_unique<TAssistRoot>(User);
    root->LoadFromStream(in);
    return root;
}

// Loading as the editor opens a file: the bytes are read from the stream into memory, parsed and turned
// into the assistant. The stream is made once and rewound for each run, so that copying the text into the
// stream (which a file does not need) is not counted; reading from it is. Destroying the assistant is
// closing it, not loading it: it happens outside the timing, and CloseAssistant measures it.
void LoadAssistant(benchmark::State& state) {
    const std::string& text = Text(static_cast<int>(state.range(0)));
    std::istringstream in(text);
    for (auto _ : state) {
        auto root = ReadAgain(in);
        benchmark::DoNotOptimize(root->Screens.Count());
        state.PauseTiming();
        root.reset();
        state.ResumeTiming();
    }
    SetCounters(state, text);
}

// Closing a read assistant: destroying it and everything it holds. Reading it happens outside the timing.
void CloseAssistant(benchmark::State& state) {
    const std::string& text = Text(static_cast<int>(state.range(0)));
    std::istringstream in(text);
    for (auto _ : state) {
        state.PauseTiming();
        auto root = ReadAgain(in);
        state.ResumeTiming();
        root.reset();
        benchmark::DoNotOptimize(root.get());
    }
    SetCounters(state, text);
}

// The baseline: pugixml parses the same bytes into its own tree (copying them into a buffer of its own, as
// the reader does when it reads the stream). Its tree is freed outside the timing, as the assistant is.
// It uses pugixml's defaults plus parse_fragment (the reader also keeps the document type node and
// parses in place).
void RawParse(benchmark::State& state) {
    const std::string& text = Text(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto doc = std::make_unique<pugi::xml_document>();
        const pugi::xml_parse_result result =
            doc->load_buffer(text.data(), text.size(), pugi::parse_default | pugi::parse_fragment);
        benchmark::DoNotOptimize(result.status);
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    SetCounters(state, text);
}

// Loading and the raw parse of the same bytes one right after the other in every run, so that both meet
// the machine in the same state: on a shared host, the ratio of two benchmarks run a minute apart moves
// with the host's load. Reports the fastest run of each (wall clock, in milliseconds) and their ratio,
// and the ratio of their totals over all runs.
void LoadAgainstRawParse(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const std::string& text = Text(static_cast<int>(state.range(0)));
    std::istringstream in(text);
    double loadBest = 1e300, rawBest = 1e300, loadTotal = 0, rawTotal = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        auto doc = std::make_unique<pugi::xml_document>();
        benchmark::DoNotOptimize(
            doc->load_buffer(text.data(), text.size(), pugi::parse_default | pugi::parse_fragment).status);
        const Clock::time_point parsed = Clock::now();
        auto root = ReadAgain(in);
        benchmark::DoNotOptimize(root->Screens.Count());
        const Clock::time_point loaded = Clock::now();
        const double raw = std::chrono::duration<double, std::milli>(parsed - start).count();
        const double load = std::chrono::duration<double, std::milli>(loaded - parsed).count();
        rawBest = std::min(rawBest, raw);
        loadBest = std::min(loadBest, load);
        rawTotal += raw;
        loadTotal += load;
        state.PauseTiming();
        doc.reset();
        root.reset();
        state.ResumeTiming();
    }
    state.counters["raw_ms"] = rawBest;
    state.counters["load_ms"] = loadBest;
    state.counters["load/raw"] = loadBest / rawBest;
    state.counters["total_load/raw"] = loadTotal / rawTotal;
}

void SaveAssistant(benchmark::State& state) {
    const std::string& text = Text(static_cast<int>(state.range(0)));
    std::unique_ptr<TAssistRoot> root = MakeAssistant(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::string saved = root->SaveToText();
        benchmark::DoNotOptimize(saved.data());
    }
    SetCounters(state, text);
}

struct StringWriter : pugi::xml_writer {
    std::string out;
    void write(const void* data, size_t size) override { out.append(static_cast<const char*>(data), size); }
};

void RawSave(benchmark::State& state) {
    const std::string& text = Text(static_cast<int>(state.range(0)));
    pugi::xml_document doc;
    doc.load_buffer(text.data(), text.size());
    for (auto _ : state) {
        StringWriter writer;
        doc.save(writer);
        benchmark::DoNotOptimize(writer.out.data());
    }
    SetCounters(state, text);
}

// Breakdown of loading: the tag reader's check, parse and walk over every step, without building the model.
// The steps are taken as views, as the file reader takes them.
void TagWalk(benchmark::State& state) {
    const std::string& text = Text(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TXMLTagFileIn in{std::string_view(text)};
        std::string_view step;
        while (!in.AtEnd())
            in.Next(step);
        benchmark::DoNotOptimize(step.data());
    }
    SetCounters(state, text);
}

#define SIZES Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN)
BENCHMARK(LoadAssistant)->SIZES;
BENCHMARK(CloseAssistant)->SIZES;
BENCHMARK(RawParse)->SIZES;
BENCHMARK(LoadAgainstRawParse)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(TagWalk)->SIZES;
BENCHMARK(SaveAssistant)->SIZES;
BENCHMARK(RawSave)->SIZES;
} // namespace
