// GUI tests run the real widgets offscreen; the platform must be chosen before
// the QApplication exists, and Qt wants a private runtime folder.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QDir runtime(QDir::tempPath() + QStringLiteral("/zel-gui-tests-runtime"));
    runtime.mkpath(QStringLiteral("."));
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 0);
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
