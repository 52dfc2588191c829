// The fake portal reads back which file its descriptor names.
#include "ui/support/FakeDesktopServices.h"

#include <QDBusObjectPath>
#include <QFileInfo>

namespace velmora::test {

QDBusObjectPath FakeOpenUri::OpenFile(const QString& parent, const QDBusUnixFileDescriptor& fd,
                                      const QVariantMap& options) {
    Q_UNUSED(parent);
    ++opened;
    asked = options.value(QStringLiteral("ask")).toBool();
    target = QFileInfo(QStringLiteral("/proc/self/fd/%1").arg(fd.fileDescriptor())).symLinkTarget();
    return QDBusObjectPath(QStringLiteral("/org/freedesktop/portal/desktop/request/1_1/t"));
}

} // namespace velmora::test
