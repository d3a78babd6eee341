// The General and Screen panels: boxes, their labels and hints, and how the labels show text.
#include "editor/dropdowncombobox.h"
#include "editor/generalpanel.h"
#include "editor/screenpanel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

struct BoxCase {
    QWidget* box;
    const char* name;
    const char* label; // text of the label whose buddy is the box
    const char* hint;  // "short|long", empty for none
};

void CheckBoxes(QWidget* panel, const std::vector<BoxCase>& cases) {
    const QList<QLabel*> labels = panel->findChildren<QLabel*>();
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.box->objectName(), QString::fromLatin1(c.name));
        EXPECT_EQ(panel->findChild<QWidget*>(QString::fromLatin1(c.name)), c.box);
        const QLabel* label = nullptr;
        for (const QLabel* candidate : labels)
            if (candidate->buddy() == c.box)
                label = candidate;
        ASSERT_NE(label, nullptr) << "no label for the box";
        EXPECT_EQ(label->text(), QString::fromUtf8(c.label));
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        const QString hint = QString::fromUtf8(c.hint);
        const qsizetype bar = hint.indexOf(u'|');
        EXPECT_EQ(c.box->toolTip(), bar < 0 ? hint : hint.left(bar));
        EXPECT_EQ(c.box->statusTip(), bar < 0 ? hint : hint.mid(bar + 1));
    }
}

} // namespace

TEST(GeneralPanel, BoxesHaveTheirNamesLabelsAndHints) {
    GeneralPanel panel;
    EXPECT_EQ(panel.objectName(), QStringLiteral("Root"));
    EXPECT_EQ(panel.windowTitle(), QStringLiteral("General"));
    CheckBoxes(
        &panel,
        {
            {panel.eAuthor(), "eAuthor", "Author",
             "Name of author|Name of person creating this assistant; will be shown in the About box."},
            {panel.eBuildDate(), "eBuildDate",
             "Build date:", "Build date|Date assistant was built (YYYYMMDD); set automatically."},
            {panel.eVersion(), "eVersion", "Version:",
             "Version number|Version for assistant, normally <major>.<minor> (eg. 1.01); show in the About "
             "box."},
            {panel.eCopyright(), "eCopyright", "Copyright:",
             "Copyright information (optional)|Copyright holder for assistant; will be shown in the About "
             "box."},
            {panel.eProjectID(), "eProjectID",
             "ID for the Assistant:", "Assistant ID|Unique ID string for the assistant."},
            {panel.eProjectCaption(), "eProjectCaption", "Caption for the Assistant:",
             "Title for whole assistant|Title which appears in the left pane at the bottom while the "
             "assistant "
             "is being viewed."},
            {panel.cbInitScreen(), "cbInitScreen", "Initial screen",
             "Default starting screen|Select the screen to use for the starting point if none is specified. "
             "This is the normal starting place."},
            {panel.mProjectExp(), "mProjectExp", "Description to appear on left-hand pane at start.",
             "Enter initial description|Enter description of assistant, using Return to each paragraph."},
        });
    EXPECT_TRUE(panel.eBuildDate()->isReadOnly());
    EXPECT_EQ(panel.eBuildDate()->focusPolicy(), Qt::ClickFocus) << "skipped by Tab, still clickable";
    EXPECT_TRUE(panel.cbInitScreen()->isEditable());
    EXPECT_EQ(panel.mProjectExp()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(panel.eAuthor()->nextInFocusChain(), panel.eVersion());
}

TEST(ScreenPanel, BoxesHaveTheirNamesLabelsAndHints) {
    ScreenPanel panel;
    EXPECT_EQ(panel.objectName(), QStringLiteral("Screen"));
    EXPECT_EQ(panel.windowTitle(), QStringLiteral("Screen"));
    CheckBoxes(&panel,
               {
                   {panel.eScreenID(), "eScreenID", "&ID for this screen",
                    "Screen ID|Unique ID string for the screen."},
                   {panel.eScreenCaption(), "eScreenCaption", "&Caption for the screen:",
                    "Title for screen|Title which appears in the left pane at the top."},
                   {panel.eScreenImage(), "eScreenImage", "I&mage to appear below text", ""},
                   {panel.mScreenExp(), "mScreenExp", "Text to appear below caption, above image.",
                    "Enter screen description|Enter description of screen, appearing before options, using "
                    "Return to each paragraph."},
               });
    EXPECT_EQ(panel.bImagePick()->objectName(), QStringLiteral("bImagePick"));
}
