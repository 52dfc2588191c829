// Theme icons with bundled fallbacks.
#include "ui/workspace/MenuIcons.h"

#include <QHash>

// Resources of a static library must be registered by hand.
static void InitWorkspaceResources() {
    Q_INIT_RESOURCE(workspace);
}

namespace velmora::ui {

QIcon MenuIcons::Named(const QString& name) {
    static QHash<QString, QIcon> cache;
    auto it = cache.constFind(name);
    if (it != cache.constEnd()) return *it;
    static const bool registered = (InitWorkspaceResources(), true);
    (void)registered;
    QIcon icon = QIcon::hasThemeIcon(name)
                     ? QIcon::fromTheme(name)
                     : QIcon(QStringLiteral(":/velmora/workspace/%1.svg").arg(name));
    cache.insert(name, icon);
    return icon;
}

} // namespace velmora::ui
