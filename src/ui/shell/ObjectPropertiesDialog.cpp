// Properties through the file manager, else our own window.
#include "ui/shell/ObjectPropertiesDialog.h"

#include "core/shell/DesktopExec.h"
#include "ui/platform/QtText.h"
#include "ui/shell/FilePropertiesDialog.h"
#include "ui/shell/SessionBus.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace velmora::ui {

namespace {
const QString kFileManager = QStringLiteral("org.freedesktop.FileManager1");
} // namespace

ObjectPropertiesDialog::ObjectPropertiesDialog(QWidget* owner) : QObject(owner), owner_(owner) {}

bool ObjectPropertiesDialog::Execute() {
    if (ObjectType != ShellObjectType::sdPathObject || ObjectName.empty()) return false;
    if (SessionBus::ServiceAvailable(kFileManager)) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            kFileManager, QStringLiteral("/org/freedesktop/FileManager1"), kFileManager,
            QStringLiteral("ShowItemProperties"));
        call << QStringList{ToQString(shell::FileUri(ObjectName))} << QString();
        QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
        if (reply.type() == QDBusMessage::ReplyMessage) return true;
    }
    auto* dialog = new FilePropertiesDialog(ObjectName, owner_);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    own_ = dialog;
    return true;
}

} // namespace velmora::ui
