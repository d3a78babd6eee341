// Cost of the editor's view rebuilds on large assistants: the real main window (offscreen) with its
// tree and structure views, the structure check and the Warnings page, for 1,000 to 100,000 options
// (ten options per screen). Measured: a screen renamed, an option renamed, a caption changed, a new
// option (with and without the recovery copy that follows it), pairs of edits each with its way
// back (a command, a link, moves, a deletion, a drag to another screen, a duplicate),
// and filling the views for a newly read assistant (what opening a file does after reading). Each runs on
// two shapes of navigation structure: a chain (each screen leads to the next, as deep as there are
// screens) and a wide one (the first screen leads to every other, two levels).
#include "components/corecomponentfactory.h"
#include "editor/assistantcommands.h"
#include "editor/itemtreemodel.h"
#include "editor/mainwindow.h"
#include "model/assistroot.h"
#include "support/qt/regwrap.h"

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QUndoStack>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

// No question may be asked while measuring.
class SilentPrompter final : public Prompter {
public:
    Answer Message(MessageKind, const std::string& text) override {
        std::fprintf(stderr, "unexpected message: %s\n", text.c_str());
        return Answer::Cancel;
    }
    std::optional<std::string> OpenFileName(const FileRequest&) override { return std::nullopt; }
    std::optional<std::string> SaveFileName(const FileRequest&) override { return std::nullopt; }
    std::optional<std::string> InputText(const std::string&, const std::string&,
                                         const std::string&) override {
        return std::nullopt;
    }
};

enum class Shape { Chain, Wide };

// A well-formed assistant: every screen captioned and described, its first option leading to the next
// screen (chain) or back to the first (wide), the others web pages; in the wide shape the first screen
// has a go-to option to every other screen besides. Every other screen's node is collapsed in the tree.
void FillAssistant(TAssistRoot& root, int options, Shape shape) {
    TAssistRoot::LoadingScope loading(root);
    const int screens = options / 10;
    root.FirstScreen = "S1";
    root.Copyright = "Bench";
    root.Description = {"Benchmark assistant"};
    for (int s = 1; s <= screens; ++s) {
        TAssistScreen* screen = TAssistScreen::Create(root);
        screen->ID = "S" + std::to_string(s);
        screen->Caption = "Screen " + std::to_string(s);
        screen->Expanded = s % 2 == 0;
        for (int o = 1; o <= 10; ++o) {
            TAssistOption* option = TAssistOption::Create(*screen);
            option->ID = screen->ID + "." + std::to_string(o);
            option->Caption = "Option " + std::to_string(o);
            option->Action = o == 1 ? akGoto : akInternet;
            const int next = shape == Shape::Chain ? s % screens + 1 : 1;
            option->Command = o == 1 ? "S" + std::to_string(next) : "https://example.org/";
        }
    }
    if (shape == Shape::Wide) {
        TAssistScreen& first = *root.Screens.Item(0);
        for (int s = 2; s <= screens; ++s) {
            TAssistOption* option = TAssistOption::Create(first);
            option->ID = "S1.to" + std::to_string(s);
            option->Caption = "To screen " + std::to_string(s);
            option->Action = akGoto;
            option->Command = "S" + std::to_string(s);
        }
    }
    root.UpdateSignatures(); // as saved by this user: opening it shows no authorship notice
}

struct BenchWindow {
    QTemporaryDir dir;
    SilentPrompter prompter;
    std::unique_ptr<MainWindow> form;

    BenchWindow() {
        TEditorServices services;
        services.Settings = std::make_shared<TRegWrap>(TRegRoot::CurrentUser, "Software\\Bench",
                                                       dir.filePath("user.ini"), dir.filePath("system.ini"));
        services.Components = std::make_shared<CoreComponentFactory>();
        services.LoginName = [] { return std::string("bench"); };
        // Unsaved changes are kept in the window's own temporary folder, never in the user's, so no run
        // finds another's files to offer.
        services.RecoveryFolder = dir.filePath("recovery").toStdString();
        form = std::make_unique<MainWindow>(std::move(services), &prompter);
        form->show();
        QApplication::processEvents();
    }
    ~BenchWindow() { form->Assistant().Changed = false; }
};

// Renaming a screen: the edit, the tree's node renamed, the structure rebuilt when a link or the
// structure names the old or new ID (here only at the first rename: neither "Renamed" nor "S-middle" is
// linked to), the check, and the window's layout and painting.
void RenameScreenRebuild(benchmark::State& state, Shape shape) {
    BenchWindow window;
    MainWindow& form = *window.form;
    FillAssistant(form.Assistant(), static_cast<int>(state.range(0)), shape);
    form.RebuildTree();
    form.RebuildStructure();
    TAssistScreen* screen = form.Assistant().Screens.Item(form.Assistant().Screens.Count() / 2);
    form.SelectItem(screen);
    QApplication::processEvents();
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        // The edit says what it made out of date (both views); the window rebuilds from that answer.
        form.Edits().SetField(*screen, TextField::ID, flip ? "Renamed" : "S-middle");
        QApplication::processEvents();
    }
    state.counters["nodes"] = static_cast<double>(form.TreeModel()->NodeCount());
    state.SetComplexityN(state.range(0));
}
BENCHMARK_CAPTURE(RenameScreenRebuild, chain, Shape::Chain)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK_CAPTURE(RenameScreenRebuild, wide, Shape::Wide)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// A new ID for an option that the navigation structure shows: the tree renames its node, the structure
// is rebuilt (its texts name the option), the check runs.
void OptionIdEdit(benchmark::State& state, Shape shape) {
    BenchWindow window;
    MainWindow& form = *window.form;
    FillAssistant(form.Assistant(), static_cast<int>(state.range(0)), shape);
    form.RebuildTree();
    form.RebuildStructure();
    TAssistOption* option =
        form.Assistant().Screens.Item(form.Assistant().Screens.Count() / 2)->Options.Item(1);
    form.SelectItem(option);
    QApplication::processEvents();
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        form.Edits().SetField(*option, TextField::ID, flip ? "Renamed" : "O-middle");
        QApplication::processEvents();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK_CAPTURE(OptionIdEdit, chain, Shape::Chain)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// Changing a caption: no ID or link changes, so the window refreshes the rows of the item only. The
// structure check, which the window runs once typing pauses, is run here right away, so that the
// figure is the window brought up to date.
void CaptionEdit(benchmark::State& state, Shape shape) {
    BenchWindow window;
    MainWindow& form = *window.form;
    FillAssistant(form.Assistant(), static_cast<int>(state.range(0)), shape);
    form.RebuildTree();
    form.RebuildStructure();
    TAssistScreen* screen = form.Assistant().Screens.Item(form.Assistant().Screens.Count() / 2);
    form.SelectItem(screen);
    QApplication::processEvents();
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        form.Edits().SetField(*screen, TextField::Caption, flip ? "Renamed" : "Middle");
        QApplication::processEvents();
        if (form.WarningsTimer()->isActive())
            form.CheckStructure();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK_CAPTURE(CaptionEdit, chain, Shape::Chain)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// Adding an option to a screen: the command as the user runs it. With `recoveryCopy`, the event loop runs
// once after it inside the timing (where, as after every structural change, the changed assistant is
// written to the recovery file); without, the timing stops once the window is shown up to date (the
// tree's new node, the structure, the check, the posted layout and paint events) and the recovery copy
// runs outside it.
void NewOption(benchmark::State& state, Shape shape, bool recoveryCopy) {
    BenchWindow window;
    MainWindow& form = *window.form;
    FillAssistant(form.Assistant(), static_cast<int>(state.range(0)), shape);
    form.RebuildTree();
    form.RebuildStructure();
    form.SelectItem(form.Assistant().Screens.Item(form.Assistant().Screens.Count() / 2));
    QApplication::processEvents();
    for (auto _ : state) {
        form.Actions().aNewOption->trigger();
        if (recoveryCopy)
            QApplication::processEvents();
        else
            QCoreApplication::sendPostedEvents();
        state.PauseTiming();
        QApplication::processEvents();
        form.SelectItem(form.Assistant().Screens.Item(form.Assistant().Screens.Count() / 2));
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}
void NewOptionRebuild(benchmark::State& state, Shape shape) {
    NewOption(state, shape, true);
}
void NewOptionViews(benchmark::State& state, Shape shape) {
    NewOption(state, shape, false);
}
BENCHMARK_CAPTURE(NewOptionRebuild, chain, Shape::Chain)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK_CAPTURE(NewOptionRebuild, wide, Shape::Wide)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

BENCHMARK_CAPTURE(NewOptionViews, chain, Shape::Chain)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// Further edits of the window, each a pair that leaves the assistant as it was, timed as a pair up to
// the window shown up to date after each step: the check of the Warnings page run right away (as
// CaptionEdit) and the posted layout and paint events delivered. The event loop's timers (the recovery
// copy) run outside the timing, as in NewOptionViews. The middle screen's second option is a web page
// the structure shows.
enum class PairedEdit {
    Command,
    LinkTarget,
    MoveScreen,
    DeleteAndUndoOption,
    UndoAndRedoCaption,
    DragOptionAndUndo,
    DuplicateOptionAndUndo
};

void EditPair(benchmark::State& state, PairedEdit edit) {
    BenchWindow window;
    MainWindow& form = *window.form;
    FillAssistant(form.Assistant(), static_cast<int>(state.range(0)), Shape::Chain);
    form.RebuildTree();
    form.RebuildStructure();
    TAssistScreen* screen = form.Assistant().Screens.Item(form.Assistant().Screens.Count() / 2);
    TAssistOption* option = screen->Options.Item(1);
    form.SelectItem(option);
    form.Edits().SetField(*screen, TextField::Caption, "Before undo");
    QApplication::processEvents();
    const auto settle = [&form, &state] {
        QCoreApplication::sendPostedEvents();
        if (form.WarningsTimer()->isActive())
            form.CheckStructure();
        state.PauseTiming();
        QApplication::processEvents();
        state.ResumeTiming();
    };
    for (auto _ : state) {
        switch (edit) {
        case PairedEdit::Command:
            form.Edits().SetField(*option, TextField::Command, "https://example.com/");
            settle();
            form.Edits().SetField(*option, TextField::Command, "https://example.org/");
            break;
        case PairedEdit::LinkTarget: {
            // The middle screen's go-to leads back to the first screen and then on again: the
            // structure loses and regains the second half of the chain.
            TAssistOption& link = *screen->Options.Item(0);
            const std::string next = link.Command;
            form.Edits().SetField(link, TextField::Command, "S1");
            settle();
            form.Edits().SetField(link, TextField::Command, next);
            break;
        }
        case PairedEdit::MoveScreen:
            form.Edits().MoveScreen(*screen, form.Assistant().Screens.IndexOf(screen) + 1);
            settle();
            form.Edits().MoveScreen(*screen, form.Assistant().Screens.IndexOf(screen) - 1);
            break;
        case PairedEdit::DeleteAndUndoOption:
            form.Edits().DeleteOption(*option);
            settle();
            form.UndoStack()->undo();
            break;
        case PairedEdit::UndoAndRedoCaption:
            form.UndoStack()->undo();
            settle();
            form.UndoStack()->redo();
            break;
        case PairedEdit::DragOptionAndUndo: {
            // The web page dropped at the top of the next screen's options, as a drag in the tree does.
            const int at = form.Assistant().Screens.IndexOf(screen);
            form.UndoStack()->push(
                new MoveItemCommand(form.Assistant(), at, 1, at + 1, 0, form.DocumentView()));
            settle();
            form.UndoStack()->undo();
            break;
        }
        case PairedEdit::DuplicateOptionAndUndo:
            form.UndoStack()->push(new DuplicateCommand(
                form.Assistant(), form.Assistant().Screens.IndexOf(screen), 1, form.DocumentView()));
            settle();
            form.UndoStack()->undo();
            break;
        }
        settle();
    }
    state.SetComplexityN(state.range(0));
}
// Each pair at 100,000 options, in milliseconds.
#define AMF_EDIT_PAIR(name, edit)                                                                            \
    BENCHMARK_CAPTURE(EditPair, name, edit)->Arg(100000)->Unit(benchmark::kMillisecond)
AMF_EDIT_PAIR(command, PairedEdit::Command);
AMF_EDIT_PAIR(link_target, PairedEdit::LinkTarget);
AMF_EDIT_PAIR(move_screen, PairedEdit::MoveScreen);
AMF_EDIT_PAIR(delete_undo_option, PairedEdit::DeleteAndUndoOption);
AMF_EDIT_PAIR(undo_redo_caption, PairedEdit::UndoAndRedoCaption);
AMF_EDIT_PAIR(drag_option_undo, PairedEdit::DragOptionAndUndo);
AMF_EDIT_PAIR(duplicate_option_undo, PairedEdit::DuplicateOptionAndUndo);
#undef AMF_EDIT_PAIR

// Showing a newly read assistant: both views built from nothing, half of the screens collapsed.
void ShowReadAssistant(benchmark::State& state, Shape shape) {
    BenchWindow window;
    MainWindow& form = *window.form;
    FillAssistant(form.Assistant(), static_cast<int>(state.range(0)), shape);
    for (auto _ : state) {
        form.SetCurrentItem(nullptr);
        form.TreeModel()->Clear();
        form.StructureModel()->Clear();
        form.AfterOpen();
        QApplication::processEvents();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK_CAPTURE(ShowReadAssistant, chain, Shape::Chain)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK_CAPTURE(ShowReadAssistant, wide, Shape::Wide)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
