// List rows of the editor's row height.
#include "ui/workspace/FixedRowHeightDelegate.h"

#include <QPainter>

namespace velmora::ui {

QSize FixedRowHeightDelegate::sizeHint(const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(rowHeight_);
    return size;
}

void FixedRowHeightDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    // Rows are marked at all when the role holds a colour, valid or not; the text then moves
    // right of the strip so that the strip hides none of it.
    const QVariant mark = index.data(MarkRole);
    if (!mark.isValid()) return QStyledItemDelegate::paint(painter, option, index);
    QStyleOptionViewItem shifted = option;
    shifted.rect.adjust(MarkWidth + 1, 0, 0, 0);
    QStyledItemDelegate::paint(painter, shifted, index);
    const QColor colour = mark.value<QColor>();
    const QRect& r = option.rect;
    if (colour.isValid())
        painter->fillRect(QRect(r.left(), r.top(), MarkWidth, r.height()), colour);
}

} // namespace velmora::ui
