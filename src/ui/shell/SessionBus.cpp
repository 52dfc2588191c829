// Session bus queries.
#include "ui/shell/SessionBus.h"

#include "core/shell/DesktopEntry.h"
#include "ui/platform/QtText.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QDir>
#include <QStandardPaths>
#include <QStringList>
#include <algorithm>

namespace velmora::ui {

bool SessionBus::ServiceAvailable(const QString& name) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()) return false;
    QDBusReply<bool> registered = bus.interface()->isServiceRegistered(name);
    if (registered.isValid() && registered.value()) return true;
    QDBusReply<QStringList> activatable =
        bus.interface()->call(QStringLiteral("ListActivatableNames"));
    return activatable.isValid() && activatable.value().contains(name);
}

bool SessionBus::PortalAppChooserAvailable() {
    if (!ServiceAvailable(QStringLiteral("org.freedesktop.portal.Desktop"))) return false;
    // Each backend describes itself in a .portal file: its bus name and its interfaces.
    const QStringList dirs = QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
                                                       QStringLiteral("xdg-desktop-portal/portals"),
                                                       QStandardPaths::LocateDirectory);
    for (const QString& dir : dirs) {
        for (const QString& file : QDir(dir).entryList({QStringLiteral("*.portal")}, QDir::Files)) {
            auto entry = shell::DesktopEntry::Load(FromQString(dir + QLatin1Char('/') + file));
            if (!entry) continue;
            auto interfaces = entry->List("portal", "Interfaces");
            if (std::find(interfaces.begin(), interfaces.end(),
                          "org.freedesktop.impl.portal.AppChooser") == interfaces.end())
                continue;
            if (ServiceAvailable(ToQString(entry->String("portal", "DBusName")))) return true;
        }
    }
    return false;
}

} // namespace velmora::ui
