// Undo Last Apply and start-up recovery.
#include "ui/workspace/UndoLastApply.h"

#include "core/journal/UndoRun.h"
#include "core/platform/Error.h"
#include "core/workspace/NameLine.h"
#include "ui/platform/QtText.h"
#include "ui/workspace/StatusBarSink.h"

#include <QMessageBox>
#include <QPushButton>

namespace velmora::ui {

namespace {

// The folder as the user knows it: without the trailing "/", except for the root.
std::string Shown(const std::string& folder) {
    if (folder.size() > 1 && folder.back() == '/') return folder.substr(0, folder.size() - 1);
    return folder;
}

} // namespace

UndoLastApply::UndoLastApply(QWidget* window, platform::Questions& questions, StatusBarSink& status,
                             std::string journalDirectory)
    : window_(window), questions_(questions), status_(status), store_(std::move(journalDirectory)),
      recorder_(store_, questions) {}

void UndoLastApply::ReportDamaged(const std::vector<journal::JournalStore::Damaged>& damaged) {
    for (const auto& d : damaged) {
        std::string text = platform::Format(
            "The rename journal \"%s\" cannot be used: %s.\nNothing was renamed from it.",
            {d.path, d.problem});
        if (!d.setAside.empty())
            text += platform::Format("\nIt was set aside as \"%s\".", {d.setAside});
        questions_.Ask(platform::MsgIcon::Warning, text, platform::mbOK);
    }
}

void UndoLastApply::Execute(const Reload& reload) {
    std::vector<journal::JournalStore::Damaged> damaged;
    const auto found = store_.LastUndoable(&damaged);
    ReportDamaged(damaged);
    if (!found) {
        questions_.Ask(platform::MsgIcon::Information, "There is no renaming to undo.",
                       platform::mbOK);
        return;
    }
    const journal::JournalPlan& plan = found->journal.plan;
    QMessageBox box(
        QMessageBox::Question, QStringLiteral("Velmora"),
        ToQString(platform::Format(
            "Undo the renaming of %d files in \"%s\"?",
            {static_cast<std::int64_t>(journal::UndoRun::CountRenamed(plan)), Shown(plan.folder)})),
        QMessageBox::Yes | QMessageBox::No, window_);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    if (box.exec() != QMessageBox::Yes) return;
    RenameBack(*found, reload);
}

void UndoLastApply::RecoverInterrupted(const Reload& reload) {
    std::vector<journal::JournalStore::Damaged> damaged;
    const auto interrupted = store_.Interrupted(&damaged);
    ReportDamaged(damaged);
    for (const auto& found : interrupted) {
        const journal::JournalPlan& plan = found.journal.plan;
        const int done = journal::UndoRun::CountRenamed(plan);
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Velmora"),
                        ToQString(platform::Format(
                            kRecoveryText, {Shown(plan.folder), static_cast<std::int64_t>(done),
                                            static_cast<std::int64_t>(plan.entries.size())})),
                        QMessageBox::NoButton, window_);
        QPushButton* undo = box.addButton(QStringLiteral("Undo"), QMessageBox::AcceptRole);
        QPushButton* keep = box.addButton(QStringLiteral("Keep"), QMessageBox::RejectRole);
        box.setDefaultButton(keep);
        box.setEscapeButton(keep);
        box.exec();
        // The run is over either way: its journal gets the end marker it never received.
        journal::JournalStore::Mark(found.path, journal::JournalFormat::Marker::End,
                                    static_cast<std::uint64_t>(done));
        if (box.clickedButton() == undo) RenameBack(found, reload);
    }
}

void UndoLastApply::RenameBack(const journal::JournalStore::Found& found, const Reload& reload) {
    const journal::JournalPlan& plan = found.journal.plan;
    journal::UndoRun run(questions_, status_);
    const journal::UndoRun::Outcome out = run.Run(plan);
    status_.Flush();
    // A run cut short by Cancel stays undoable: a later undo takes up the files left.
    if (!out.cancelled)
        journal::JournalStore::Mark(found.path, journal::JournalFormat::Marker::Undone,
                                    static_cast<std::uint64_t>(out.renamedBack));
    if (reload) reload(plan.folder);

    QMessageBox box(QMessageBox::Information, QStringLiteral("Velmora"),
                    ToQString(platform::Format("%d files renamed back, %d skipped.",
                                               {static_cast<std::int64_t>(out.renamedBack),
                                                static_cast<std::int64_t>(out.skipped.size())})),
                    QMessageBox::Ok, window_);
    if (!out.skipped.empty()) {
        QString details;
        for (const std::string& name : out.skipped) {
            if (!details.isEmpty()) details += QLatin1Char('\n');
            // A line break in a name shows as the symbol the names pane uses for it.
            details += ToQString(workspace::NameLine::Of(name, false));
        }
        box.setDetailedText(details);
    }
    box.exec();
}

} // namespace velmora::ui
