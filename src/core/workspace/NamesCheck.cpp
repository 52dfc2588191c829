// The check of the new names against what Apply will meet.
//
// Apply renames in line order and never replaces a file, so line i renames its file exactly
// when no entry has its new name at that moment: no unlisted entry, no listed file that has not
// yet moved away (a file moves away when its own line renames it, earlier in the order), and no
// earlier line that renamed a file to it. A full check runs that order once, counting the
// entries of each name. After an edit only the names the edited line had or has are judged
// again, from their own entries; where that changes whether a file moves away, the name the file
// had is judged again too, and so on along a chain of renames.
#include "core/workspace/NamesCheck.h"

#include "core/platform/Error.h"
#include "core/workspace/NameLine.h"

#include <algorithm>
#include <dirent.h>
#include <optional>
#include <unordered_set>
#include <utility>

namespace velmora::workspace {

namespace {
bool IsProblem(NameState s) {
    return s == NameState::Duplicate || s == NameState::Taken || s == NameState::Invalid ||
           s == NameState::Misaligned;
}

std::string LinesWord(int n) {
    return std::to_string(n) + (n == 1 ? " line" : " lines");
}
} // namespace

void NamesCheck::LineSet::Insert(int line) {
    if (first < 0) {
        first = line;
    } else if (line < first) {
        rest.insert(rest.begin(), first);
        first = line;
    } else {
        rest.insert(std::lower_bound(rest.begin(), rest.end(), line), line);
    }
}

void NamesCheck::LineSet::Erase(int line) {
    if (line == first) {
        if (rest.empty()) {
            first = -1;
        } else {
            first = rest.front();
            rest.erase(rest.begin());
        }
        return;
    }
    auto it = std::lower_bound(rest.begin(), rest.end(), line);
    if (it != rest.end() && *it == line) rest.erase(it);
}

void NamesCheck::SetFolder(NamingRules rules, const std::vector<std::string>& entries,
                           const platform::StringList& left) {
    rules_ = rules;
    unlistedKeys_.clear();
    std::unordered_set<std::string> listed;
    listed.reserve(static_cast<std::size_t>(left.Count()));
    for (int i = 0; i < left.Count(); ++i)
        listed.insert(left.Get(i));
    for (const std::string& e : entries)
        if (e != "." && e != ".." && !listed.contains(e)) unlistedKeys_.push_back(rules_.Key(e));
}

void NamesCheck::ReadFolder(const std::string& listedDirectory, const platform::StringList& left) {
    std::vector<std::string> entries;
    if (DIR* d = ::opendir(listedDirectory.c_str())) {
        while (const dirent* e = ::readdir(d))
            entries.emplace_back(e->d_name);
        ::closedir(d);
    }
    SetFolder(NamingRules::ForFolder(listedDirectory), entries, left);
}

int NamesCheck::PaneLines(const platform::StringList& left, const platform::StringList& right) {
    // An emptied pane shows one empty line, and Apply takes it for one.
    return right.Count() == 0 && left.Count() > 0 ? 1 : right.Count();
}

std::string NamesCheck::LineText(const platform::StringList& left,
                                 const platform::StringList& right, int line) {
    return right.Count() == 0 && left.Count() > 0 ? std::string() : right.Get(line);
}

void NamesCheck::Clear(int files, int lines) {
    allRestated_ = true;
    restated_.clear();
    fileCount_ = files;
    lineCount_ = lines;
    misaligned_ = -1;
    keys_.clear();
    queue_.clear();
    touched_.clear();
    lines_.assign(static_cast<std::size_t>(lines), Line{});
    std::fill(std::begin(counts_), std::end(counts_), 0);
    counts_[static_cast<int>(NameState::Unchanged)] = lines;
}

NamesCheck::Key& NamesCheck::KeyOf(std::string name) {
    return *keys_.try_emplace(std::move(name)).first;
}

void NamesCheck::Classify(Line& line, std::string_view oldName, std::string_view text) {
    line.fault = NameFault::None;
    line.refused = 0;
    line.moves = nullptr;
    std::optional<std::string> newName = NameLine::NewName(oldName, text, excludeExt_);
    line.changed = newName.has_value();
    if (!newName) return;
    if (text.empty()) {
        line.fault = NameFault::Empty; // Apply puts no extension back on it
        return;
    }
    const NameRefusal refusal = rules_.Check(*newName);
    line.fault = refusal.fault;
    line.refused = refusal.refused;
    if (line.fault == NameFault::None) line.moves = &KeyOf(rules_.Key(std::move(*newName)));
}

void NamesCheck::SetState(int line, NameState state) {
    Line& l = lines_[static_cast<std::size_t>(line)];
    if (l.state == state) return;
    if (!allRestated_) restated_.push_back(line);
    --counts_[static_cast<int>(l.state)];
    ++counts_[static_cast<int>(state)];
    l.state = state;
}

void NamesCheck::Settle(int line) {
    const Line& l = lines_[static_cast<std::size_t>(line)];
    NameState s = NameState::Unchanged;
    if (!l.changed)
        s = NameState::Unchanged;
    else if (l.fault != NameFault::None)
        s = NameState::Invalid;
    else if (l.moves->second.movers.Size() > 1)
        s = NameState::Duplicate;
    else
        s = l.renames ? NameState::Changed : NameState::Taken;
    SetState(line, s);
}

void NamesCheck::Reset(const platform::StringList& left, const platform::StringList& right,
                       bool excludeExt) {
    excludeExt_ = excludeExt;
    const int files = left.Count();
    Clear(files, PaneLines(left, right));
    if (lineCount_ != files) {
        FindMisalignment(left, right);
        return;
    }
    for (const std::string& k : unlistedKeys_) {
        KeyInfo& info = KeyOf(k).second;
        ++info.unlisted;
        ++info.occupants;
    }
    for (int i = 0; i < files; ++i) {
        Line& l = lines_[static_cast<std::size_t>(i)];
        std::string oldName = left.Get(i);
        Classify(l, oldName, LineText(left, right, i));
        l.holds = &KeyOf(rules_.Key(std::move(oldName)));
        l.holds->second.holders.Insert(i);
        ++l.holds->second.occupants;
        if (l.moves) l.moves->second.movers.Insert(i);
    }
    // Apply's run: a line renames when nothing else has its new name at that moment.
    for (int i = 0; i < files; ++i) {
        Line& l = lines_[static_cast<std::size_t>(i)];
        if (l.moves) {
            const int others = l.moves->second.occupants - (l.moves == l.holds ? 1 : 0);
            l.renames = others == 0;
            if (l.renames) {
                --l.holds->second.occupants;
                ++l.moves->second.occupants;
            }
        }
        Settle(i);
    }
}

void NamesCheck::Enqueue(Key& key) {
    if (!key.second.queued) {
        key.second.queued = true;
        queue_.push_back(&key);
    }
    if (!key.second.touched) {
        key.second.touched = true;
        touched_.push_back(&key);
    }
}

void NamesCheck::Judge(Key& key) {
    const KeyInfo& info = key.second;
    int arrived = 0;
    for (int k = 0; k < info.movers.Size(); ++k) {
        const int t = info.movers.At(k);
        int others = info.unlisted + arrived;
        for (int h = 0; h < info.holders.Size(); ++h) {
            const int holder = info.holders.At(h);
            if (holder == t) continue;
            if (!(holder < t && lines_[static_cast<std::size_t>(holder)].renames)) ++others;
        }
        const bool renames = others == 0;
        if (renames) ++arrived;
        Line& l = lines_[static_cast<std::size_t>(t)];
        if (l.renames != renames) {
            l.renames = renames;
            // Whether the file leaves its name decides for the lines that want that name.
            Enqueue(*l.holds);
        }
        Settle(t);
    }
}

void NamesCheck::RecheckLine(const platform::StringList& left, const platform::StringList& right,
                             int line) {
    Line& l = lines_[static_cast<std::size_t>(line)];
    if (l.moves) {
        l.moves->second.movers.Erase(line);
        Enqueue(*l.moves);
    }
    // Where case counts the key of the file's name is the name itself: no copy of it needed.
    if (rules_.IgnoreCase())
        Classify(l, left.Get(line), LineText(left, right, line));
    else
        Classify(l, l.holds->first, LineText(left, right, line));
    if (l.moves) {
        l.moves->second.movers.Insert(line);
        Enqueue(*l.moves);
        return; // judged with its new name's movers
    }
    if (l.renames) {
        l.renames = false;
        Enqueue(*l.holds);
    }
    Settle(line);
}

void NamesCheck::Drain() {
    while (!queue_.empty()) {
        Key* key = queue_.back();
        queue_.pop_back();
        key->second.queued = false;
        Judge(*key);
    }
    for (Key* key : touched_) {
        KeyInfo& info = key->second;
        info.touched = false;
        if (info.unlisted == 0 && info.holders.Empty() && info.movers.Empty())
            keys_.erase(keys_.find(key->first));
    }
    touched_.clear();
}

void NamesCheck::Edited(const platform::StringList& left, const platform::StringList& right,
                        int first, int tail, int oldCount) {
    const int files = left.Count();
    const int end = right.Count() - tail;
    // Lines that still do not pair up with the files: only where they part may move.
    if (oldCount == right.Count() && lineCount_ != files && PaneLines(left, right) == lineCount_ &&
        files == fileCount_ && static_cast<int>(lines_.size()) == lineCount_) {
        for (int i = std::max(first, 0); i < end; ++i)
            RecheckPairs(left, right, i);
        PlaceMisalignment();
        return;
    }
    // A changed number of lines pairs every later line with another file: all anew. So does an
    // edit of most lines, which costs as much line by line.
    if (oldCount != right.Count() || lineCount_ != files || PaneLines(left, right) != files ||
        static_cast<int>(lines_.size()) != files || (end - first) * 2 > files) {
        Reset(left, right, excludeExt_);
        return;
    }
    for (int i = std::max(first, 0); i < end; ++i)
        RecheckLine(left, right, i);
    Drain();
}

// Lines were lost or added at one place: above it line i stands beside file i, below it the
// lines stand beside the files counted from the end. The place is where the most lines are
// found untouched beside their files that way; when two places do equally well (edited lines
// all around), it cannot be told. The places p: extra lines [p, p + gap) or missing files
// [p, p + gap) before line p. pairsAbove_[p]: line p is untouched beside file p;
// pairsBelow_[p]: the first line and file that pair from the end below place p do.
bool NamesCheck::PairsAbove(const platform::StringList& left, const platform::StringList& right,
                            int p) const {
    return p < std::min(lineCount_, fileCount_) &&
           !NameLine::NewName(left.Get(p), LineText(left, right, p), excludeExt_);
}

bool NamesCheck::PairsBelow(const platform::StringList& left, const platform::StringList& right,
                            int p) const {
    const int gap = std::abs(lineCount_ - fileCount_);
    const bool extra = lineCount_ > fileCount_;
    const int line = extra ? p + gap : p;
    const int file = extra ? p : p + gap;
    return line < lineCount_ && file < fileCount_ &&
           !NameLine::NewName(left.Get(file), LineText(left, right, line), excludeExt_);
}

void NamesCheck::FindMisalignment(const platform::StringList& left,
                                  const platform::StringList& right) {
    const int places = std::min(lineCount_, fileCount_) + 1;
    pairsAbove_.assign(static_cast<std::size_t>(places), 0);
    pairsBelow_.assign(static_cast<std::size_t>(places), 0);
    for (int p = 0; p < places; ++p) {
        pairsAbove_[static_cast<std::size_t>(p)] = PairsAbove(left, right, p);
        pairsBelow_[static_cast<std::size_t>(p)] = PairsBelow(left, right, p);
    }
    PlaceMisalignment();
}

void NamesCheck::RecheckPairs(const platform::StringList& left, const platform::StringList& right,
                              int line) {
    const int places = static_cast<int>(pairsAbove_.size());
    if (line < places) pairsAbove_[static_cast<std::size_t>(line)] = PairsAbove(left, right, line);
    const int p = lineCount_ > fileCount_ ? line - (lineCount_ - fileCount_) : line;
    if (p >= 0 && p < places) pairsBelow_[static_cast<std::size_t>(p)] = PairsBelow(left, right, p);
}

void NamesCheck::PlaceMisalignment() {
    if (misaligned_ >= 0) SetState(misaligned_, NameState::Unchanged);
    misaligned_ = -1;
    if (lineCount_ == 0) return;
    const int places = static_cast<int>(pairsAbove_.size());
    int below = 0;
    for (const char pairs : pairsBelow_)
        below += pairs;
    int above = 0, best = -1, bestScore = 0;
    bool tie = false;
    for (int p = 0; p < places; ++p) {
        const int score = above + below;
        if (score > bestScore) {
            best = p;
            bestScore = score;
            tie = false;
        } else if (score == bestScore) {
            tie = true;
        }
        above += pairsAbove_[static_cast<std::size_t>(p)];
        below -= pairsBelow_[static_cast<std::size_t>(p)];
    }
    if (best < 0 || tie) return;
    misaligned_ = std::min(best, lineCount_ - 1);
    SetState(misaligned_, NameState::Misaligned);
}

bool NamesCheck::TakeRestated(std::vector<int>& lines) {
    lines.swap(restated_);
    restated_.clear();
    return std::exchange(allRestated_, false);
}

NameState NamesCheck::State(int line) const {
    if (line < 0 || line >= static_cast<int>(lines_.size())) return NameState::Unchanged;
    return lines_[static_cast<std::size_t>(line)].state;
}

bool NamesCheck::Renames(int line) const {
    return State(line) != NameState::Misaligned && line >= 0 &&
           line < static_cast<int>(lines_.size()) && lines_[static_cast<std::size_t>(line)].renames;
}

bool NamesCheck::Problem(int line) const {
    return IsProblem(State(line));
}

std::string NamesCheck::Summary() const {
    if (lineCount_ != fileCount_)
        return "Lines: " + std::to_string(lineCount_) + " of " + std::to_string(fileCount_);
    std::string text;
    const auto add = [&text](int n, const std::string& words) {
        if (n == 0) return;
        if (!text.empty()) text += ", ";
        text += std::to_string(n) + " " + words;
    };
    add(Count(NameState::Changed), "to rename");
    const int dup = Count(NameState::Duplicate);
    add(dup, dup == 1 ? "duplicate" : "duplicates");
    add(Count(NameState::Taken), "taken");
    add(Count(NameState::Invalid), "invalid");
    return text.empty() ? "No changes" : text;
}

std::string NamesCheck::Describe(int line, const platform::StringList& left,
                                 const platform::StringList& right) const {
    const NameState state = State(line);
    if (state == NameState::Unchanged) return {};
    if (state == NameState::Misaligned) {
        const int diff = lineCount_ - fileCount_;
        return "The lines stop matching the files here: " + LinesWord(std::abs(diff)) +
               (diff > 0 ? " too many" : " too few");
    }
    const Line& l = lines_[static_cast<std::size_t>(line)];
    const std::string oldName = left.Get(line);
    const std::string text = LineText(left, right, line);
    const std::string newName = NameLine::NewName(oldName, text, excludeExt_).value_or(oldName);
    const auto quoted = [](const std::string& s) { return "\"" + s + "\""; };
    switch (state) {
    case NameState::Changed:
        return "Renames " + quoted(oldName) + " to " + quoted(newName);
    case NameState::Duplicate: {
        const LineSet& movers = l.moves->second.movers;
        const int other = movers.At(0) == line ? movers.At(1) : movers.At(0);
        return "Also the new name of line " + std::to_string(other + 1);
    }
    case NameState::Taken: {
        std::string why = "A file named " + quoted(newName) + " already exists";
        const LineSet& holders = l.moves->second.holders;
        for (int k = 0; k < holders.Size(); ++k) {
            const int h = holders.At(k);
            if (h > line && lines_[static_cast<std::size_t>(h)].renames)
                return why + "; line " + std::to_string(h + 1) + " renames it only later";
        }
        return why;
    }
    default:
        break;
    }
    switch (l.fault) {
    case NameFault::Empty:
        return "An empty line is no file name";
    case NameFault::DotName:
        return quoted(newName) + " names a folder, not a file";
    case NameFault::Slash:
        return "A \"/\" would move the file into another folder";
    case NameFault::TooLong:
        return "Longer than 255 bytes";
    case NameFault::RefusedChar:
        return std::string("FAT volumes refuse '") + l.refused + "' in names";
    case NameFault::ControlChar:
        return "FAT volumes refuse control characters in names";
    case NameFault::TrailingDot:
        return "FAT volumes refuse a dot at the end of a name";
    case NameFault::TrailingBlank:
        return "FAT volumes refuse a blank at the end of a name";
    case NameFault::None:
        break;
    }
    return {};
}

int NamesCheck::NextProblem(int from, bool backwards) const {
    const int n = static_cast<int>(lines_.size());
    if (n == 0) return -1;
    from = std::clamp(from, -1, n);
    for (int step = 1; step <= n; ++step) {
        const int i = ((backwards ? from - step : from + step) % n + n) % n;
        if (IsProblem(lines_[static_cast<std::size_t>(i)].state)) return i;
    }
    return -1;
}

} // namespace velmora::workspace
