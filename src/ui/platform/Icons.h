// Icons from the desktop's theme, with fallbacks that ship with the program.
#pragma once

#include <QIcon>
#include <QStyle>

namespace velmora::ui {

// The program's icon: the installed theme icon "velmora", else the bundled pictures.
QIcon AppIcon();
// A theme icon by its standard name, else the style's own picture for the same purpose.
QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback);

} // namespace velmora::ui
