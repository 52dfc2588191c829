// Plain text on the system clipboard.
#include "ui/editor/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace velmora::ui {

std::u32string QtClipboard::GetText() {
    const QList<uint> ucs4 = QGuiApplication::clipboard()->text().toUcs4();
    return {ucs4.begin(), ucs4.end()};
}

void QtClipboard::SetText(const std::u32string& text) {
    QGuiApplication::clipboard()->setText(
        QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size())));
}

bool QtClipboard::CanPaste() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && data->hasText();
}

} // namespace velmora::ui
