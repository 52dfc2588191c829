// Open With and Properties through the desktop's services on a real session bus (run under
// dbus-run-session; without a bus these tests skip).
#include "support/TempDir.h"
#include "ui/shell/ObjectPropertiesDialog.h"
#include "ui/shell/OpenWithDialog.h"
#include "ui/support/FakeDesktopServices.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <filesystem>
#include <gtest/gtest.h>

using namespace velmora;
using test::TempDir;

namespace {

struct SessionBusTest : ::testing::Test {
    QDBusConnection bus = QDBusConnection::sessionBus();
    std::vector<QString> services;
    void SetUp() override {
        if (!bus.isConnected()) GTEST_SKIP() << "no session bus (run under dbus-run-session)";
    }
    void TearDown() override {
        for (const QString& s : services)
            bus.unregisterService(s);
    }
    void Offer(const QString& service, const QString& path, QObject* object) {
        ASSERT_TRUE(bus.registerObject(path, object, QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(bus.registerService(service));
        services.push_back(service);
    }
};

} // namespace

TEST_F(SessionBusTest, PropertiesGoToTheFileManagerWhenOneRuns) {
    TempDir d;
    d.Write("a b.mp3");
    QWidget owner;
    ui::ObjectPropertiesDialog props(&owner);
    props.ObjectName = d / "a b.mp3";
    test::FakeFileManager fm;
    Offer(QStringLiteral("org.freedesktop.FileManager1"),
          QStringLiteral("/org/freedesktop/FileManager1"), &fm);
    EXPECT_TRUE(props.Execute());
    EXPECT_EQ(fm.shown, QStringList{QString::fromStdString("file://" + d.Path() + "/a%20b.mp3")});
    EXPECT_EQ(props.OwnDialog(), nullptr);
    bus.unregisterObject(QStringLiteral("/org/freedesktop/FileManager1"));
}

TEST_F(SessionBusTest, OpenWithAsksThePortalWhenABackendOffersAChooser) {
    TempDir d;
    // A Latin-1 name beside its look-alike: the portal gets a descriptor of the very file.
    const std::string name = "caf\xe9.mp3";
    d.Write(name);
    d.Write("caf\xef\xbf\xbd.mp3");
    // The portal's backends describe themselves in .portal files below the data folders.
    std::filesystem::create_directories(d / "share/xdg-desktop-portal/portals");
    d.Write("share/xdg-desktop-portal/portals/test.portal",
            "[portal]\nDBusName=org.freedesktop.impl.portal.desktop.velmoratest\n"
            "Interfaces=org.freedesktop.impl.portal.AppChooser;\n");
    const QByteArray oldDirs = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS", QByteArray::fromStdString(d / "share"));
    test::FakeOpenUri portal;
    QObject backend;
    Offer(QStringLiteral("org.freedesktop.portal.Desktop"),
          QStringLiteral("/org/freedesktop/portal/desktop"), &portal);
    Offer(QStringLiteral("org.freedesktop.impl.portal.desktop.velmoratest"),
          QStringLiteral("/org/freedesktop/portal/desktop/backend"), &backend);
    QWidget owner;
    ui::OpenWithDialog dialog(&owner);
    dialog.FileName = d / name;
    bool ownChooser = false;
    QObject::connect(&dialog, &ui::OpenWithDialog::ChooserShown, [&](ui::AppChooserDialog* c) {
        ownChooser = true;
        QMetaObject::invokeMethod(c, &QDialog::reject, Qt::QueuedConnection);
    });
    dialog.Execute();
    qputenv("XDG_DATA_DIRS", oldDirs);
    EXPECT_FALSE(ownChooser);
    EXPECT_EQ(portal.opened, 1);
    EXPECT_TRUE(portal.asked);
    EXPECT_EQ(portal.target, d / name);
    bus.unregisterObject(QStringLiteral("/org/freedesktop/portal/desktop"));
    bus.unregisterObject(QStringLiteral("/org/freedesktop/portal/desktop/backend"));
}
