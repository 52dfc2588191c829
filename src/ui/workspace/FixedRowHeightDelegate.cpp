// List rows of the editor's row height.
#include "ui/workspace/FixedRowHeightDelegate.h"

namespace velmora::ui {

QSize FixedRowHeightDelegate::sizeHint(const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(rowHeight_);
    return size;
}

} // namespace velmora::ui
