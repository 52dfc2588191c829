// Icon lookup.
#include "ui/platform/Icons.h"

#include <QApplication>

// Resources of a static library are registered by hand, from the global namespace.
static void InitVelmoraResources() {
    Q_INIT_RESOURCE(velmora);
}

namespace velmora::ui {

QIcon AppIcon() {
    InitVelmoraResources();
    QIcon bundled;
    bundled.addFile(QStringLiteral(":/icons/velmora-48.png"), QSize(48, 48));
    bundled.addFile(QStringLiteral(":/icons/velmora-128.png"), QSize(128, 128));
    return QIcon::fromTheme(QStringLiteral("velmora"), bundled);
}

QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QString::fromLatin1(name),
                            QApplication::style()->standardIcon(fallback));
}

} // namespace velmora::ui
