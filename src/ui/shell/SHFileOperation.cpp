// Trash and permanent deletion with the desktops' confirmations.
#include "ui/shell/SHFileOperation.h"

#include "core/fs/FileDeletion.h"
#include "core/fs/Trash.h"
#include "ui/platform/LongText.h"
#include "ui/platform/QtText.h"

#include <QFileInfo>
#include <QMessageBox>

namespace velmora::ui {

namespace {

QString DisplayName(const std::string& path) {
    return QFileInfo(ToQString(path)).fileName();
}

} // namespace

SHFileOperation::SHFileOperation(QWidget* owner) : QObject(owner), owner_(owner) {}

bool SHFileOperation::Confirm(const QString& text, const QString& detail) {
    if (Options & fofNoConfirmation) return true;
    QMessageBox box(QMessageBox::Question, QStringLiteral("Velmora"), Breakable(text),
                    QMessageBox::Yes | QMessageBox::No, owner_);
    box.setInformativeText(Breakable(detail));
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void SHFileOperation::ShowError(const QString& text) {
    if (Options & fofNoErrorUI) return;
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Velmora"), Breakable(text),
                    QMessageBox::Ok, owner_);
    box.exec();
}

bool SHFileOperation::DeleteOne(const std::string& path) {
    const QString name = DisplayName(path);
    if (Options & fofAllowUndo) {
        try {
            fs::Trash::MoveToTrash(path);
            return true;
        } catch (const fs::ETrashError& e) {
            // A file the Trash could take but did not: the reason is the answer, and deleting
            // it for good would fail the same way.
            if (!e.NoUsableTrash()) {
                ShowError(QStringLiteral("\"%1\" cannot be moved to the Trash: %2.")
                              .arg(name, ToQString(e.Message())));
                return false;
            }
            // Never deleted in place of the Trash without the user's word, so not without a
            // question.
            if (Options & fofNoConfirmation) {
                ShowError(QStringLiteral("\"%1\" cannot be moved to the Trash.").arg(name));
                return false;
            }
            if (!Confirm(QStringLiteral("\"%1\" cannot be moved to the Trash. Do you want to "
                                        "delete it permanently?")
                             .arg(name),
                         QStringLiteral("The Trash is not available on this volume (%1). If you "
                                        "delete the file, it will be permanently lost.")
                             .arg(ToQString(e.Message()))))
                return false;
        }
    }
    try {
        fs::FileDeletion::DeletePermanently(path);
        return true;
    } catch (const fs::EFileDeleteError& e) {
        ShowError(ToQString(e.Message()));
        return false;
    }
}

bool SHFileOperation::Execute() {
    if (SourceFiles.empty()) return false;
    const bool toTrash = Options & fofAllowUndo;
    QString question;
    QString detail;
    if (SourceFiles.size() == 1) {
        const QString name = DisplayName(SourceFiles.front());
        question =
            toTrash
                ? QStringLiteral("Move \"%1\" to the Trash?").arg(name)
                : QStringLiteral("Are you sure you want to permanently delete \"%1\"?").arg(name);
    } else {
        const auto n = static_cast<qsizetype>(SourceFiles.size());
        question = toTrash ? QStringLiteral("Move the %1 selected items to the Trash?").arg(n)
                           : QStringLiteral("Are you sure you want to permanently delete the %1 "
                                            "selected items?")
                                 .arg(n);
    }
    if (!toTrash) detail = QStringLiteral("If you delete an item, it will be permanently lost.");
    if (!Confirm(question, detail)) return false;
    bool all = true;
    for (const std::string& path : SourceFiles)
        all = DeleteOne(path) && all;
    return all;
}

} // namespace velmora::ui
