// Cost of laying out an assistant map with Graphviz through its libraries (LayOutMap: building the
// graph, the `dot` layout, reading positions back) against running the `dot` program on the same
// graph written as DOT (`dot -Tplain`, which parses the text, lays it out and prints the positions).
// The difference is our overhead over Graphviz itself. Above the size the map page switches to the
// faster settings, both sides use them (they are part of the graph), so the comparison is like for
// like; `Normal` forces the full settings at every size for reference.
//
// The assistant is shaped as guided help usually is: a tree in which every screen offers three choices
// (screen i leads to 3i+1, 3i+2 and 3i+3), every screen has a Back button to the screen before it,
// every fourth a Home option back to the start, every fifth a web page. Every arrow has a caption.
#include "maplayout/maplayout.h"
#include "model/assistroot.h"

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

extern char** environ;

namespace {
const std::string User = "{00000000-0000-4000-8000-000000000000} Bench User";

AssistantMap MakeMap(int screens) {
    TAssistRoot root(User);
    TAssistRoot::LoadingScope loading(root);
    root.FirstScreen = "S0";
    for (int i = 0; i < screens; ++i) {
        TAssistScreen* screen = TAssistScreen::Create(root);
        screen->ID = "S" + std::to_string(i);
        screen->Caption = "Screen number " + std::to_string(i);
        auto add = [screen](TActionKind action, const std::string& command, const std::string& caption) {
            TAssistOption* option = TAssistOption::Create(*screen);
            option->ID = screen->ID + "." + std::to_string(screen->Options.Count());
            option->Action = action;
            option->Command = command;
            option->Caption = caption;
        };
        for (int child = 3 * i + 1; child <= 3 * i + 3 && child < screens; ++child)
            add(akGoto, "S" + std::to_string(child), "Choice " + std::to_string(child - 3 * i));
        if (i > 0)
            add(akGotoButton, "S" + std::to_string((i - 1) / 3), "Back");
        if (i % 4 == 0 && i > 0)
            add(akGoto, "S0", "Home");
        if (i % 5 == 0)
            add(akInternet, "https://example.org/" + std::to_string(i), "Web");
    }
    return BuildAssistantMap(root);
}

void OurLayout(benchmark::State& state, bool forceNormal) {
    const AssistantMap map = MakeMap(static_cast<int>(state.range(0)));
    MapLayoutOptions options;
    if (forceNormal)
        options.FastAbove = 1 << 30;
    state.SetLabel(UsesFastLayout(map, options) ? "fast settings" : "normal settings");
    for (auto _ : state) {
        MapLayout layout = LayOutMap(map, options);
        benchmark::DoNotOptimize(layout.Boxes.data());
    }
}

void DotProgram(benchmark::State& state, bool forceNormal) {
    const AssistantMap map = MakeMap(static_cast<int>(state.range(0)));
    MapLayoutOptions options;
    if (forceNormal)
        options.FastAbove = 1 << 30;
    state.SetLabel(UsesFastLayout(map, options) ? "fast settings" : "normal settings");
    char path[] = "/tmp/map-bench-XXXXXX.dot";
    const int fd = ::mkstemps(path, 4);
    if (fd < 0) {
        state.SkipWithError("cannot make a temporary file");
        return;
    }
    ::close(fd);
    std::ofstream(path) << MapToDot(map, options);
    char program[] = "dot";
    char format[] = "-Tplain";
    char output[] = "-o/dev/null";
    char* argv[] = {program, format, output, path, nullptr};
    for (auto _ : state) {
        pid_t child = 0;
        if (::posix_spawnp(&child, "dot", nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot run dot");
            break;
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("dot failed");
            break;
        }
    }
    std::remove(path);
}

void BM_MapLayout(benchmark::State& state) {
    OurLayout(state, false);
}
void BM_DotPlain(benchmark::State& state) {
    DotProgram(state, false);
}
void BM_MapLayoutNormal(benchmark::State& state) {
    OurLayout(state, true);
}
void BM_DotPlainNormal(benchmark::State& state) {
    DotProgram(state, true);
}

// Wall time: the dot program runs in a child process, whose CPU time the parent does not see.
BENCHMARK(BM_MapLayout)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DotPlain)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MapLayoutNormal)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DotPlainNormal)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace
