// The names check on screen: follows the names pane as the user types and the file list as it
// loads, shows the summary beside the status bar, marks the lines in both panes with the reason
// as their tooltip, and steps the caret from problem to problem. "Check Names" in the Etc menu
// turns all of it off and on, and the choice is kept between runs.
#pragma once

#include "core/workspace/NamesCheck.h"
#include "core/workspace/Workspace.h"

#include <QAction>
#include <QColor>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QObject>
#include <QStatusBar>
#include <vector>

namespace velmora::ui {

class NameListModel;
class TextEditor;

class NamesCheckView : public QObject {
    Q_OBJECT
public:
    NamesCheckView(workspace::Workspace& work, TextEditor* pane, QListView* list,
                   NameListModel* model, QStatusBar* bar, QMenu* etcMenu, QWidget* window);

    QLabel* Summary = nullptr;          // the summary beside the status bar
    QAction* CheckNames1 = nullptr;     // "&Check Names" in the Etc menu
    QAction* NextProblem = nullptr;     // F8
    QAction* PreviousProblem = nullptr; // Shift+F8

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    const workspace::NamesCheck& Check() const { return check_; }
    // The reason a line is marked, as its tooltip shows it; empty for an unmarked line.
    QString LineToolTip(int line) const;
    // The colour of a line's mark in the pane's palette; invalid for an unmarked line.
    QColor MarkColour(int line) const;
    // Moves the caret to the next (previous) line with a problem.
    void GoToProblem(bool backwards);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Reload(); // the list was loaded: the folder is read and every line checked
    void Follow(); // the pane's lines changed
    void Show();

    workspace::Workspace& work_;
    TextEditor* pane_;
    QListView* list_;
    NameListModel* model_;
    workspace::NamesCheck check_;
    bool enabled_ = false;
    bool checked_ = false; // the check has run on the lists shown
    std::vector<int> restated_;
    bool followPending_ = false;
};

} // namespace velmora::ui
