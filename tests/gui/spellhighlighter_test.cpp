// The marks under misspelt words: exactly the misspelt ranges in the multi-line boxes (a table of
// texts), the same ranges and a red wave in the one-line boxes, and new marks whenever the service
// changes.
#include "editor/lineeditspellmarker.h"
#include "editor/spellboxes.h"
#include "editor/spellhighlighter.h"
#include "editor/spelltext.h"
#include "spelltesthelpers.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <tuple>
#include <vector>

namespace {
// (block number, start, length) of each range the highlighter formatted, in document order.
using Mark = std::tuple<int, int, int>;

std::vector<Mark> MarksIn(const QTextDocument& document) {
    std::vector<Mark> marks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
            EXPECT_EQ(range.format.underlineStyle(), QTextCharFormat::SpellCheckUnderline);
            EXPECT_EQ(range.format.underlineColor(), QColor(Qt::red));
            marks.emplace_back(block.blockNumber(), range.start, range.length);
        }
    }
    return marks;
}

struct TextCase {
    const char* name;
    QString text;
    std::vector<Mark> expected;
};

// Shared by the multi-line and the one-line boxes (one-line cases have a single block).
const std::vector<TextCase>& TextCases() {
    static const std::vector<TextCase> cases = {
        {"all correct, with punctuation", QStringLiteral("Hello, world! (See the screen.)"), {}},
        {"two misspelt words", QStringLiteral("Helo wrld"), {{0, 0, 4}, {0, 5, 4}}},
        {"punctuation is not part of the word", QStringLiteral("\"wrld\", hello."), {{0, 1, 4}}},
        {"apostrophes: known and unknown", QStringLiteral("don't dont' 'dont"), {{0, 6, 4}, {0, 13, 4}}},
        {"typographic apostrophe", QString::fromUtf8("don\xE2\x80\x99t wasn\xE2\x80\x99t"), {{0, 6, 6}}},
        {"numbers are skipped", QStringLiteral("In 2026 the 3rd option 4.50 mp3"), {}},
        {"web and e-mail addresses are skipped",
         QStringLiteral("see https://exmple.com/wrng or www.exmple.org or ann@exmple.com"),
         {}},
        {"hyphens split words", QStringLiteral("welcome-screeen"), {{0, 8, 7}}},
        {"non-ASCII words", QString::fromUtf8("caf\xC3\xA9 cafe na\xC3\xAFve"), {{0, 5, 4}, {0, 10, 5}}},
        {"positions after a character outside the BMP count UTF-16 units",
         QString::fromUtf8("\xF0\x9F\x98\x80 wrld \xF0\x9F\x98\x80hello"),
         {{0, 3, 4}}},
    };
    return cases;
}
} // namespace

TEST_F(SpellTest, HighlighterMarksExactlyTheMisspeltRanges) {
    const auto service = MakeService();
    QPlainTextEdit box;
    SpellHighlighter highlighter(box.document(), *service);
    for (const TextCase& c : TextCases()) {
        SCOPED_TRACE(c.name);
        box.setPlainText(c.text);
        EXPECT_EQ(MarksIn(*box.document()), c.expected);
    }
    // Each line of a text is its own block.
    box.setPlainText(QStringLiteral("hello wrld\n\nthe sceen\nnote"));
    EXPECT_EQ(MarksIn(*box.document()), (std::vector<Mark>{{0, 6, 4}, {2, 4, 5}}));
}

TEST_F(SpellTest, HighlighterFollowsTheServiceAndTyping) {
    const auto service = MakeService();
    QTextEdit box; // the rich-text box works the same way
    AttachSpellChecking(&box, *service);
    box.setPlainText(QStringLiteral("hello zorb wrld"));
    const std::vector<Mark> both = {{0, 6, 4}, {0, 11, 4}};
    EXPECT_EQ(MarksIn(*box.document()), both);

    // Typing: the block is worked out again.
    QTextCursor cursor(box.document());
    cursor.setPosition(15);
    cursor.insertText(QStringLiteral(" screeen"));
    EXPECT_EQ(MarksIn(*box.document()), (std::vector<Mark>{{0, 6, 4}, {0, 11, 4}, {0, 16, 7}}));
    cursor.select(QTextCursor::Document);
    cursor.insertText(QStringLiteral("hello zorb wrld"));

    service->SetEnabled(false);
    EXPECT_TRUE(MarksIn(*box.document()).empty());
    service->SetEnabled(true);
    EXPECT_EQ(MarksIn(*box.document()), both);

    service->Ignore("zorb");
    EXPECT_EQ(MarksIn(*box.document()), (std::vector<Mark>{{0, 11, 4}}));
    ASSERT_TRUE(service->AddToDictionary("wrld"));
    EXPECT_TRUE(MarksIn(*box.document()).empty());

    // A language without "screen": the marks change without any edit.
    box.setPlainText(QStringLiteral("hello screen"));
    EXPECT_TRUE(MarksIn(*box.document()).empty());
    ASSERT_TRUE(service->SetLanguage("yy_LATIN"));
    EXPECT_EQ(MarksIn(*box.document()), (std::vector<Mark>{{0, 6, 6}}));
}

TEST_F(SpellTest, OneLineBoxMarksTheSameRanges) {
    const auto service = MakeService();
    QLineEdit box;
    LineEditSpellMarker marker(&box, *service);
    for (const TextCase& c : TextCases()) {
        SCOPED_TRACE(c.name);
        box.setText(c.text);
        std::vector<Mark> marks;
        for (const SpellRange& range : marker.Marked())
            marks.emplace_back(0, range.Start, range.Length);
        EXPECT_EQ(marks, c.expected);
    }
    box.setText(QStringLiteral("wrld"));
    EXPECT_EQ(marker.Marked().size(), 1u);
    box.setEchoMode(QLineEdit::Password);
    EXPECT_TRUE(marker.Marked().empty()) << "a hidden text is never marked";
    box.setEchoMode(QLineEdit::Normal);
    service->Ignore("wrld");
    EXPECT_TRUE(marker.Marked().empty()) << "marks are worked out again after the service changes";
}

namespace {
// Columns of the image holding a clearly red pixel.
std::vector<int> RedColumns(const QImage& image) {
    std::vector<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 150 && c.green() < 110 && c.blue() < 110) {
                columns.push_back(x);
                break;
            }
        }
    }
    return columns;
}

QImage Render(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    widget.render(&image);
    return image;
}
} // namespace

TEST_F(SpellTest, OneLineBoxDrawsAWaveUnderTheMisspeltWordOnly) {
    const auto service = MakeService();
    QLineEdit box;
    box.resize(300, 30);
    AttachSpellChecking(&box, *service);
    box.setText(QStringLiteral("hello wrld screen"));
    box.setCursorPosition(0);
    box.show();
    QApplication::processEvents();

    // The word's place, worked out from the cursor, agrees with Qt's own mapping of points to positions.
    const QRect word = LineEditSpellMarker::WordRect(box, {6, 4});
    EXPECT_EQ(box.cursorPositionAt(QPoint(word.left() + 2, word.center().y())), 6);
    EXPECT_EQ(box.cursorPositionAt(QPoint(word.right() - 1, word.center().y())), 10);

    const std::vector<int> red = RedColumns(Render(box));
    ASSERT_FALSE(red.empty()) << "no wave drawn";
    EXPECT_GE(red.front(), word.left() - 1);
    EXPECT_LE(red.back(), word.right() + 2);
    EXPECT_GE(red.back() - red.front(), word.width() - 3) << "the wave runs along the whole word";

    service->SetEnabled(false);
    QApplication::processEvents();
    EXPECT_TRUE(RedColumns(Render(box)).empty());
}

TEST_F(SpellTest, OneLineBoxWordPlacesFollowScrolling) {
    const auto service = MakeService();
    QLineEdit box;
    box.resize(120, 30);
    box.setText(QStringLiteral("hello world the screen welcome option note text finish wrld"));
    box.show();
    box.end(false); // the start of the text scrolls out of view
    QApplication::processEvents();
    const int start = static_cast<int>(box.text().size()) - 4;
    const QRect word = LineEditSpellMarker::WordRect(box, {start, 4});
    EXPECT_TRUE(box.rect().contains(word.center())) << "the last word is in view";
    EXPECT_EQ(box.cursorPositionAt(QPoint(word.left() + 2, word.center().y())), start);
    const QRect first = LineEditSpellMarker::WordRect(box, {0, 5});
    EXPECT_LT(first.right(), 0) << "the first word has scrolled out to the left";
}
