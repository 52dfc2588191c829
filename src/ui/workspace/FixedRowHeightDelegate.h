// Draws list items as usual but makes every row a fixed number of pixels high, so that a list
// can stand row for row beside the names editor.
#pragma once

#include <QStyledItemDelegate>

namespace velmora::ui {

class FixedRowHeightDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    FixedRowHeightDelegate(int rowHeight, QObject* parent)
        : QStyledItemDelegate(parent), rowHeight_(rowHeight) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int rowHeight_;
};

} // namespace velmora::ui
