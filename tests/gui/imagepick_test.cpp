// The picture button beside a screen's image box: the dialog it opens and the name it stores.
#include "editor/imagepick.h"
#include "editorfixture.h"

#include <QAction>
#include <QDir>
#include <QTemporaryDir>
#include <QToolButton>

namespace {
std::string Path(const QTemporaryDir& dir, const char* name) {
    return QDir(dir.path()).filePath(QString::fromUtf8(name)).toStdString();
}
} // namespace

TEST(ImagePick, StoredNameIsRelativeOnlyInsideTheAssistantsFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string assistant = Path(dir, "help/printer.amf");
    struct Case {
        const char* name;
        std::string assistantFile;
        std::string chosen;
        std::string stored;
    };
    const std::vector<Case> cases = {
        {"same folder", assistant, Path(dir, "help/jam.png"), "jam.png"},
        {"sub-folder", assistant, Path(dir, "help/images/jam.png"), "images/jam.png"},
        {"outside: full name", assistant, Path(dir, "other/jam.png"), Path(dir, "other/jam.png")},
        {"never saved: full name", "", Path(dir, "help/jam.png"), Path(dir, "help/jam.png")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(StoredImageName(c.assistantFile, c.chosen), c.stored);
    }
}

TEST(ImagePick, DialogStartsAtTheCurrentImageElseAtTheAssistant) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("help/images")));
    const std::string assistant = Path(dir, "help/printer.amf");
    struct Case {
        const char* name;
        std::string assistantFile;
        std::string image;
        std::string folder;
        std::string proposed;
    };
    const std::vector<Case> cases = {
        {"relative image", assistant, "images/jam.png", Path(dir, "help/images"), "jam.png"},
        {"absolute image", assistant, Path(dir, "help/images/x.gif"), Path(dir, "help/images"), "x.gif"},
        {"image folder gone", assistant, "gone/jam.png", Path(dir, "help"), ""},
        {"no image", assistant, "", Path(dir, "help"), ""},
        {"never saved, no image", "", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Prompter::FileRequest request = ImagePickRequest(c.assistantFile, c.image);
        EXPECT_EQ(request.initialFolder, c.folder);
        EXPECT_EQ(request.proposedName, c.proposed);
        EXPECT_FALSE(request.filters.empty());
    }
}

class ImagePickEditorTest : public EditorFixture {};

TEST_F(ImagePickEditorTest, ChosenImageIsStoredAsOneUndoableChange) {
    Start();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Fill({ScreenEntry("S1")}, "S1");
    Root().FileName = Path(dir, "printer.amf");
    ClickTreeNode(ScreenAt(0));
    QToolButton* button = form->Screen()->bImagePick();

    prompter.ExpectOpenFile(std::nullopt); // cancelled: nothing changes
    button->click();
    EXPECT_EQ(ScreenAt(0)->Image, "");
    EXPECT_FALSE(Root().Changed);

    prompter.ExpectOpenFile(Path(dir, "pictures/jam.png"));
    button->click();
    EXPECT_EQ(ScreenAt(0)->Image, "pictures/jam.png");
    EXPECT_EQ(form->Screen()->eScreenImage()->text(), QStringLiteral("pictures/jam.png"));
    EXPECT_TRUE(Root().Changed);
    EXPECT_EQ(prompter.LastFileRequest().initialFolder, dir.path().toStdString());

    form->FindAction(QStringLiteral("aUndo"))->trigger();
    EXPECT_EQ(ScreenAt(0)->Image, "");
    EXPECT_FALSE(Root().Changed);
}

TEST_F(ImagePickEditorTest, TypedImageIsStoredBeforeTheDialogOpens) {
    Start();
    Fill({ScreenEntry("S1")}, "S1");
    ClickTreeNode(ScreenAt(0));
    Type(form->Screen()->eScreenImage(), QStringLiteral("typed.png"));
    prompter.ExpectOpenFile(std::nullopt);
    form->Screen()->bImagePick()->click();
    EXPECT_EQ(ScreenAt(0)->Image, "typed.png");
    EXPECT_EQ(prompter.LastFileRequest().proposedName, "typed.png");
}
