// Entry point of the GUI tests: one QApplication on the offscreen platform for all cases,
// so tests drive real widgets without a display.
#include <QApplication>
#include <gtest/gtest.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings written by tests must never reach the user's real configuration.
    qputenv("XDG_CONFIG_HOME",
            QByteArray("/tmp/amf-gui-tests-config-") + QByteArray::number(qint64(getpid())));
    // Nor may recovery files of unsaved changes reach (or come from) the user's data folder.
    qputenv("XDG_DATA_HOME", QByteArray("/tmp/amf-gui-tests-data-") + QByteArray::number(qint64(getpid())));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
