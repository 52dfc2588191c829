// Rows of the two name panes kept level.
#include "ui/workspace/PaneRowsLevel.h"

#include "ui/editor/TextEditor.h"

#include <QAbstractButton>
#include <QEvent>
#include <QListView>
#include <QScrollBar>

namespace velmora::ui {

PaneRowsLevel::PaneRowsLevel(QListView* list, TextEditor* editor, QAbstractButton* synchScroll,
                             QObject* parent)
    : QObject(parent), list_(list), editor_(editor), synchScroll_(synchScroll) {
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setTextElideMode(Qt::ElideMiddle);
    // The editor goes to its first row on every load; the list, reset, would keep its place.
    connect(list_->model(), &QAbstractItemModel::modelReset, this, [this] {
        list_->verticalScrollBar()->setValue(0);
        list_->horizontalScrollBar()->setValue(0);
    });
    // A resize changes how far each pane can scroll; both settle once the layout is done.
    levelLater_.setSingleShot(true);
    levelLater_.setInterval(0);
    connect(&levelLater_, &QTimer::timeout, this, [this] {
        if (synchScroll_->isChecked()) Level();
    });
    list_->viewport()->installEventFilter(this);
    editor_->viewport()->installEventFilter(this);
}

void PaneRowsLevel::Level() {
    list_->doItemsLayout(); // the list's range for its new height
    QScrollBar* bar = list_->verticalScrollBar();
    const int top = editor_->TopRow();
    bar->setValue(top);
    if (bar->value() != top) editor_->SetLeftTop(editor_->LeftCol(), bar->value());
}

bool PaneRowsLevel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) levelLater_.start();
    return QObject::eventFilter(watched, event);
}

} // namespace velmora::ui
