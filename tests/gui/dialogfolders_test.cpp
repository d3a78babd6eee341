#include "editor/dialogfolders.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(DialogFolders, StartFolderPrefersCurrentFileThenExistingLastFolderThenDocuments) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString last = temp.path();
    const QString gone = QDir(temp.path()).filePath(QStringLiteral("gone"));
    const QString docs = QStringLiteral("/home/user/Documents");
    struct Case {
        const char* name;
        QString currentFile, lastFolder, expected;
    };
    const Case cases[] = {
        {"current file wins", QStringLiteral("/data/tours/tour.amf"), last, QStringLiteral("/data/tours")},
        {"no file: last folder", QString(), last, last},
        {"no file, no last folder: documents", QString(), QString(), docs},
        {"last folder removed since: documents", QString(), gone, docs},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DialogStartFolder(c.currentFile, c.lastFolder, docs), c.expected) << c.name;
}

TEST(DialogFolders, SaveSuggestsTheIdAsFileName) {
    EXPECT_EQ(SuggestedSavePath(QStringLiteral("/data"), QStringLiteral("Tour")),
              QStringLiteral("/data/Tour.amf"));
    EXPECT_EQ(SuggestedSavePath(QStringLiteral("/data"), QString()), QStringLiteral("/data"));
}

} // namespace
