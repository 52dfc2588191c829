// Keeps the left list and the names pane beside it row for row where the scroll forwarding does
// not: a load puts both at the top, a resize brings them level again, and the list gets no
// horizontal scroll bar, which would take the height of a row that the names pane keeps.
#pragma once

#include <QObject>
#include <QTimer>

class QAbstractButton;
class QListView;

namespace velmora::ui {

class TextEditor;

class PaneRowsLevel : public QObject {
    Q_OBJECT
public:
    // synchScroll: while it is checked, a resize levels the panes.
    PaneRowsLevel(QListView* list, TextEditor* editor, QAbstractButton* synchScroll,
                  QObject* parent = nullptr);

    // Brings the list to the editor's top row; where the list cannot go there (near the end of
    // a list that shows more rows now), the editor follows the list.
    void Level();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListView* list_;
    TextEditor* editor_;
    QAbstractButton* synchScroll_;
    QTimer levelLater_;
};

} // namespace velmora::ui
