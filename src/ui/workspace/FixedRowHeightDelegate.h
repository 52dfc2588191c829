// Draws list items a fixed number of pixels high, with their text on the baseline the names
// editor uses, so that a list can stand row for row and pixel for pixel beside the editor. An
// item is never wider than the list: a long text is elided in the middle. A colour in a row's
// MarkRole paints a strip at its left, as the editor marks its lines.
#pragma once

#include <QStyledItemDelegate>

namespace velmora::ui {

class FixedRowHeightDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    FixedRowHeightDelegate(int rowHeight, QObject* parent)
        : QStyledItemDelegate(parent), rowHeight_(rowHeight) {}
    static constexpr int MarkRole = Qt::UserRole + 19;
    static constexpr int MarkWidth = 4;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    int rowHeight_;
};

} // namespace velmora::ui
