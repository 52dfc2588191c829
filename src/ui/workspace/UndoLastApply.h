// "Undo Last Apply" and the recovery of an interrupted Apply at start: the questions and the
// summary around the core's journal and undo run.
#pragma once

#include "core/journal/JournalRecorder.h"
#include "core/journal/JournalStore.h"
#include "core/platform/Questions.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>

namespace velmora::ui {

class StatusBarSink;

class UndoLastApply {
public:
    // folder: the folder whose files were renamed back, ending in "/"; the window reloads its
    // lists when it is the listed one.
    using Reload = std::function<void(const std::string& folder)>;

    UndoLastApply(QWidget* window, platform::Questions& questions, StatusBarSink& status,
                  std::string journalDirectory = journal::JournalStore::DefaultDirectory());

    // Journals every Apply of the workspace it is given to.
    workspace::RenameRecorder& Recorder() { return recorder_; }
    // Whether there is a run to undo.
    bool Available() const { return store_.LastUndoable().has_value(); }

    // Asks about the last run that is not undone yet, renames its files back, reloads, and
    // shows how it went.
    void Execute(const Reload& reload);
    // Offers to undo each run that was cut off (the program killed, the power lost); Keep ends
    // its journal as it stands, so the menu can still undo it later.
    void RecoverInterrupted(const Reload& reload);

    static constexpr const char* kRecoveryText =
        "The last renaming in \"%s\" was interrupted after %d of %d files.";

private:
    void ReportDamaged(const std::vector<journal::JournalStore::Damaged>& damaged);
    // Renames back and marks the journal undone unless the user cancelled; then the summary.
    void RenameBack(const journal::JournalStore::Found& found, const Reload& reload);

    QPointer<QWidget> window_;
    platform::Questions& questions_;
    StatusBarSink& status_;
    journal::JournalStore store_;
    journal::JournalRecorder recorder_;
};

} // namespace velmora::ui
