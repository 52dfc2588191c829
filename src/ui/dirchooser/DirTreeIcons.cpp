// Theme icons with bundled fallbacks.
#include "ui/dirchooser/DirTreeIcons.h"

#include "ui/platform/Icons.h"

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
    QIcon closed = ThemeIcon(QStringLiteral("folder"));
    QIcon open = ThemeIcon(QStringLiteral("folder-open"));
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48}) {
        icon.addPixmap(closed.pixmap(size), QIcon::Normal);
        icon.addPixmap(closed.pixmap(size), QIcon::Active);
        icon.addPixmap(open.pixmap(size), QIcon::Selected);
    }
    return icon;
}

} // namespace

QIcon DirTreeIcons::ForNode(const dirtree::FolderNode& node) {
    switch (node.Kind()) {
    case NodeKind::nkComputer:
        return ThemeIcon(QStringLiteral("computer"));
    case NodeKind::nkVolume:
        return ThemeIcon(VolumeIconName(node.Volume()));
    case NodeKind::nkFolder:
        break;
    }
    static const QIcon folder = FolderIcon();
    return folder;
}

} // namespace velmora::ui
