// "ID — Caption" in the editor window: the tree's and the Structure page's rows, and the two drop-downs
// of screen IDs (initial screen, go-to command), whose stored value stays the ID; captions follow edits.
#include "editor/idcaptiondelegate.h"
#include "editorfixture.h"

#include <QAbstractItemView>
#include <QImage>

#include <functional>

#include <string>
#include <vector>

namespace {

class WindowCaptionsTest : public EditorFixture {
protected:
    void SetUp() override {
        Start();
        Fill({ScreenEntry("S1", {OptionEntry("to2", akGoto, "S2")}), ScreenEntry("S2"), ScreenEntry("S3")},
             "S1");
        Root().ID = "A1";
        Root().Caption = "Printer set-up";
        ScreenAt(0)->Caption = "Welcome";
        ScreenAt(0)->Options.Item(0)->Caption = "Go on";
        ScreenAt(1)->Caption = " Scan\nthe page ";
        ScreenAt(2)->Caption.clear();
        form->RebuildTree();
        form->RebuildStructure();
        Root().Changed = false;
        form->Tree()->expandAll();
    }

    // What a reader sees in each row of a view, in row order (depth first for the nested tree).
    static std::vector<std::string> ShownRows(const QAbstractItemModel& model,
                                              const QModelIndex& parent = {}) {
        std::vector<std::string> rows;
        for (int row = 0; row < model.rowCount(parent); ++row) {
            const QModelIndex index = model.index(row, 0, parent);
            rows.push_back(index.data(Qt::AccessibleTextRole).toString().toStdString());
            for (const std::string& below : ShownRows(model, index))
                rows.push_back(below);
        }
        return rows;
    }

    static std::vector<std::pair<std::string, QVariant>> ListWithCaptions(const QComboBox* box) {
        std::vector<std::pair<std::string, QVariant>> entries;
        for (int i = 0; i < box->count(); ++i)
            entries.emplace_back(box->itemText(i).toStdString(), box->itemData(i, kCaptionRole));
        return entries;
    }

    static void DropDown(QComboBox* box) {
        box->showPopup();
        box->hidePopup();
        // The list was a window of its own: the editor window is made active again, so that focus
        // changes inside it (leaving a box stores it) happen as they do for the author.
        EXPECT_TRUE(ShowActive(box->window()));
    }
};

TEST_F(WindowCaptionsTest, TreeRowsShowTheCaptionBesideTheIDWhoseTextStaysTheID) {
    ASSERT_NE(qobject_cast<IdCaptionDelegate*>(form->Tree()->itemDelegate()), nullptr);
    EXPECT_EQ(ShownRows(TreeModel()),
              (std::vector<std::string>{"A1 \u2014 Printer set-up", "S1 \u2014 Welcome", "to2 \u2014 Go on",
                                        "S2 \u2014 Scan the page", "S3"}));
    EXPECT_EQ(NodeTexts(TreeModel()), (std::vector<std::string>{"A1", " S1", "  to2", " S2", " S3"}))
        << "the node texts (searched by typing, exported) are the IDs";

    // The Structure page: each node's caption after the node's own text, which stays as built.
    ASSERT_NE(qobject_cast<IdCaptionDelegate*>(form->Structure()->itemDelegate()), nullptr);
    for (int node = 0; node < StructureModel().NodeCount(); ++node) {
        SCOPED_TRACE(node);
        const QModelIndex index = StructureModel().IndexOfNode(node);
        const TAssistBase* item = StructureModel().ItemAt(node);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(index.data(Qt::DisplayRole).toString(), StructureModel().TextAt(node));
        EXPECT_EQ(index.data(Qt::AccessibleTextRole).toString(),
                  IdCaptionText(StructureModel().TextAt(node), QString::fromStdString(item->Caption)));
    }
}

TEST_F(WindowCaptionsTest, ACaptionEditShowsInTheRowsAndTheDropDowns) {
    DropDownComboBox* first = form->General()->cbInitScreen();
    DropDownComboBox* command = form->Option()->cbCommand();
    const int s2Row = 1; // S2's row under the assistant
    const QModelIndex s2 = TreeModel().IndexOfNode(TreeModel().FirstNodeOf(ScreenAt(1)));
    ASSERT_EQ(s2.row(), s2Row);
    form->Tree()->resize(400, 300);
    ClickTreeNode(ScreenAt(0)); // the tree as it is after the edit, but for the caption
    const QImage before = form->Tree()->viewport()->grab().toImage();

    ClickTreeNode(ScreenAt(1));
    Type(form->Screen()->eScreenCaption(), QStringLiteral("Scan it all"));
    ClickTreeNode(ScreenAt(0)); // leaving the box stores the caption
    ASSERT_EQ(ScreenAt(1)->Caption, "Scan it all");

    EXPECT_EQ(s2.data(Qt::AccessibleTextRole).toString().toStdString(), "S2 \u2014 Scan it all");
    EXPECT_EQ(s2.data(kCaptionRole).toString(), QStringLiteral("Scan it all"));
    const int structureNode = StructureModel().FirstNodeOf(ScreenAt(1));
    ASSERT_GE(structureNode, 0);
    EXPECT_TRUE(StructureModel()
                    .IndexOfNode(structureNode)
                    .data(Qt::AccessibleTextRole)
                    .toString()
                    .endsWith(QStringLiteral(" \u2014 Scan it all")));
    QApplication::processEvents();
    EXPECT_NE(form->Tree()->viewport()->grab().toImage(), before) << "the row was drawn again";

    // Both drop-downs list the new caption the next time they open.
    ClickTreeNode(&Root());
    DropDown(first);
    EXPECT_EQ(ListWithCaptions(first),
              (std::vector<std::pair<std::string, QVariant>>{{"S1", QStringLiteral("Welcome")},
                                                             {"S2", QStringLiteral("Scan it all")},
                                                             {"S3", QString()}}));
    ClickTreeNode(ScreenAt(0)->Options.Item(0));
    DropDown(command);
    EXPECT_EQ(ListWithCaptions(command), ListWithCaptions(first));
}

TEST_F(WindowCaptionsTest, TheDropDownsDrawCaptionsAndStoreTheChosenOrTypedID) {
    struct Case {
        const char* name;
        TAssistBase* item; // the item to select, whose panel holds the box
        DropDownComboBox* box;
        QWidget* next; // another box of the same panel: leaving the drop-down for it stores the value
        std::function<std::string()> stored;
    };
    TAssistOption* option = ScreenAt(0)->Options.Item(0);
    const std::vector<Case> cases = {
        {"initial screen", &Root(), form->General()->cbInitScreen(), form->General()->eProjectCaption(),
         [&] { return Root().FirstScreen; }},
        {"go-to command", option, form->Option()->cbCommand(), form->Option()->eOptionCaption(),
         [option] { return option->Command; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(qobject_cast<IdCaptionDelegate*>(c.box->view()->itemDelegate()), nullptr);
        ClickTreeNode(c.item);
        DropDown(c.box);
        ASSERT_EQ(c.box->count(), 3);
        EXPECT_EQ(c.box->itemData(1, kCaptionRole).toString(), QStringLiteral(" Scan\nthe page "));

        // Chosen from the list: the box holds and stores the ID alone.
        FocusByMouse(c.box);
        c.box->setCurrentIndex(1);
        EXPECT_EQ(c.box->currentText(), QStringLiteral("S2"));
        FocusByMouse(c.next);
        EXPECT_EQ(c.stored(), "S2");

        // Typed: an ID without caption is stored as typed.
        FocusByMouse(c.box);
        c.box->setEditText(QStringLiteral("S3"));
        FocusByMouse(c.next);
        EXPECT_EQ(c.stored(), "S3");
    }
}

TEST_F(WindowCaptionsTest, CommandExamplesOfOtherActionsGetNoCaptions) {
    // A web address example spelt like no screen, and one screen spelt like an example: only the go-to
    // actions list screens.
    ScreenAt(2)->ID = "home";
    form->RebuildTree();
    TAssistOption* option = ScreenAt(0)->Options.Item(0);
    ClickTreeNode(option);
    DropDownComboBox* command = form->Option()->cbCommand();
    struct Case {
        TActionKind action;
        bool captions;
    };
    for (const Case& c : {Case{akGoto, true}, Case{akGotoButton, true}, Case{akBrowse, false}}) {
        SCOPED_TRACE(static_cast<int>(c.action));
        form->Option()->cbAction()->setCurrentIndex(static_cast<int>(c.action));
        command->setEnabled(true);
        DropDown(command);
        ASSERT_GT(command->count(), 0);
        bool anyCaption = false;
        for (int i = 0; i < command->count(); ++i)
            anyCaption = anyCaption || command->itemData(i, kCaptionRole).isValid();
        EXPECT_EQ(anyCaption, c.captions);
    }
}

} // namespace
