// Runs the widget tests on the offscreen platform with fresh home and XDG folders.
#include "ui/platform/VelmoraApplication.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QTemporaryDir root;
    if (!root.isValid()) return 2;
    const QByteArray base = root.path().toUtf8();
    for (const char* sub : {"/home", "/data", "/config", "/runtime"})
        QDir().mkpath(root.path() + sub);
    ::chmod((base + "/runtime").constData(), 0700);
    setenv("HOME", (base + "/home").constData(), 1);
    setenv("XDG_DATA_HOME", (base + "/data").constData(), 1);
    setenv("XDG_CONFIG_HOME", (base + "/config").constData(), 1);
    setenv("XDG_STATE_HOME", (base + "/state").constData(), 1);
    setenv("XDG_RUNTIME_DIR", (base + "/runtime").constData(), 1);
    if (!getenv("VELMORA_TEST_DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    velmora::ui::VelmoraApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
