// The directory box.
#include "ui/dirchooser/DirectoryPathBox.h"

#include "core/fs/DirectoryListing.h"
#include "ui/platform/QtText.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QStyle>

namespace velmora::ui {

namespace {
// The root the box shows before any folder was chosen; not a directory.
const char* const kRootPath = "Drives";
} // namespace

DirectoryPathBox::DirectoryPathBox(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    edit_ = new QLineEdit(this);
    edit_->setReadOnly(true);
    edit_->setObjectName(QStringLiteral("EditDirectory"));
    browse_ = new QToolButton(this);
    browse_->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    browse_->setToolTip(QStringLiteral("Choose a directory"));
    browse_->setObjectName(QStringLiteral("EditDirectoryBrowse"));
    layout->addWidget(edit_, 1);
    layout->addWidget(browse_);
    setFocusProxy(browse_);
    connect(browse_, &QToolButton::clicked, this, &DirectoryPathBox::Browse);
    SetSelectedPath(kRootPath);
}

void DirectoryPathBox::SetSelectedPath(const std::string& path) {
    selectedPath_ = path;
    edit_->setText(ToQString(path));
}

bool DirectoryPathBox::GoToPath(const std::string& path) {
    if (!fs::DirectoryExists(path) || path == selectedPath_) return false;
    SetSelectedPath(path);
    emit OnPathChange(ToQString(path));
    return true;
}

void DirectoryPathBox::Browse() {
    QString start =
        fs::DirectoryExists(selectedPath_) ? ToQString(selectedPath_) : QDir::homePath();
    QString dir =
        QFileDialog::getExistingDirectory(this, QStringLiteral("Choose a directory"), start);
    if (!dir.isEmpty()) GoToPath(FromQString(dir));
}

} // namespace velmora::ui
