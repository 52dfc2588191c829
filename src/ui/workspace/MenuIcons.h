// The icons of the names pane's menu: the desktop theme's, else our own.
#pragma once

#include <QIcon>
#include <QString>

namespace velmora::ui {

class MenuIcons {
public:
    // The theme icon of this freedesktop name, or the bundled picture of the same name.
    static QIcon Named(const QString& name);
};

} // namespace velmora::ui
