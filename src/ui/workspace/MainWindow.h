// The main window: pattern, directory and buttons on top, the two name panes, the status bar.
#pragma once

#include "core/shell/HelpLinks.h"
#include "core/watch/ChangeNotify.h"
#include "core/workspace/EditorNamesPane.h"
#include "core/workspace/HeldReports.h"
#include "core/workspace/Workspace.h"
#include "ui/platform/QtUiThreadPoster.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <memory>
#include <string>
#include <vector>

namespace velmora::ui {

class DirTreeCombo;
class InfoPages;
class LineNumbersDlg;
class DragDrop;
class ObjectPropertiesDialog;
class OpenWithDialog;
class SHFileOperation;
class MessageBoxQuestions;
class NameListModel;
class NamesCheckView;
class ReplaceDialog;
class StatusBarSink;
class TextEditor;
class UndoLastApply;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // args: the command line without the program name.
    explicit MainWindow(const std::vector<std::string>& args = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    workspace::Workspace& Work() { return *workspace_; }
    platform::ModalResult AskApplyChanges() { return workspace_->AskApplyChanges(); }

    // Handlers, named after their control and event.
    void ButtonRefreshClick();
    void ButtonApplyClick();
    void ButtonCDUpClick();
    void CheckBoxExcludeExtClick();
    void EditDirectoryPathChange();
    void VelmoraHomepage1Click();
    void Contact1Click();
    // The homepage and contact addresses this build has, and the user guide found.
    static shell::HelpLinks CurrentHelpLinks();
    void About1Click();
    // The left list's file actions and the window's drop target.
    void Open1Click();
    void OpenWith1Click();
    void Properties1Click();
    void Delete1Click(int tag); // tag 0: to the Trash, 1: permanently (Destroy)
    void DragDrop1Drop(const std::vector<std::string>& paths);
    void RegisterForDirecotries1Click();
    void UnregisterShell1Click();
    // Renames the files of the last Apply back; at start, offers that for a run cut off.
    void UndoLastApply1Click();
    void RecoverInterruptedApply();
    // The watched folder changed: offer to reload.
    void ChangeNotify1Notifications0Change();
    // The left list's selection changed: show the file in the information pane.
    void ListBoxOrgClick();
    // "File &Info": the information pane shows exactly while the item is checked.
    void FileInfo1Click();
    // The listed directory followed by the selected left-list name; empty without a selection.
    std::string SelectedFilePath() const;
    // The same for the left list's current row, selected or not.
    std::string CurrentFilePath() const;
    // The names pane's menu.
    void Find1Click();
    void NumberLines1Click();
    void UPPERCASE1Click();
    void lowercase1Click();
    void Capitalize1Click();
    void NamesFromTags1Click();
    void SafeNames1Click();
    void Record1Click();
    void Play1Click();
    // Opens the names pane's menu below the caret (Menu key, Shift+F10).
    void PopupMenuNewAtCaret();

    // Controls, for the tests and the later panes.
    QComboBox* ComboBoxPattern = nullptr;
    QCheckBox* CheckBoxExcludeExt = nullptr;
    DirTreeCombo* EditDirectory = nullptr;
    QPushButton* ButtonCDUp = nullptr;
    QPushButton* ButtonRefresh = nullptr;
    QPushButton* ButtonApply = nullptr;
    QPushButton* ButtonEtc = nullptr;
    QCheckBox* CheckBoxSynchScroll = nullptr;
    QListView* ListBoxOrg = nullptr;
    TextEditor* MemoNew = nullptr;
    TextEditor* MemoInfo = nullptr; // the information pane's read-only text
    QMenu* PopupMenuNew = nullptr;
    QAction* Play1 = nullptr;
    QMenu* PopupMenuEtc = nullptr;
    QAction* UndoLastApply1 = nullptr;
    QMenu* PopupMenuOrg = nullptr;
    QAction* FileInfo1 = nullptr;
    InfoPages* PageControlInfo = nullptr;
    LineNumbersDlg* LineNumbersDlg1 = nullptr; // created once and reused
    ReplaceDialog* ReplaceDialog1 = nullptr;
    DragDrop* DragDrop1 = nullptr;
    SHFileOperation* SHFileOperation1 = nullptr;
    OpenWithDialog* OpenWithDialog1 = nullptr;
    ObjectPropertiesDialog* ObjectPropertiesDialog1 = nullptr;
    QLabel* StatusText = nullptr;
    NamesCheckView* NamesCheck1 = nullptr; // the live check of the new names

    QString StatusBarText() const;
    watch::ChangeNotify& ChangeNotify1() { return *changeNotify1_; }

protected:
    void closeEvent(QCloseEvent* event) override; // FormCloseQuery
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildTopPanel(QWidget* panel);
    void BuildNamePanes(QSplitter* panelMain);
    // Every menu of the window is built here.
    void BuildMenus();
    void BuildPopupMenuOrg();
    // A menu item whose key, if any, works while keysOwner has the focus; fn runs as an action.
    template <typename Fn>
    QAction* AddMenuItem(QMenu* menu, QWidget* keysOwner, const QString& name,
                         const QString& caption, const QKeySequence& key, const QIcon& icon, Fn fn);
    void InstallScrollForwarding();
    void ApplyCommandLine(const std::vector<std::string>& args);
    void ShowEtcMenu();
    // Runs a handler: errors are shown, the silent abort shows nothing.
    template <typename Fn> void Run(Fn&& fn);
    // Ends one hold of the outside reports once the event loop is back.
    void ReleaseReportsLater();

    void WatchDirectory(const std::string& dir);

    // The poster outlives the watcher, which stops its worker when destroyed.
    QtUiThreadPoster poster_;
    std::unique_ptr<watch::ChangeNotify> changeNotify1_;
    // The watcher's and the folder tree's reports, held for the whole of each user action.
    workspace::HeldReports reports_;
    std::string watchedDirectory_;
    NameListModel* leftModel_ = nullptr;
    std::unique_ptr<MessageBoxQuestions> questions_;
    StatusBarSink* status_ = nullptr;
    std::unique_ptr<workspace::EditorNamesPane> namesPane_;
    std::unique_ptr<workspace::Workspace> workspace_;
    std::unique_ptr<UndoLastApply> undoLastApply_;
    bool applyingCommandLine_ = false;
    bool patternFocusLeaving_ = false; // the pattern box reports its text as chosen on focus-out
    bool excludeExtHandlerAttached_ = true;
    bool scrollGuard_ = false;    // ScrollGuard
    std::string infoPendingPath_; // selected while the information pane was hidden
};

} // namespace velmora::ui
