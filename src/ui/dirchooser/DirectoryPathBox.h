// The directory box: a read-only path field with a folder button, behind the chooser interface.
#pragma once

#include <QLineEdit>
#include <QToolButton>
#include <QWidget>
#include <string>

namespace velmora::ui {

class DirectoryPathBox : public QWidget {
    Q_OBJECT
public:
    explicit DirectoryPathBox(QWidget* parent = nullptr);

    // Moves to path when it names an existing directory and differs from the last accepted
    // path; then reports the change. Returns whether it moved.
    bool GoToPath(const std::string& path);
    std::string GetSelectedPath() const { return selectedPath_; }
    // Shows path without reporting a change.
    void SetSelectedPath(const std::string& path);
    QLineEdit* Edit() const { return edit_; }
    QToolButton* BrowseButton() const { return browse_; }

signals:
    void OnPathChange(const QString& selectedPath);

private:
    void Browse();

    QLineEdit* edit_;
    QToolButton* browse_;
    std::string selectedPath_;
};

} // namespace velmora::ui
