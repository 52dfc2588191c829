// List rows of the editor's row height and baseline.
#include "ui/workspace/FixedRowHeightDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <algorithm>

namespace velmora::ui {

namespace {

// The width of the list's visible area, or -1 when the item is drawn elsewhere.
int ViewWidth(const QStyleOptionViewItem& option) {
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    return view ? view->viewport()->width() : -1;
}

} // namespace

QSize FixedRowHeightDelegate::sizeHint(const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(rowHeight_);
    // A wider item would give the list a horizontal scroll bar, which takes the height of a row
    // that the editor beside it does not lose.
    if (const int width = ViewWidth(option); width > 0)
        size.setWidth(std::min(size.width(), width));
    return size;
}

void FixedRowHeightDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    if (const int width = ViewWidth(opt); width > 0)
        opt.rect.setWidth(std::min(opt.rect.width(), width - opt.rect.left()));
    // Rows are marked at all when the role holds a colour, valid or not; the item then moves
    // right of the strip so that the strip hides none of it.
    const QVariant mark = index.data(MarkRole);
    const QRect row = opt.rect;
    if (mark.isValid()) {
        opt.rect.adjust(MarkWidth + 1, 0, 0, 0);
        if (const QColor colour = mark.value<QColor>(); colour.isValid())
            painter->fillRect(QRect(row.left(), row.top(), MarkWidth, row.height()), colour);
    }
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    // The style keeps the text this far inside its rectangle.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget)
                               .adjusted(margin, 0, -margin, 0);
    const QString text = opt.text;
    // The style draws the background, selection and focus; the text follows on the baseline
    // the editor draws its rows on (the style would centre it, a pixel off).
    opt.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    if (text.isEmpty()) return;
    const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (opt.state & QStyle::State_Active) ? QPalette::Normal
                                                                            : QPalette::Inactive;
    const QPalette::ColorRole role =
        (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text;
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(group, role));
    painter->setClipRect(opt.rect);
    const QFontMetrics fm(opt.font);
    painter->drawText(QPoint(textRect.left(), opt.rect.top() + fm.ascent()),
                      fm.elidedText(text, Qt::ElideMiddle, std::max(textRect.width(), 0)));
    painter->restore();
}

} // namespace velmora::ui
