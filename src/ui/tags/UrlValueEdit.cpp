// Clickable URL values.
#include "ui/tags/UrlValueEdit.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QMouseEvent>

namespace velmora::ui {

UrlValueEdit::UrlValueEdit(QWidget* parent) : QLineEdit(parent) {
    setReadOnly(true);
    connect(this, &QLineEdit::textChanged, this, &UrlValueEdit::UpdateLook);
    UpdateLook();
}

QUrl UrlValueEdit::OpenableUrl(const QString& value) {
    const QString trimmed = value.trimmed();
    if (trimmed.isEmpty()) return {};
    // "www.example.org" stands for a web page.
    QUrl url = QUrl::fromUserInput(trimmed);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https") &&
                           scheme != QLatin1String("ftp") && scheme != QLatin1String("mailto")))
        return {};
    return url;
}

bool UrlValueEdit::Open(const QString& value) {
    const QUrl url = OpenableUrl(value);
    if (url.isEmpty()) return false;
    QDesktopServices::openUrl(url);
    return true;
}

void UrlValueEdit::UpdateLook() {
    const bool clickable = Clickable();
    QFont f = font();
    f.setUnderline(clickable);
    setFont(f);
    QPalette p = palette();
    p.setColor(QPalette::Text,
               clickable ? p.color(QPalette::Link) : QPalette().color(QPalette::Text));
    setPalette(p);
    if (clickable)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
    setAccessibleDescription(clickable ? QStringLiteral("Link; press Enter to open") : QString());
}

void UrlValueEdit::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    QLineEdit::mousePressEvent(event);
}

void UrlValueEdit::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    // A drag that selected text is for copying, not a click.
    if (std::exchange(pressed_, false) && event->button() == Qt::LeftButton && !hasSelectedText() &&
        rect().contains(event->position().toPoint()))
        Open(text());
}

void UrlValueEdit::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && Open(text())) return;
    QLineEdit::keyPressEvent(event);
}

} // namespace velmora::ui
