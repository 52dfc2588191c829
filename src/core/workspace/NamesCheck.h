// What Apply will do with each line of the names pane, known before it runs: which lines
// rename their file, which meet a name another line or another file has, which name a file
// cannot have, and whether the lines still pair up with the files. Follows edits line by line.
#pragma once

#include "core/platform/StringList.h"
#include "core/workspace/NamingRules.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace velmora::workspace {

enum class NameState : std::uint8_t {
    Unchanged,
    Changed,   // will be renamed
    Duplicate, // another line gives its file the same name
    Taken,     // a file has the name when Apply comes to the line
    Invalid,   // the volume cannot give the file this name
    Misaligned // the lines stop pairing up with the files here
};

class NamesCheck {
public:
    // The listed folder: its naming rules and the names of all its entries (folders and
    // unlisted files included), read after the lists were loaded.
    void SetFolder(NamingRules rules, const std::vector<std::string>& entries,
                   const platform::StringList& left);
    // Reads the listed folder's entries and rules from the file system.
    void ReadFolder(const std::string& listedDirectory, const platform::StringList& left);

    // Checks every line anew: left holds the listed files, right the pane's lines.
    void Reset(const platform::StringList& left, const platform::StringList& right,
               bool excludeExt);
    // Lines [first, right.Count() - tail) of right replaced the lines [first, oldCount - tail)
    // it had at the last check; left is as it was.
    void Edited(const platform::StringList& left, const platform::StringList& right, int first,
                int tail, int oldCount);

    int Lines() const { return lineCount_; }
    int Files() const { return fileCount_; }
    NameState State(int line) const;
    int Count(NameState state) const { return counts_[static_cast<int>(state)]; }
    bool CountsDiffer() const { return lineCount_ != fileCount_; }
    bool Problem(int line) const;
    // Whether Apply will rename the line's file, skipping every name it finds taken.
    bool Renames(int line) const;

    // "12 to rename, 2 duplicates, 1 taken", "No changes", or "Lines: 9 of 10".
    std::string Summary() const;
    // Why the line is marked; empty for an unchanged line.
    std::string Describe(int line, const platform::StringList& left,
                         const platform::StringList& right) const;
    // The lines whose state changed since the last call, so that a view repaints just their
    // marks; true when every line may have changed (a check from scratch).
    bool TakeRestated(std::vector<int>& lines);
    // The next (previous) line after (before) from with a problem, wrapping round; -1 for none.
    int NextProblem(int from, bool backwards) const;

private:
    struct LineSet { // ascending line numbers; nearly always one
        int first = -1;
        std::vector<int> rest;
        bool Empty() const { return first < 0; }
        int Size() const { return first < 0 ? 0 : 1 + static_cast<int>(rest.size()); }
        int At(int k) const { return k == 0 ? first : rest[static_cast<std::size_t>(k - 1)]; }
        void Insert(int line);
        void Erase(int line);
    };
    struct KeyInfo {
        int unlisted = 0;  // entries not in the list that have this name
        LineSet holders;   // listed files that have this name now
        LineSet movers;    // lines that rename a file to this name
        int occupants = 0; // during a full check: entries that have the name at this point
        bool queued = false;
        bool touched = false;
    };
    using KeyMap = std::unordered_map<std::string, KeyInfo>;
    using Key = KeyMap::value_type;
    struct Line {
        Key* holds = nullptr; // the file's current name
        Key* moves = nullptr; // the new name, when the line renames its file to a valid name
        NameFault fault = NameFault::None;
        char refused = 0;
        bool changed = false; // the line asks for another name
        bool renames = false; // Apply will rename the file
        NameState state = NameState::Unchanged;
    };

    void Clear(int files, int lines);
    static int PaneLines(const platform::StringList& left, const platform::StringList& right);
    static std::string LineText(const platform::StringList& left, const platform::StringList& right,
                                int line);
    // Fills the line's changed flag, fault and new-name key.
    void Classify(Line& line, std::string_view oldName, std::string_view text);
    Key& KeyOf(std::string name);
    void SetState(int line, NameState state);
    void Settle(int line); // the state that follows from the line's fields
    void Judge(Key& key);  // who of the key's movers gets the name, in line order
    void FindMisalignment(const platform::StringList& left, const platform::StringList& right);
    bool PairsAbove(const platform::StringList& left, const platform::StringList& right,
                    int place) const;
    bool PairsBelow(const platform::StringList& left, const platform::StringList& right,
                    int place) const;
    void RecheckPairs(const platform::StringList& left, const platform::StringList& right,
                      int line);
    void PlaceMisalignment();
    void RecheckLine(const platform::StringList& left, const platform::StringList& right, int line);
    void Enqueue(Key& key);
    void Drain();

    NamingRules rules_;
    std::vector<std::string> unlistedKeys_;
    bool excludeExt_ = false;
    int fileCount_ = 0;
    int lineCount_ = 0;
    int misaligned_ = -1;
    KeyMap keys_;
    std::vector<Line> lines_;
    std::vector<Key*> queue_;
    std::vector<Key*> touched_;
    int counts_[6] = {};
    std::vector<int> restated_;
    bool allRestated_ = true;
    // While the counts differ: which lines pair up with their files from the top and the end.
    std::vector<char> pairsAbove_, pairsBelow_;
};

} // namespace velmora::workspace
