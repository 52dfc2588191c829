// Icons from the desktop's theme, with fallbacks that ship with the program.
#pragma once

#include <QIcon>
#include <QString>
#include <QStyle>

namespace velmora::ui {

// The program's icon: the installed theme icon "velmora", else the bundled pictures.
QIcon AppIcon();
// A theme icon by its freedesktop name, else the picture of that name the program bundles.
QIcon ThemeIcon(const QString& name);
// A theme icon by its freedesktop name, else the style's own picture for the same purpose.
QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback);

} // namespace velmora::ui
