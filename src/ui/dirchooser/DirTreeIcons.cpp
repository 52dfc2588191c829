// Theme icons with bundled fallbacks.
#include "ui/dirchooser/DirTreeIcons.h"

#include <QHash>

// Resources of a static library must be registered by hand.
static void InitDirChooserResources() {
    Q_INIT_RESOURCE(dirchooser);
}

namespace velmora::ui {

namespace {

using dirtree::NodeKind;
using dirtree::VolumeKind;

QString VolumeIconName(VolumeKind kind) {
    switch (kind) {
    case VolumeKind::vkRemovable:
        return QStringLiteral("drive-removable-media");
    case VolumeKind::vkOptical:
        return QStringLiteral("drive-optical");
    case VolumeKind::vkRemote:
        return QStringLiteral("folder-remote");
    case VolumeKind::vkFileSystem:
    case VolumeKind::vkHardDisk:
        break;
    }
    return QStringLiteral("drive-harddisk");
}

QIcon FolderIcon() {
    // Closed normally, open when selected (the tree's "selected image").
    QIcon closed = DirTreeIcons::Named(QStringLiteral("folder"));
    QIcon open = DirTreeIcons::Named(QStringLiteral("folder-open"));
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48}) {
        icon.addPixmap(closed.pixmap(size), QIcon::Normal);
        icon.addPixmap(closed.pixmap(size), QIcon::Active);
        icon.addPixmap(open.pixmap(size), QIcon::Selected);
    }
    return icon;
}

} // namespace

QIcon DirTreeIcons::Named(const QString& name) {
    static QHash<QString, QIcon> cache;
    auto it = cache.constFind(name);
    if (it != cache.constEnd()) return *it;
    static const bool registered = (InitDirChooserResources(), true);
    (void)registered;
    QIcon icon = QIcon::hasThemeIcon(name)
                     ? QIcon::fromTheme(name)
                     : QIcon(QStringLiteral(":/velmora/dirchooser/%1.svg").arg(name));
    cache.insert(name, icon);
    return icon;
}

QIcon DirTreeIcons::ForNode(const dirtree::FolderNode& node) {
    switch (node.Kind()) {
    case NodeKind::nkComputer:
        return Named(QStringLiteral("computer"));
    case NodeKind::nkVolume:
        return Named(VolumeIconName(node.Volume()));
    case NodeKind::nkFolder:
        break;
    }
    static const QIcon folder = FolderIcon();
    return folder;
}

} // namespace velmora::ui
