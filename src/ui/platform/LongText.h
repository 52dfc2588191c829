// Long names in dialogs: a name of a few hundred characters has no place to break, so a label
// either cuts it or grows wider than the screen. These make it wrap, or elide it in the middle.
#pragma once

#include <QString>

class QFont;
class QWidget;

namespace velmora::ui {

// text with a zero-width space between the characters of every run longer than a line could
// hold without a break, so that a word-wrapping label breaks it anywhere. For display only.
QString Breakable(const QString& text);

// text shortened in its middle to fit width pixels in font.
QString ElidedMiddle(const QString& text, const QFont& font, int width);

// Limits a window to the width of the screen it stands on (its available area).
void KeepWithinScreen(QWidget* window);

} // namespace velmora::ui
