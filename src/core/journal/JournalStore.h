// The folder of rename journals: one file per Apply, newest last by name.
#pragma once

#include "core/journal/JournalFormat.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora::journal {

// A journal being written by this process's Apply. It holds an exclusive lock on its file for
// as long as it lives, so that no other process takes the run for an interrupted one.
class OpenJournal {
public:
    OpenJournal(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}
    ~OpenJournal();
    OpenJournal(const OpenJournal&) = delete;
    OpenJournal& operator=(const OpenJournal&) = delete;

    const std::string& Path() const { return path_; }
    // Appends the end marker and makes it durable; raises EWriteError.
    void End(std::uint64_t renamed);

private:
    std::string path_;
    int fd_;
};

class JournalStore {
public:
    // How many journals stay after a new one is written: the newest, so that undo can walk back.
    static constexpr std::size_t kKeep = 20;
    static constexpr const char* kSuffix = ".journal";
    // A journal that cannot be read is renamed to its name plus this, so it is reported once.
    static constexpr const char* kDamagedSuffix = ".damaged";

    explicit JournalStore(std::string directory) : directory_(std::move(directory)) {}
    // $XDG_STATE_HOME/velmora/journal, or ~/.local/state/velmora/journal without it.
    static std::string DefaultDirectory();
    const std::string& Directory() const { return directory_; }

    // Writes the plan to a new journal and makes it durable (file and folder synced) before it
    // returns; then drops the oldest journals beyond kKeep. Raises EWriteError.
    std::unique_ptr<OpenJournal> Begin(const JournalPlan& plan);
    // The same for a plan already encoded (JournalFormat::PlanEncoder).
    std::unique_ptr<OpenJournal> BeginEncoded(const std::string& bytes);

    struct Found {
        std::string path;
        ParsedJournal journal;
    };
    // A journal that was refused: its path, the reason and where it was set aside.
    struct Damaged {
        std::string path;
        std::string problem;
        std::string setAside;
    };

    // The newest journal that may be undone: intact, not undone yet, and not still being
    // written by a running Apply. Damaged journals met on the way are set aside and listed in
    // damaged when it is given; without it they are only passed over.
    std::optional<Found> LastUndoable(std::vector<Damaged>* damaged = nullptr) const;
    // Journals whose run never reached its end marker and whose writer is gone, newest first.
    std::vector<Found> Interrupted(std::vector<Damaged>* damaged = nullptr) const;

    // Appends a marker to a journal and makes it durable; raises EWriteError.
    static void Mark(const std::string& path, JournalFormat::Marker marker, std::uint64_t value);

    // The journal files, oldest first (names sort by creation time).
    std::vector<std::string> List() const;

private:
    // Reads and checks one journal; false when another process writes it now.
    bool Read(const std::string& path, ParsedJournal& out) const;
    Damaged SetAside(const std::string& path, const std::string& problem) const;
    void Prune() const;

    std::string directory_;
};

} // namespace velmora::journal
