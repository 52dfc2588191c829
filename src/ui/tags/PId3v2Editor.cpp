// Reading and writing the viewer's shown values.
#include "ui/tags/PId3v2Editor.h"

#include <QComboBox>
#include <QLineEdit>

namespace velmora::ui {

QString TextValue::Text() const {
    return edit_->text();
}

void TextValue::SetText(const QString& text) const {
    edit_->setText(text);
    // Long values show their beginning.
    edit_->setCursorPosition(0);
    edit_->setToolTip(text.size() > 40 ? text : QString());
}

QStringList ListValue::Items() const {
    QStringList items;
    for (int i = 0; i < box_->count(); ++i)
        items << box_->itemText(i);
    return items;
}

void ListValue::SetItems(const QStringList& items) const {
    const QSignalBlocker block(box_); // filling the list is no choice of the user
    box_->clear();
    box_->addItems(items);
    box_->setCurrentIndex(items.isEmpty() ? -1 : 0);
}

} // namespace velmora::ui
