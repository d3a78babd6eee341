#pragma once
// A real editor window on the offscreen platform with temporary settings, recording components and a
// scripted prompter, plus helpers that fill its assistant and read its views.
#include "editor/assistantpage.h"
#include "editor/dropdowncombobox.h"
#include "editor/editorservices.h"
#include "editor/generalpanel.h"
#include "editor/itemtreemodel.h"
#include "editor/mainwindow.h"
#include "editor/optionpanel.h"
#include "editor/screenpanel.h"
#include "guitesthelpers.h"
#include "model/assistroot.h"
#include "model/navigationstructure.h"
#include "scriptedprompter.h"
#include "tempsettings.h"
#include "tests/core/fakecomponents.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTreeView>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

// The recording components, with a file finder that resolves the names the test gives it.
class TestComponents final : public IComponentFactory {
public:
    FakeComponentFactory Fake;
    std::map<std::string, std::string> FinderPaths;

    std::unique_ptr<IHTMLReport> CreateHTMLReport() override { return Fake.CreateHTMLReport(); }
    std::unique_ptr<IReportSupport> CreateReportSupport() override { return Fake.CreateReportSupport(); }
    std::unique_ptr<IReportViewer> CreateReportViewer() override { return Fake.CreateReportViewer(); }
    std::unique_ptr<IAssistant> CreateAssistant() override { return Fake.CreateAssistant(); }
    std::unique_ptr<IFindFile> CreateFindFile() override {
        Fake.Log->Add("CreateFindFile");
        auto finder = std::make_unique<RecordingFindFile>(Fake.Log);
        finder->Paths = FinderPaths;
        return finder;
    }
    std::unique_ptr<ICDSupport> CreateCDSupport() override { return Fake.CreateCDSupport(); }
};

// One option of a test assistant: ID, action, command.
struct OptionEntry {
    OptionEntry(std::string optionId, TActionKind kind = akGoto, std::string target = {})
        : id(std::move(optionId)), action(kind), command(std::move(target)) {}
    std::string id;
    TActionKind action;
    std::string command;
};
struct ScreenEntry {
    ScreenEntry(std::string screenId, std::vector<OptionEntry> screenOptions = {})
        : id(std::move(screenId)), options(std::move(screenOptions)) {}
    std::string id;
    std::vector<OptionEntry> options;
};

class EditorFixture : public ::testing::Test {
protected:
    TempSettings temp;
    std::shared_ptr<TRegWrap> settings{temp.Make()};
    std::shared_ptr<TestComponents> components = std::make_shared<TestComponents>();
    ScriptedPrompter prompter;
    std::string login = "ann";
    std::vector<std::string> arguments;
    // Each test keeps unsaved changes in a folder of its own, so no test is offered another's files.
    QTemporaryDir recoveryDir;
    std::string recoveryFolder = recoveryDir.filePath("recovery").toStdString();
    int autoSaveInterval = 60000;
    int recoveryWriteInterval = 2000;
    std::unique_ptr<MainWindow> form;

    TEditorServices Services() {
        TEditorServices services;
        services.Settings = settings;
        services.Components = components;
        services.Arguments = arguments;
        services.LoginName = [this] { return login; };
        services.RecoveryFolder = recoveryFolder;
        services.AutoSaveInterval = autoSaveInterval;
        services.RecoveryWriteInterval = recoveryWriteInterval;
        return services;
    }
    void Create() {
        // A window replaced by the next one is set aside unchanged, so it leaves no recovery file for
        // the next one to offer (a test that means to leave one resets `form` itself).
        if (form) {
            form->Assistant().Changed = false;
            form->AutoSave();
            form.reset();
        }
        form = std::make_unique<MainWindow>(Services(), &prompter);
    }
    // Creates and shows the window (first display builds the views and selects the root).
    void Start() {
        Create();
        ASSERT_TRUE(ShowActive(form.get()));
    }
    void TearDown() override {
        if (form)
            form->Assistant().Changed = false; // no prompt while the window goes
        form.reset();
    }

    TAssistRoot& Root() const { return form->Assistant(); }
    ItemTreeModel& TreeModel() const { return *form->TreeModel(); }
    ItemTreeModel& StructureModel() const { return *form->StructureModel(); }

    // Replaces the screens of the assistant, sets the first screen, rebuilds both views and leaves the
    // assistant unchanged.
    void Fill(const std::vector<ScreenEntry>& screens, const std::string& first) {
        // The views still carry the old items: empty them first, so that no rebuild reads an item that
        // is gone (a test may fill the assistant more than once).
        for (ItemTreeModel* model : {form->TreeModel(), form->StructureModel()}) {
            model->BeginBuild();
            model->EndBuild();
        }
        Root().Screens.Clear();
        for (const ScreenEntry& entry : screens) {
            TAssistScreen* screen = TAssistScreen::Create(Root());
            screen->ID = entry.id;
            screen->Caption = "Caption of " + entry.id;
            for (const OptionEntry& o : entry.options) {
                TAssistOption* option = TAssistOption::Create(*screen);
                option->ID = o.id;
                option->Action = o.action;
                option->Command = o.command;
            }
        }
        Root().FirstScreen = first;
        form->RebuildTree();
        form->RebuildStructure();
        Root().Changed = false;
    }

    TAssistScreen* ScreenAt(int index) const { return Root().Screens.Item(index); }

    // The live nodes of a view in display order, each indented by one blank per level: a flat model's
    // nodes in index order (collapsed ones too), a nested model's as its indexes lead through them
    // (a node inserted after the build stands at its place there, not at the end).
    static std::vector<std::string> NodeTexts(const ItemTreeModel& model) {
        std::vector<std::string> texts;
        const auto add = [&](int node) {
            texts.push_back(std::string(static_cast<std::size_t>(model.DepthOf(node)), ' ') +
                            model.TextAt(node).toStdString());
        };
        if (model.IsFlat()) {
            for (int node = 0; node < model.NodeCount(); ++node)
                if (model.IsLive(node))
                    add(node);
            return texts;
        }
        std::vector<QModelIndex> pending;
        for (int row = model.rowCount() - 1; row >= 0; --row)
            pending.push_back(model.index(row, 0));
        while (!pending.empty()) {
            const QModelIndex index = pending.back();
            pending.pop_back();
            add(model.NodeOf(index));
            for (int row = model.rowCount(index) - 1; row >= 0; --row)
                pending.push_back(model.index(row, 0, index));
        }
        return texts;
    }

    // Both views show what rebuilding them from the model would show: the tree the assistant, its
    // screens and their options in list order by ID; the structure the navigation structure's nodes.
    // (The top node shows the whole assistant ID here; the fixtures' IDs have no folder part.)
    void ExpectViewsMatchModel() const {
        std::vector<std::string> tree{Root().ID};
        for (const TAssistScreen& screen : Root().Screens) {
            tree.push_back(" " + screen.ID);
            for (const TAssistOption& option : screen.Options)
                tree.push_back("  " + option.ID);
        }
        EXPECT_EQ(NodeTexts(TreeModel()), tree);
        std::vector<std::string> structure;
        for (const NavigationNode& node : BuildNavigationStructure(Root()).Nodes)
            structure.push_back(std::string(static_cast<std::size_t>(node.Depth), ' ') + node.Text);
        EXPECT_EQ(NodeTexts(StructureModel()), structure);
    }

    // Selects the item's node in the tree as a click would: the focus goes to the tree first.
    void ClickTreeNode(const TAssistBase* item) {
        FocusByMouse(form->Tree());
        const int node = TreeModel().FirstNodeOf(item);
        ASSERT_GE(node, 0);
        form->Tree()->setCurrentIndex(TreeModel().IndexOfNode(node));
        QApplication::processEvents();
    }

    // Types into a box as the user would: focus, replace the text.
    static void Type(QLineEdit* box, const QString& text) {
        FocusByMouse(box);
        box->selectAll();
        box->insert(text);
    }
};
