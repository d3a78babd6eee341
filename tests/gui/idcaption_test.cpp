// "ID — Caption": the display text, the caption role of the item tree model (both shapes), the delegate
// that draws the caption dimmed beside the ID, the structure view drawing it, and the drop-downs whose
// value stays the ID.
#include "editor/dropdowncombobox.h"
#include "editor/flattreeview.h"
#include "editor/idcaptiondelegate.h"
#include "editor/itemtreemodel.h"
#include "model/assistroot.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTreeView>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

TEST(IdCaptionText, IsTheIDAndTheCaptionOnOneLine) {
    struct Case {
        const char* id;
        const char* caption;
        const char* shown;
    };
    const std::vector<Case> cases = {
        {"Start.1", "Welcome", "Start.1 \u2014 Welcome"},
        {"Start.1", "", "Start.1"},
        {"Start.1", "   ", "Start.1"},
        {"Scan.2", " Scan\r\nthe page\t(2) ", "Scan.2 \u2014 Scan  the page (2)"},
        {"", "Untitled", " \u2014 Untitled"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id + std::string("|") + c.caption);
        EXPECT_EQ(IdCaptionText(QString::fromUtf8(c.id), QString::fromUtf8(c.caption)).toStdString(),
                  c.shown);
    }
}

// An assistant A1 with screens S1 (options S1.1, S1.2) and S2.
class CaptionModelTest : public ::testing::TestWithParam<ItemTreeModel::Shape> {
protected:
    TAssistRoot root{"{TEST} tester"};
    ItemTreeModel model{nullptr, GetParam()};
    std::vector<TAssistBase*> items;

    void SetUp() override {
        root.ID = "A1";
        root.Caption = "Printer set-up";
        TAssistScreen* s1 = TAssistScreen::Create(root);
        s1->ID = "S1";
        s1->Caption = "Start";
        TAssistOption* o1 = TAssistOption::Create(*s1);
        o1->Caption = "Next";
        TAssistOption* o2 = TAssistOption::Create(*s1);
        o2->Caption.clear();
        TAssistScreen* s2 = TAssistScreen::Create(root);
        s2->ID = "S2";
        s2->Caption = "Scan";
        model.BeginBuild();
        const int top = model.AddNode(-1, &root, root.ID);
        const int first = model.AddNode(top, s1, s1->ID);
        model.AddNode(first, o1, o1->ID);
        model.AddNode(first, o2, o2->ID);
        model.AddNode(top, s2, "S " + s2->ID + " (repeated)");
        model.EndBuild();
        items = {&root, s1, o1, o2, s2};
    }
    QModelIndex IndexOf(int node) { return model.IndexOfNode(node); }
};

TEST_P(CaptionModelTest, EveryNodeOffersItsItemsCaptionWhileItsTextStaysAsBuilt) {
    const std::vector<std::string> texts = {"A1", "S1", "S1.1", "S1.2", "S S2 (repeated)"};
    const std::vector<QVariant> captions = {QStringLiteral("Printer set-up"), QStringLiteral("Start"),
                                            QStringLiteral("Next"), QString(), QStringLiteral("Scan")};
    for (int node = 0; node < model.NodeCount(); ++node) {
        SCOPED_TRACE(node);
        const QModelIndex index = IndexOf(node);
        EXPECT_EQ(index.data(Qt::DisplayRole).toString().toStdString(),
                  texts[static_cast<std::size_t>(node)]);
        EXPECT_EQ(index.data(kCaptionRole), captions[static_cast<std::size_t>(node)]);
    }
    // Read from the item when asked: a caption changed after the build is the one offered.
    root.Screens.Item(1)->Caption = "Scan the page";
    EXPECT_EQ(IndexOf(4).data(kCaptionRole).toString(), QStringLiteral("Scan the page"));
}

TEST_P(CaptionModelTest, RefreshCaptionsAsksTheViewsToDrawEveryRowAgain) {
    QSignalSpy spy(&model, &QAbstractItemModel::dataChanged);
    model.RefreshCaptions();
    ASSERT_FALSE(spy.isEmpty());
    for (int node = 0; node < model.NodeCount(); ++node) {
        SCOPED_TRACE(node);
        const QModelIndex index = IndexOf(node);
        bool covered = false;
        for (const QList<QVariant>& signal : spy) {
            const auto first = signal.at(0).value<QModelIndex>();
            const auto last = signal.at(1).value<QModelIndex>();
            const auto roles = signal.at(2).value<QList<int>>();
            covered = covered || (first.parent() == index.parent() && first.row() <= index.row() &&
                                  index.row() <= last.row() && roles.contains(kCaptionRole));
        }
        EXPECT_TRUE(covered);
    }
}

INSTANTIATE_TEST_SUITE_P(BothShapes, CaptionModelTest,
                         ::testing::Values(ItemTreeModel::Shape::Nested, ItemTreeModel::Shape::Flat));

// The darkest pixel (lowest lightness) of the image in a band of columns, and how many pixels there
// differ from the background.
struct Ink {
    int darkest = 256;
    int pixels = 0;
};
Ink InkIn(const QImage& image, int fromX, int toX, QRgb background) {
    Ink ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = std::max(fromX, 0); x < std::min(toX, image.width()); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (pixel == background)
                continue;
            ++ink.pixels;
            ink.darkest = std::min(ink.darkest, QColor(pixel).lightness());
        }
    return ink;
}

class IdCaptionDelegateTest : public ::testing::Test {
protected:
    QStandardItemModel model;
    QTreeView view; // gives the style and the palette, as a real view does
    IdCaptionDelegate delegate;

    void SetUp() override {
        QPalette palette = view.palette();
        palette.setColor(QPalette::Base, Qt::white);
        palette.setColor(QPalette::Text, Qt::black);
        view.setPalette(palette);
        for (const char* caption : {"Welcome to the printer", ""}) {
            auto* item = new QStandardItem(QStringLiteral("S1"));
            item->setData(QString::fromUtf8(caption), kCaptionRole);
            model.appendRow(item);
        }
        view.setModel(&model);
    }
    QStyleOptionViewItem Option(int width) {
        QStyleOptionViewItem option;
        option.initFrom(&view);
        option.widget = &view;
        option.rect = QRect(0, 0, width, 24);
        return option;
    }
    // The row as a view of the given width draws it with the delegate.
    QImage Paint(int row, int width = 400) {
        view.setItemDelegate(&delegate);
        view.setHeaderHidden(true);
        view.setRootIsDecorated(false);
        view.setFrameShape(QFrame::NoFrame);
        view.resize(width, 80);
        view.setColumnWidth(0, width);
        const QRect rect = view.visualRect(model.index(row, 0));
        return view.viewport()->grab(QRect(0, rect.top(), width, rect.height())).toImage();
    }
};

TEST_F(IdCaptionDelegateTest, DrawsTheCaptionDimmedAfterTheID) {
    const QFontMetrics metrics(view.font());
    const int idEnd = metrics.horizontalAdvance(QStringLiteral("S1")) + 8;
    const QRgb white = QColor(Qt::white).rgb();

    const QImage withCaption = Paint(0);
    const QImage without = Paint(1);
    const Ink id = InkIn(withCaption, 0, idEnd, white);
    const Ink caption = InkIn(withCaption, idEnd + 4, 400, white);
    ASSERT_GT(id.pixels, 0);
    EXPECT_GT(caption.pixels, 0) << "the caption is drawn";
    EXPECT_GT(caption.darkest, id.darkest + 40) << "and dimmed";
    EXPECT_EQ(InkIn(without, idEnd + 4, 400, white).pixels, 0) << "no caption, nothing after the ID";
    // The ID is drawn alike with or without caption.
    EXPECT_EQ(withCaption.copy(0, 0, idEnd - 6, without.height()),
              without.copy(0, 0, idEnd - 6, without.height()));

    // A caption too long for the row is cut off within it; the ID stays whole.
    const QImage narrow = Paint(0, idEnd + 30);
    EXPECT_GT(InkIn(narrow, idEnd + 4, idEnd + 30, white).pixels, 0);
    EXPECT_EQ(narrow.copy(0, 0, idEnd - 6, without.height()),
              without.copy(0, 0, idEnd - 6, without.height()));
}

TEST_F(IdCaptionDelegateTest, TheRowIsWideEnoughForTheCaption) {
    const QFontMetrics metrics(view.font());
    const QSize with = delegate.sizeHint(Option(400), model.index(0, 0));
    const QSize without = delegate.sizeHint(Option(400), model.index(1, 0));
    EXPECT_EQ(with.width() - without.width(),
              metrics.horizontalAdvance(CaptionSuffix(QStringLiteral("Welcome to the printer"))));
    EXPECT_EQ(with.height(), without.height());
}

TEST(StructureView, DrawsTheCaptionsItsModelOffers) {
    TAssistRoot root{"{TEST} tester"};
    TAssistScreen* screen = TAssistScreen::Create(root);
    screen->ID = "S1";
    ItemTreeModel model(nullptr, ItemTreeModel::Shape::Flat);
    model.BeginBuild();
    model.AddNode(-1, screen, "A A1 \u00bb S S1");
    model.EndBuild();
    FlatTreeView view;
    view.setModel(&model);
    view.resize(400, 80);
    ASSERT_NE(qobject_cast<IdCaptionDelegate*>(view.itemDelegate()), nullptr);

    screen->Caption.clear();
    model.RefreshCaptions();
    const QImage plain = view.grab().toImage();
    screen->Caption = "Welcome";
    model.RefreshCaptions();
    const QImage captioned = view.grab().toImage();
    EXPECT_NE(plain, captioned);
    EXPECT_EQ(model.TextAt(0).toStdString(), "A A1 \u00bb S S1") << "the node text, exported as it is";
}

TEST(IdCaptionComboBox, ListsCaptionsWhileTheChosenValueStaysTheID) {
    TAssistRoot root{"{TEST} tester"};
    for (const auto& [id, caption] :
         {std::pair{"S1", "Start"}, std::pair{"S2", "Scan"}, std::pair{"S2", "Later"}}) {
        TAssistScreen* screen = TAssistScreen::Create(root);
        screen->ID = id;
        screen->Caption = caption;
    }
    DropDownComboBox box;
    box.setEditable(true);
    ShowIdCaptions(box);
    ASSERT_NE(qobject_cast<IdCaptionDelegate*>(box.view()->itemDelegate()), nullptr);
    for (const char* text : {"S1", "s2", "<screen>"})
        box.addItem(QString::fromUtf8(text));
    SetScreenCaptions(box, root);

    struct Case {
        int index;
        const char* text;
        QVariant caption;
    };
    const std::vector<Case> cases = {
        {0, "S1", QStringLiteral("Start")},
        {1, "s2", QStringLiteral("Scan")}, // the first screen with that ID, as a go-to finds it
        {2, "<screen>", QVariant()},       // an example names no screen
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(box.itemData(c.index, kCaptionRole), c.caption);
        box.setCurrentIndex(c.index);
        EXPECT_EQ(box.currentText().toStdString(), c.text) << "the value stays the ID";
        EXPECT_EQ(box.lineEdit()->text().toStdString(), c.text);
    }

    // A refill with the captions of now.
    root.Screens.Item(0)->Caption = "Begin";
    SetScreenCaptions(box, root);
    EXPECT_EQ(box.itemData(0, kCaptionRole), QVariant(QStringLiteral("Begin")));

    // The list is as wide as its widest "ID — Caption", but no wider than twice the box.
    box.resize(400, box.sizeHint().height());
    SetScreenCaptions(box, root);
    EXPECT_GE(box.view()->minimumWidth(), box.view()->sizeHintForColumn(0));
    EXPECT_LT(box.view()->minimumWidth(), 800);
    box.resize(40, box.sizeHint().height());
    SetScreenCaptions(box, root);
    EXPECT_EQ(box.view()->minimumWidth(), 80);
}

} // namespace
