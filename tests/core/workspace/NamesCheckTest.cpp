// The check of the new names: every kind of line against tables, the edit-by-edit result
// against a check from scratch, and the predicted renames against a real Apply.
#include "core/workspace/NamesCheck.h"

#include "core/editor/CustomTextEditor.h"
#include "core/workspace/NameLine.h"
#include "core/workspace/RenameRun.h"
#include "support/FuseVolume.h"
#include "support/ScriptedQuestions.h"
#include "support/TempDir.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>

using namespace velmora;
using workspace::NamesCheck;
using workspace::NameState;
using workspace::NamingRules;

namespace {

using Names = std::vector<std::string>;
using States = std::vector<NameState>;
constexpr NameState U = NameState::Unchanged, C = NameState::Changed, D = NameState::Duplicate,
                    T = NameState::Taken, I = NameState::Invalid, M = NameState::Misaligned;

platform::StringList List(const Names& names) {
    platform::StringList l;
    for (const auto& n : names)
        l.Add(n);
    return l;
}

struct Checked {
    platform::StringList left, right;
    NamesCheck check;
    States states;
    Checked(const Names& files, const Names& lines, bool excludeExt = false, NamingRules rules = {},
            Names others = {})
        : left(List(files)), right(List(lines)) {
        Names entries = files;
        entries.insert(entries.end(), others.begin(), others.end());
        check.SetFolder(rules, entries, left);
        check.Reset(left, right, excludeExt);
        for (int i = 0; i < check.Lines(); ++i)
            states.push_back(check.State(i));
    }
    std::string Why(int line) const { return check.Describe(line, left, right); }
};

const NamingRules kFat{true, true};

TEST(NamesCheck, ClassifiesRenamesInLineOrderAsApplyMeetsThem) {
    struct Case {
        const char* what;
        Names files, lines;
        States expected;
        const char* summary;
        Names others = {};
    };
    const Case cases[] = {
        {"untouched", {"a.mp3", "b.mp3"}, {"a.mp3", "b.mp3"}, {U, U}, "No changes"},
        {"renamed", {"a.mp3", "b.mp3"}, {"c.mp3", "b.mp3"}, {C, U}, "1 to rename"},
        {"same new name twice",
         {"a", "b", "c"},
         {"x", "x", "y"},
         {D, D, C},
         "1 to rename, 2 duplicates"},
        {"name of an unlisted entry", {"a.mp3"}, {"cover.jpg"}, {T}, "1 taken", {"cover.jpg"}},
        {"name of a file that stays", {"a", "b"}, {"b", "b"}, {T, U}, "1 taken"},
        {"chain in a good order", {"b", "a"}, {"c", "b"}, {C, C}, "2 to rename"},
        {"chain in a bad order", {"a", "b"}, {"b", "c"}, {T, C}, "1 to rename, 1 taken"},
        {"long chain backwards",
         {"a", "b", "c", "d"},
         {"b", "c", "d", "e"},
         {T, T, T, C},
         "1 to rename, 3 taken"},
        {"swap", {"a", "b"}, {"b", "a"}, {T, T}, "2 taken"},
        {"taken after a skipped line", {"b", "a", "c"}, {"c", "b", "c"}, {T, T, U}, "2 taken"},
        {"case differs on a case-sensitive volume", {"a", "B"}, {"b", "B"}, {C, U}, "1 to rename"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Checked k(c.files, c.lines, false, {}, c.others);
        EXPECT_EQ(k.states, c.expected);
        EXPECT_EQ(k.check.Summary(), c.summary);
    }
}

TEST(NamesCheck, SaysWhyInTheTooltipWords) {
    Checked dup({"a", "b", "c"}, {"x", "y", "x"});
    EXPECT_EQ(dup.Why(0), "Also the new name of line 3");
    EXPECT_EQ(dup.Why(2), "Also the new name of line 1");
    EXPECT_EQ(dup.Why(1), "Renames \"b\" to \"y\"");
    EXPECT_EQ(dup.Why(3), "");

    Checked taken({"a.mp3"}, {"x.mp3"}, false, {}, {"x.mp3"});
    EXPECT_EQ(taken.Why(0), "A file named \"x.mp3\" already exists");
    Checked later({"a", "b"}, {"b", "c"});
    EXPECT_EQ(later.Why(0), "A file named \"b\" already exists; line 2 renames it only later");
    Checked unchanged({"a"}, {"a"});
    EXPECT_EQ(unchanged.Why(0), "");
}

TEST(NamesCheck, PutsTheExtensionBackAsApplyDoes) {
    Checked k({"intro.mp3", "song.live.mp3", "README", "b.mp3"},
              {"01 - Intro", "song.live", "README", "song.live"}, true);
    EXPECT_EQ(k.states, (States{C, U, U, T}));
    EXPECT_EQ(k.Why(0), "Renames \"intro.mp3\" to \"01 - Intro.mp3\"");
    EXPECT_EQ(k.Why(3), "A file named \"song.live.mp3\" already exists");
    // With extensions shown the same lines name other files.
    Checked shown({"intro.mp3"}, {"intro"}, false);
    EXPECT_EQ(shown.states, (States{C}));
}

TEST(NamesCheck, ComparesAsACaseInsensitiveVolumeDoes) {
    // A change of case alone renames; another file's name in other case is taken.
    Checked k({"song.mp3", "a.mp3", "B.mp3"}, {"Song.mp3", "b.mp3", "B.mp3"}, false, kFat);
    EXPECT_EQ(k.states, (States{C, T, U}));
    EXPECT_EQ(k.Why(1), "A file named \"b.mp3\" already exists");
    // Two lines that differ in case only name one file there, two files elsewhere.
    Checked fat({"a", "b"}, {"X", "x"}, false, kFat);
    EXPECT_EQ(fat.states, (States{D, D}));
    Checked ext4({"a", "b"}, {"X", "x"});
    EXPECT_EQ(ext4.states, (States{C, C}));
    // Beyond ASCII too: the folded names meet.
    Checked umlaut({"a", "b"}, {"Äpfel", "äpfel"}, false, kFat);
    EXPECT_EQ(umlaut.states, (States{D, D}));
    // An unlisted entry in another case holds the name.
    Checked cover({"a.mp3"}, {"cover.jpg"}, false, kFat, {"Cover.JPG"});
    EXPECT_EQ(cover.states, (States{T}));
}

TEST(NamesCheck, RefusesNamesTheVolumeCannotHold) {
    struct Case {
        std::string line;
        NamingRules rules;
        NameState state;
        const char* why;
    };
    const Case cases[] = {
        {"", {}, I, "An empty line is no file name"},
        {"..", {}, I, "\"..\" names a folder, not a file"},
        {"sub/a.mp3", {}, I, "A \"/\" would move the file into another folder"},
        {std::string(256, 'x'), {}, I, "Longer than 255 bytes"},
        {std::string(255, 'x'), {}, C, nullptr},
        {"a:b.mp3", kFat, I, "FAT volumes refuse ':' in names"},
        {"a?b.mp3", kFat, I, "FAT volumes refuse '?' in names"},
        {"a\\b.mp3", kFat, I, "FAT volumes refuse '\\' in names"},
        {"a\x01"
         "b",
         kFat, I, "FAT volumes refuse control characters in names"},
        {"name.", kFat, I, "FAT volumes refuse a dot at the end of a name"},
        {"name ", kFat, I, "FAT volumes refuse a blank at the end of a name"},
        {"a:b.mp3", {}, C, nullptr},
        {"name ", {}, C, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Checked k({"old.mp3"}, {c.line}, false, c.rules);
        EXPECT_EQ(k.states, (States{c.state}));
        if (c.why) {
            EXPECT_EQ(k.Why(0), c.why);
        }
    }
    Checked hidden({"old.mp3"}, {""}, true);
    EXPECT_EQ(hidden.states, (States{I}));
    // Apply puts no extension back on an empty line: it is no name at all, not ".mp3".
    EXPECT_EQ(hidden.Why(0), "An empty line is no file name");
    EXPECT_EQ(hidden.check.Summary(), "1 invalid");
}

TEST(NamesCheck, TellsWhereTheLinesStopMatchingTheFiles) {
    Checked lost({"a", "b", "c", "d"}, {"a", "c", "d"});
    EXPECT_EQ(lost.states, (States{U, M, U}));
    EXPECT_EQ(lost.check.Summary(), "Lines: 3 of 4");
    EXPECT_EQ(lost.Why(1), "The lines stop matching the files here: 1 line too few");

    Checked extra({"a", "b", "c"}, {"a", "x", "y", "b", "c"});
    EXPECT_EQ(extra.states, (States{U, M, U, U, U}));
    EXPECT_EQ(extra.Why(1), "The lines stop matching the files here: 2 lines too many");

    // Edited lines above and below the gap hide where it is.
    Checked unknown({"a", "b", "c", "d"}, {"x", "c", "y"});
    EXPECT_EQ(unknown.states, (States{U, U, U}));
    EXPECT_EQ(unknown.check.Summary(), "Lines: 3 of 4");

    // A pane emptied by the user shows one empty line.
    Checked emptied({"a", "b"}, {});
    EXPECT_EQ(emptied.check.Summary(), "Lines: 1 of 2");
    Checked one({"a"}, {});
    EXPECT_EQ(one.states, (States{I}));
}

TEST(NamesCheck, KeepsNamesAsBytes) {
    // Bytes that are no UTF-8 and a line break in a name: an untouched line stays unchanged.
    Checked k({"caf\xE9.mp3", "two\nlines.mp3"}, {"caf\xE9.mp3", "two\xE2\x90\x8Alines.mp3"});
    EXPECT_EQ(k.states, (States{U, U}));
    Checked renamed({"caf\xE9.mp3"}, {"caf\xC3\xA9.mp3"});
    EXPECT_EQ(renamed.states, (States{C}));
}

TEST(NamesCheck, StepsToProblemLinesRoundTheEnd) {
    Checked k({"a", "b", "c", "d", "e"}, {"x", "b", "x", "z", ""});
    EXPECT_EQ(k.check.NextProblem(-1, false), 0);
    EXPECT_EQ(k.check.NextProblem(0, false), 2);
    EXPECT_EQ(k.check.NextProblem(2, false), 4);
    EXPECT_EQ(k.check.NextProblem(4, false), 0);
    EXPECT_EQ(k.check.NextProblem(0, true), 4);
    EXPECT_EQ(k.check.NextProblem(3, true), 2);
    Checked clean({"a"}, {"b"});
    EXPECT_EQ(clean.check.NextProblem(0, false), -1);
}

TEST(NamingRules, FollowsTheFileSystemType) {
    for (const char* type :
         {"vfat", "exfat", "ntfs3", "fuseblk", "fuse.exfat", "fuse.fusefat", "msdos"}) {
        SCOPED_TRACE(type);
        const NamingRules r = NamingRules::ForType(type);
        EXPECT_TRUE(r.IgnoreCase());
        EXPECT_TRUE(r.FatNames());
    }
    for (const char* type : {"ext4", "btrfs", "tmpfs", "xfs", "fuse.sshfs", "nfs4"}) {
        SCOPED_TRACE(type);
        EXPECT_FALSE(NamingRules::ForType(type).IgnoreCase());
        EXPECT_FALSE(NamingRules::ForType(type).FatNames());
    }
    EXPECT_EQ(kFat.Key("Ärger ABC.MP3"), "ärger abc.mp3");
    EXPECT_EQ(NamingRules().Key("Ärger.MP3"), "Ärger.MP3");
}

TEST(NamesCheck, ReadsTheRealFolder) {
    test::TempDir dir;
    dir.Write("a.mp3");
    dir.Write("b.mp3");
    dir.Write(".hidden.mp3");
    std::filesystem::create_directory(dir / "sub.mp3");
    // The temporary folder's volume tells case apart.
    EXPECT_FALSE(NamingRules::ForFolder(dir.Path()).IgnoreCase());
    platform::StringList left = List({"a.mp3", "b.mp3"});
    platform::StringList right = List({"sub.mp3", ".hidden.mp3"});
    NamesCheck check;
    check.ReadFolder(dir.Slash(), left);
    check.Reset(left, right, false);
    EXPECT_EQ(check.State(0), T); // a folder has the name
    EXPECT_EQ(check.State(1), T); // so has a hidden file
    right.Put(1, "A.mp3");
    check.Reset(left, right, false);
    EXPECT_EQ(check.State(1), C);
}

// Random names from a small set, so that lines meet each other's names often.
std::string RandomName(std::mt19937& rng) {
    static const char* const kNames[] = {"a", "b", "c", "d", "e", "A", "B", "f", "g", "x"};
    std::uniform_int_distribution<int> pick(0, 9);
    std::uniform_int_distribution<int> odd(0, 30);
    std::string n = kNames[pick(rng)];
    if (odd(rng) == 0) n = "";
    if (odd(rng) == 1) n += ":";
    return n + ".mp3";
}

void ExpectSameAsFresh(const NamesCheck& edited, const platform::StringList& left,
                       const platform::StringList& right, bool excludeExt, NamingRules rules,
                       const Names& entries, int step) {
    NamesCheck fresh;
    fresh.SetFolder(rules, entries, left);
    fresh.Reset(left, right, excludeExt);
    ASSERT_EQ(edited.Lines(), fresh.Lines()) << "step " << step;
    for (int i = 0; i < fresh.Lines(); ++i) {
        ASSERT_EQ(edited.State(i), fresh.State(i)) << "step " << step << " line " << i;
        ASSERT_EQ(edited.Renames(i), fresh.Renames(i)) << "step " << step << " line " << i;
        ASSERT_EQ(edited.Describe(i, left, right), fresh.Describe(i, left, right));
    }
    ASSERT_EQ(edited.Summary(), fresh.Summary()) << "step " << step;
}

TEST(NamesCheck, EditByEditEqualsACheckFromScratch) {
    std::mt19937 rng(19);
    for (int round = 0; round < 60; ++round) {
        const NamingRules rules = round % 2 ? kFat : NamingRules();
        const bool excludeExt = round % 3 == 0;
        const int n = 2 + static_cast<int>(rng() % 24);
        // Distinct listed names as the folder has them, plus an unlisted one.
        std::set<std::string> keys;
        Names files;
        for (int i = 0; files.size() < static_cast<std::size_t>(n) && i < 400; ++i) {
            std::string name = "f" + std::to_string(rng() % 40) + RandomName(rng);
            if (keys.insert(rules.Key(name)).second) files.push_back(name);
        }
        Names entries = files;
        entries.push_back("c.mp3");
        platform::StringList left = List(files);
        editor::CustomTextEditor ed;
        for (const auto& f : files)
            ed.Lines().Add(excludeExt ? f.substr(0, f.size() - 4) : f);
        NamesCheck check;
        check.SetFolder(rules, entries, left);
        check.Reset(left, ed.Lines(), excludeExt);
        ed.Lines().TakeEdits();
        for (int step = 0; step < 80; ++step) {
            auto& lines = ed.Lines();
            const int count = lines.Count();
            const int at = count ? static_cast<int>(rng() % static_cast<unsigned>(count)) : 0;
            const unsigned kind = rng() % 20;
            std::string name = RandomName(rng);
            if (excludeExt && name.size() > 4 && rng() % 2) name.resize(name.size() - 4);
            if (kind < 14 && count > 0) {
                lines.Put(at, name); // a typed line
            } else if (kind < 16 && count > 0) {
                // The text of several lines replaced by as many lines, as Replace All does.
                const int span = std::min(3, count - at);
                std::u32string text;
                for (int k = 0; k < span; ++k)
                    text += U"x" + std::u32string(1, char32_t(U'a' + rng() % 4)) + U".mp3\r\n";
                lines.ReplaceText(lines.ParagraphStart(at),
                                  lines.ParagraphStart(at + span) - lines.ParagraphStart(at), text);
            } else if (kind < 18) {
                lines.Insert(at, name); // one line too many, then taken out again
                const auto span = lines.TakeEdits();
                check.Edited(left, lines, span.First, span.Tail, span.OldCount);
                ExpectSameAsFresh(check, left, lines, excludeExt, rules, entries, step);
                lines.Delete(static_cast<int>(rng() % static_cast<unsigned>(lines.Count())));
            } else if (count > 1) {
                lines.Delete(at);
            }
            const auto span = lines.TakeEdits();
            if (span.Changed) check.Edited(left, lines, span.First, span.Tail, span.OldCount);
            ExpectSameAsFresh(check, left, lines, excludeExt, rules, entries, step);
        }
    }
}

std::set<std::string> Listing(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        names.insert(e.path().filename().string());
    return names;
}

TEST(NamesCheck, PredictsWhatApplyRenames) {
    std::mt19937 rng(7);
    for (int round = 0; round < 40; ++round) {
        test::TempDir dir;
        Names files;
        std::set<std::string> seen;
        while (files.size() < 6) {
            std::string name = std::string(1, char('a' + rng() % 8)) + ".mp3";
            if (seen.insert(name).second) files.push_back(name);
        }
        for (const auto& f : files)
            dir.Write(f);
        dir.Write("h.mp3"); // not listed
        platform::StringList left = List(files);
        platform::StringList right;
        for (std::size_t i = 0; i < files.size(); ++i)
            right.Add(rng() % 3 ? std::string(1, char('a' + rng() % 8)) + ".mp3" : files[i]);
        NamesCheck check;
        check.ReadFolder(dir.Slash(), left);
        check.Reset(left, right, false);

        // What the check expects: the listing after the renames it predicts, in line order.
        std::set<std::string> expected = Listing(dir.Path());
        for (int i = 0; i < left.Count(); ++i) {
            if (!check.Renames(i)) continue;
            ASSERT_EQ(expected.erase(left.Get(i)), 1u);
            ASSERT_TRUE(expected.insert(right.Get(i)).second);
        }
        test::ScriptedQuestions questions;
        questions.Answer(platform::ModalResult::mrYesToAll); // skip every taken name
        test::RecordingStatus status;
        workspace::RenameRun run(questions, status);
        run.ApplyRenames(left, right, dir.Slash(), false);
        EXPECT_EQ(Listing(dir.Path()), expected) << "round " << round;
        int renamed = 0;
        for (int i = 0; i < left.Count(); ++i)
            renamed += check.Renames(i);
        EXPECT_EQ(run.RenamedCount(), renamed);
    }
}

// Names with their control and non-UTF-8 bytes as escapes, for a failure to be readable.
std::string Escaped(std::string_view text) {
    std::string out;
    for (const unsigned char c : text) {
        if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
            continue;
        }
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02x", c);
        out += hex;
    }
    return out;
}

std::string Escaped(const std::map<std::string, std::string>& files) {
    std::string out;
    for (const auto& [name, contents] : files)
        out.append(" ").append(Escaped(name)).append("=").append(contents);
    return out;
}

std::string Escaped(const platform::StringList& left, const platform::StringList& right) {
    std::string out = "plan:";
    for (int i = 0; i < left.Count(); ++i)
        out.append(" ").append(Escaped(left.Get(i))).append(" > ").append(Escaped(right.Get(i)));
    return out;
}

// The prediction against a real Apply with names of any bytes: raw Latin-1 beside its UTF-8
// spelling, line breaks and tabs (shown as pictures in the lines), leading dots, no extension,
// and Exclude Extensions on and off.
TEST(NamesCheck, PredictsWhatApplyRenamesForNamesOfAnyBytes) {
    const std::vector<std::string> stems = {"a",    "A",    "caf\xe9", "caf\xc3\xa9",
                                            "x\ny", "t\tb", ".h",      "r\rs"};
    const std::vector<std::string> exts = {".mp3", ".MP3", ""};
    std::mt19937 rng(23);
    const auto any = [&] { return stems[rng() % stems.size()] + exts[rng() % exts.size()]; };
    for (int round = 0; round < 200; ++round) {
        const bool excludeExt = round % 2 == 1;
        SCOPED_TRACE("round " + std::to_string(round));
        test::TempDir dir;
        Names files;
        std::set<std::string> seen;
        while (files.size() < 6)
            if (std::string name = any(); seen.insert(name).second) files.push_back(name);
        for (std::size_t i = 0; i < files.size(); ++i)
            dir.Write(files[i], std::to_string(i));
        platform::StringList left = List(files);
        platform::StringList right;
        for (const auto& f : files)
            right.Add(workspace::NameLine::Of(rng() % 3 ? any() : f, excludeExt));
        NamesCheck check;
        check.ReadFolder(dir.Slash(), left);
        check.Reset(left, right, excludeExt);

        std::map<std::string, std::string> expected;
        for (std::size_t i = 0; i < files.size(); ++i)
            expected[files[i]] = std::to_string(i);
        for (int i = 0; i < left.Count(); ++i) {
            if (!check.Renames(i)) continue;
            auto node = expected.extract(left.Get(i));
            ASSERT_FALSE(node.empty());
            node.key() = *workspace::NameLine::NewName(left.Get(i), right.Get(i), excludeExt);
            ASSERT_TRUE(expected.insert(std::move(node)).inserted);
        }
        test::ScriptedQuestions questions;
        for (std::size_t k = 0; k < files.size(); ++k) // skip every taken or invalid name
            questions.Answer(platform::ModalResult::mrYesToAll);
        test::RecordingStatus status;
        workspace::RenameRun run(questions, status);
        run.ApplyRenames(left, right, dir.Slash(), excludeExt);

        std::map<std::string, std::string> found;
        for (const auto& name : Listing(dir.Path()))
            found[name] = dir.Read(name);
        EXPECT_EQ(Escaped(found), Escaped(expected)) << Escaped(left, right);
        int renamed = 0;
        for (int i = 0; i < left.Count(); ++i)
            renamed += check.Renames(i);
        EXPECT_EQ(run.RenamedCount(), renamed);
    }
}

// The same on case-insensitive volumes, with names that differ only in case among the files and
// the lines: swaps, chains, case changes and names a file holds in other letters. Each file has
// its own contents, so a file lost or moved to the wrong name shows.
TEST(NamesCheck, PredictsWhatApplyRenamesOnCaseInsensitiveFuseVolumes) {
    test::OnEachFuseVolume([&](test::FuseVolume& v, const char* label) {
        std::mt19937 rng(11);
        const auto spelled = [&](char letter) {
            return std::string(1, rng() % 2 ? letter : char(letter - 'a' + 'A')) + ".mp3";
        };
        for (int round = 0; round < 80; ++round) {
            SCOPED_TRACE(std::string(label) + " round " + std::to_string(round));
            std::string dir = v / ("r" + std::to_string(round));
            dir += '/';
            ASSERT_EQ(::mkdir(dir.c_str(), 0755), 0);
            Names files;
            std::set<char> letters;
            while (files.size() < 5) {
                const char letter = char('a' + rng() % 7);
                if (letters.insert(letter).second) files.push_back(spelled(letter));
            }
            std::map<std::string, std::string> contents; // name -> what the file holds
            for (std::size_t i = 0; i < files.size(); ++i) {
                contents[files[i]] = "file " + std::to_string(i);
                std::ofstream(dir + files[i]) << contents[files[i]];
            }
            const std::string unlisted = spelled('h');
            contents[unlisted] = "not listed";
            std::ofstream(dir + unlisted) << contents[unlisted];
            platform::StringList left = List(files);
            platform::StringList right;
            for (const auto& f : files)
                right.Add(rng() % 4 == 0 ? f : spelled(char('a' + rng() % 8)));
            NamesCheck check;
            check.ReadFolder(dir, left);
            check.Reset(left, right, false);

            std::map<std::string, std::string> expected = contents;
            for (int i = 0; i < left.Count(); ++i) {
                if (!check.Renames(i)) continue;
                auto node = expected.extract(left.Get(i));
                ASSERT_FALSE(node.empty());
                node.key() = right.Get(i);
                ASSERT_TRUE(expected.insert(std::move(node)).inserted);
            }
            test::ScriptedQuestions questions;
            questions.Answer(platform::ModalResult::mrYesToAll); // skip every taken name
            test::RecordingStatus status;
            workspace::RenameRun run(questions, status);
            run.ApplyRenames(left, right, dir, false);

            std::map<std::string, std::string> found;
            for (const auto& name : Listing(dir)) {
                std::ifstream in(dir + name, std::ios::binary);
                found[name] = {std::istreambuf_iterator<char>(in), {}};
            }
            std::string plan;
            for (int i = 0; i < left.Count(); ++i)
                plan += " " + left.Get(i) + ">" + right.Get(i);
            EXPECT_EQ(found, expected) << "plan:" << plan;
            int renamed = 0;
            for (int i = 0; i < left.Count(); ++i)
                renamed += check.Renames(i);
            EXPECT_EQ(run.RenamedCount(), renamed) << "plan:" << plan;
        }
    });
}

} // namespace
