// The directory chooser: a read-only edit showing the chosen folder's icon and caption, a
// drop-down button, and the folder tree that drops down beneath it.
#pragma once

#include "core/dirtree/LoadedFolderWatch.h"
#include "core/dirtree/MountTableWatch.h"

#include <QIcon>
#include <QLineEdit>
#include <QTimer>
#include <memory>
#include <string>

class QSocketNotifier;

namespace velmora::ui {

class DirTreeView;
class DropButton;

class DirTreeCombo : public QLineEdit {
    Q_OBJECT
public:
    // read: where the volumes come from (the mount table unless a test says otherwise).
    explicit DirTreeCombo(QWidget* parent = nullptr,
                          dirtree::MountTableWatch::VolumeReader read = dirtree::CurrentVolumes);
    ~DirTreeCombo() override;

    DirTreeView* Tree() const { return tree_; }
    DropButton* Btn() const { return btn_; }

    // "Drives" (the computer, or nothing chosen yet) or a full path.
    std::string GetSelectedPath() const;
    // Stores path as the selected path without walking the tree, changing the caption or
    // reporting a change.
    void SetSelectedPath(const std::string& path);
    // Goes to path (a "/" is added; a relative path is taken from the working folder) when it
    // names an existing folder and differs from the last path gone to; then ShowPath. Returns
    // whether it went.
    bool GoToPath(const std::string& path);
    // Walks the tree to path, shows the node reached and reports the path, also when it did
    // not change. Does nothing for an empty path, a one-character relative path or a path
    // that is not an existing folder.
    void ShowPath(const std::string& path);
    // Rebuilds the tree: the computer and the volumes, nothing read below them.
    void ReloadTree();
    // Opens the tree below the edit (above when it does not fit on the screen), or closes it.
    void ToggleDropDown();
    bool Dropped() const;
    bool ExpandRoot() const;
    void SetExpandRoot(bool expand);
    // Rebuilds after folders or volumes came or went, and so their path reports, wait from
    // HoldRebuilds to the matching ReleaseRebuilds (nestable); the outermost release runs one
    // that came meanwhile.
    void HoldRebuilds();
    void ReleaseRebuilds();

    int TreeHeight = 240;
    std::string LastPath; // the last path GoToPath went to, with a trailing "/"

signals:
    void OnPathChange(const QString& selectedPath);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool HandlesKey(const QKeyEvent* event) const;
    void Accept();
    // The edit shows the selected node's caption and icon (unchanged without a node).
    void ShowSelectedNode();
    void UpdateEditRect();
    // Folders or volumes appeared or went: rebuild and walk back to the selected path.
    void RebuildAfterChange();

    DirTreeView* tree_;
    DropButton* btn_;
    QIcon icon_;
    dirtree::MountTableWatch mounts_;
    dirtree::LoadedFolderWatch folders_;
    QSocketNotifier* mountNotifier_ = nullptr;
    QSocketNotifier* folderNotifier_ = nullptr;
    QTimer rebuildTimer_; // gathers a burst of changes into one rebuild
    bool rebuilding_ = false;
    int rebuildHolds_ = 0;
    bool rebuildHeld_ = false;
};

} // namespace velmora::ui
