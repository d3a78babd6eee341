// Room to work in the main window: the size of the first start (a good share of the screen, the design
// size at least), the minimum size, the tree/panel splitter kept in the settings, and the Option panel's
// guidance box wrapping rather than cutting its text off.
#include "editorfixture.h"
#include "support/qt/placement.h"

#include <QScreen>
#include <QScrollBar>
#include <QSplitter>

namespace {

TEST(FirstStartBounds, TakesEightyPercentCentredWithinTheMinimumAndTheArea) {
    struct Case {
        const char* name;
        TWindowBounds available;
        TWindowBounds expected;
    };
    const Case cases[] = {
        {"large screen below a top panel", {0, 40, 1920, 1040}, {192, 144, 1536, 832}},
        {"second screen to the right", {1920, 0, 1280, 1024}, {2048, 102, 1024, 819}},
        {"small screen: the minimum, centred", {0, 0, 800, 600}, {41, 20, 717, 560}},
        {"screen smaller than the minimum: the minimum at its corner",
         {10, 10, 640, 480},
         {10, 10, 717, 560}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FirstStartBounds(c.available, 717, 560), c.expected) << c.name;
}

class WindowRoomTest : public EditorFixture {};

TEST_F(WindowRoomTest, FirstStartTakesAShareOfTheScreenAndLaterStartsTheStoredSize) {
    Start();
    EXPECT_EQ(form->minimumSize(), QSize(717, 560));
    const QRect area = form->screen()->availableGeometry();
    const TWindowBounds first = FirstStartBounds({area.x(), area.y(), area.width(), area.height()}, 717, 560);
    EXPECT_EQ(form->size(), QSize(first.Width, first.Height));

    // A size the user chose is kept and comes back, rather than the first start's.
    form->resize(first.Width + 33, first.Height + 21);
    form->close();
    Start();
    EXPECT_EQ(form->size(), QSize(first.Width + 33, first.Height + 21));

    // The window cannot be made smaller than the design size.
    form->resize(300, 200);
    EXPECT_EQ(form->size(), QSize(717, 560));
}

TEST_F(WindowRoomTest, SplitterBetweenTreeAndPanelIsKeptInTheSettings) {
    Start();
    form->resize(1400, 900); // a wide window: the tree grows with it
    QApplication::processEvents();
    QSplitter* splitter = form->AssistantView()->Splitter();
    const int total = splitter->sizes().at(0) + splitter->sizes().at(1);
    EXPECT_GE(splitter->sizes().at(0) * 4, total) << "at first the tree has at least a quarter of the room";
    EXPECT_LE(splitter->sizes().at(0) * 2, total) << "and the panel at least half";
    splitter->setSizes({total / 3, total - total / 3});
    const std::string text = form->AssistantView()->SplitterSizesText();
    EXPECT_EQ(text, std::to_string(total / 3) + "," + std::to_string(total - total / 3));
    form->close();
    EXPECT_EQ(settings->ReadValue("Window.MainWindow.Splitter", ""), text);
    Start();
    EXPECT_EQ(form->AssistantView()->SplitterSizesText(), text);
}

TEST_F(WindowRoomTest, DamagedSplitterValuesChangeNothing) {
    Start();
    const std::string before = form->AssistantView()->SplitterSizesText();
    for (const char* damaged :
         {"", "300", "300,", ",400", "0,400", "300,0", "-5,400", "a,b", "300;400", "1,2,3", "99999999,400"}) {
        SCOPED_TRACE(damaged);
        EXPECT_FALSE(form->AssistantView()->ApplySplitterSizes(damaged));
        EXPECT_EQ(form->AssistantView()->SplitterSizesText(), before);
    }
    EXPECT_TRUE(form->AssistantView()->ApplySplitterSizes("200,500"));
    EXPECT_NE(form->AssistantView()->SplitterSizesText(), before);
}

TEST_F(WindowRoomTest, GuidanceWrapsLongTextToTheBoxAndScrollsDown) {
    Start();
    Fill({ScreenEntry("S1", {OptionEntry("a")})}, "S1");
    ClickTreeNode(ScreenAt(0)->Options.Item(0));
    QPlainTextEdit* guidance = form->Option()->mHelp();
    ASSERT_TRUE(guidance->isVisible());
    // An address with no blank to break at, and more lines than the box shows.
    QString text = QStringLiteral("https://example.com/") + QString(400, u'x');
    for (int line = 0; line < 20; ++line)
        text += QStringLiteral("\nline %1 of the guidance").arg(line);
    guidance->setPlainText(text);
    QApplication::processEvents();
    EXPECT_EQ(guidance->horizontalScrollBar()->maximum(), 0) << "nothing runs off to the right";
    EXPECT_GT(guidance->verticalScrollBar()->maximum(), 0) << "the rest is reached by scrolling";
}

} // namespace
