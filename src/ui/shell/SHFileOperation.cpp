// Trash and permanent deletion with the desktops' confirmations.
#include "ui/shell/SHFileOperation.h"

#include "core/fs/FileDeletion.h"
#include "core/shell/DesktopExec.h"
#include "ui/platform/LongText.h"
#include "ui/platform/QtText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>
#include <QStandardPaths>
#include <cstdio>

namespace velmora::ui {

namespace {

QString DisplayName(const std::string& path) {
    return QFileInfo(ToQString(path)).fileName();
}

// A Trash folder is "Trash" (the home trash), ".Trash-UID" or "UID" inside ".Trash".
bool InTrashFiles(const QString& where) {
    QFileInfo info(where);
    QDir files = info.dir();
    if (files.dirName() != QLatin1String("files")) return false;
    QDir trash = files;
    if (!trash.cdUp()) return false;
    const QString name = trash.dirName();
    if (name == QLatin1String("Trash") || name.startsWith(QLatin1String(".Trash-"))) return true;
    QDir top = trash;
    return top.cdUp() && top.dirName() == QLatin1String(".Trash");
}

// The Trash keeps the original path URL-encoded, so that a name holding "%" or a line break
// restores to itself; Qt 6.4 writes it raw. Re-encodes a raw value, leaves anything else.
void EncodeTrashInfoPath(const QString& where, const QString& original) {
    QFileInfo moved(where);
    QDir info = moved.dir();
    if (!info.cdUp() || !info.cd(QStringLiteral("info"))) return;
    QFile file(info.filePath(moved.fileName() + QStringLiteral(".trashinfo")));
    if (!file.open(QIODevice::ReadOnly)) return;
    QByteArray text = file.readAll();
    file.close();
    const QByteArray raw = QFile::encodeName(QFileInfo(original).absoluteFilePath());
    const qsizetype start = text.indexOf("\nPath=");
    if (start < 0) return;
    const qsizetype valueStart = start + 6;
    qsizetype end = text.indexOf('\n', valueStart);
    if (end < 0) end = text.size();
    const QByteArray value = text.mid(valueStart, end - valueStart);
    if (value.isEmpty() || !raw.endsWith(value)) return;
    const std::string encoded = velmora::shell::FileUri(value.toStdString()).substr(7);
    if (encoded == value.toStdString()) return;
    text.replace(valueStart, end - valueStart, QByteArray::fromStdString(encoded));
    QSaveFile out(file.fileName());
    if (out.open(QIODevice::WriteOnly) && out.write(text) == text.size()) out.commit();
}

} // namespace

SHFileOperation::SHFileOperation(QWidget* owner) : QObject(owner), owner_(owner) {}

bool SHFileOperation::MoveToTrash(const QString& path) {
    // Without the data folder Qt 6.4 builds its Trash path from nothing and moves the file
    // below the working directory instead.
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty() || !QDir().mkpath(dataHome)) return false;
    QString where;
    if (!QFile::moveToTrash(path, &where)) return false;
    if (InTrashFiles(where)) {
        EncodeTrashInfoPath(where, path);
        return true;
    }
    // It landed somewhere that is no Trash: put it back and report the failure.
    std::rename(QFile::encodeName(where).constData(), QFile::encodeName(path).constData());
    return false;
}

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
    const QString qpath = ToQString(path);
    const QString name = QFileInfo(qpath).fileName();
    if (Options & fofAllowUndo) {
        if (MoveToTrash(qpath)) return true;
        if (const QFileInfo info(qpath); !info.exists() && !info.isSymLink()) {
            ShowError(QStringLiteral("\"%1\" cannot be moved to the Trash: it no longer exists.")
                          .arg(name));
            return false;
        }
        // Never deleted in place of the Trash without the user's word, so not without a question.
        if (Options & fofNoConfirmation) {
            ShowError(QStringLiteral("\"%1\" cannot be moved to the Trash.").arg(name));
            return false;
        }
        if (!Confirm(QStringLiteral("\"%1\" cannot be moved to the Trash. Do you want to delete "
                                    "it permanently?")
                         .arg(name),
                     QStringLiteral("The Trash is not available on this volume. If you delete "
                                    "the file, it will be permanently lost.")))
            return false;
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
