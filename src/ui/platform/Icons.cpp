// Icon lookup.
#include "ui/platform/Icons.h"

#include <QApplication>
#include <QHash>

// Resources of a static library are registered by hand, from the global namespace.
static void InitVelmoraResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(velmora);
        Q_INIT_RESOURCE(workspace);
        Q_INIT_RESOURCE(dirchooser);
        return true;
    }();
    (void)registered;
}

namespace velmora::ui {

QIcon AppIcon() {
    InitVelmoraResources();
    QIcon bundled;
    bundled.addFile(QStringLiteral(":/icons/velmora-48.png"), QSize(48, 48));
    bundled.addFile(QStringLiteral(":/icons/velmora-128.png"), QSize(128, 128));
    return QIcon::fromTheme(QStringLiteral("velmora"), bundled);
}

QIcon ThemeIcon(const QString& name) {
    // Menus and the folder tree ask for the same few icons again and again.
    static QHash<QString, QIcon> cache;
    auto it = cache.constFind(name);
    if (it != cache.constEnd()) return *it;
    InitVelmoraResources();
    QIcon icon = QIcon::hasThemeIcon(name)
                     ? QIcon::fromTheme(name)
                     : QIcon(QStringLiteral(":/velmora/icons/%1.svg").arg(name));
    cache.insert(name, icon);
    return icon;
}

QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QString::fromLatin1(name),
                            QApplication::style()->standardIcon(fallback));
}

} // namespace velmora::ui
