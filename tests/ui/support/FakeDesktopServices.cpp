// The fake portal reads back which file its descriptor names.
#include "ui/support/FakeDesktopServices.h"

#include <QDBusObjectPath>
#include <unistd.h>

namespace velmora::test {

QDBusObjectPath FakeOpenUri::OpenFile(const QString& parent, const QDBusUnixFileDescriptor& fd,
                                      const QVariantMap& options) {
    Q_UNUSED(parent);
    ++opened;
    asked = options.value(QStringLiteral("ask")).toBool();
    char buf[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(fd.fileDescriptor());
    const ssize_t n = ::readlink(link.c_str(), buf, sizeof buf);
    target.assign(buf, n > 0 ? static_cast<std::size_t>(n) : 0);
    return QDBusObjectPath(QStringLiteral("/org/freedesktop/portal/desktop/request/1_1/t"));
}

} // namespace velmora::test
