// The journal's bytes: lossless names, and every truncation or damage refused, never misread.
#include "core/journal/JournalFormat.h"

#include <gtest/gtest.h>

using namespace velmora::journal;

namespace {

JournalPlan OddNames() {
    JournalPlan p;
    p.folder = "/music/caf\xc3\xa9 \xff/";
    p.entries.push_back({1, 2, "a b.mp3", "line\nbreak.mp3"});
    p.entries.push_back({3, 0xffffffffffffffffull, "\xfe\x80 bad utf8", ""});
    p.entries.push_back({5, 6, std::string("nul\0inside", 10), "  blanks  "});
    return p;
}

std::string Encoded(const JournalPlan& p) {
    std::string out;
    JournalFormat::EncodePlan(p, out);
    return out;
}

} // namespace

TEST(JournalFormat, RoundTripKeepsEveryByteAndTheMarkers) {
    const JournalPlan p = OddNames();
    std::string bytes = Encoded(p);
    ParsedJournal r = JournalFormat::Parse(bytes);
    ASSERT_TRUE(r.ok) << r.problem;
    EXPECT_EQ(r.state, JournalState::Interrupted);
    EXPECT_EQ(r.plan.folder, p.folder);
    ASSERT_EQ(r.plan.entries.size(), p.entries.size());
    for (std::size_t i = 0; i < p.entries.size(); ++i) {
        EXPECT_EQ(r.plan.entries[i].device, p.entries[i].device);
        EXPECT_EQ(r.plan.entries[i].inode, p.entries[i].inode);
        EXPECT_EQ(r.plan.entries[i].oldName, p.entries[i].oldName);
        EXPECT_EQ(r.plan.entries[i].newName, p.entries[i].newName);
    }
    bytes += JournalFormat::EncodeMarker(JournalFormat::Marker::End, 2);
    r = JournalFormat::Parse(bytes);
    EXPECT_EQ(r.state, JournalState::Ended);
    EXPECT_EQ(r.renamed, 2u);
    bytes += JournalFormat::EncodeMarker(JournalFormat::Marker::Undone, 2);
    EXPECT_EQ(JournalFormat::Parse(bytes).state, JournalState::Undone);
}

TEST(JournalFormat, EveryTruncationIsRefusedOrLosesOnlyTheTornMarker) {
    const std::string plan = Encoded(OddNames());
    const std::string full = plan + JournalFormat::EncodeMarker(JournalFormat::Marker::End, 3);
    for (std::size_t n = 0; n < full.size(); ++n) {
        const ParsedJournal r = JournalFormat::Parse(std::string_view(full).substr(0, n));
        if (n < plan.size()) {
            EXPECT_FALSE(r.ok) << n;
            EXPECT_FALSE(r.problem.empty());
        } else {
            // The plan is whole; the end marker was cut while being written.
            ASSERT_TRUE(r.ok) << n;
            EXPECT_EQ(r.state, JournalState::Interrupted) << n;
        }
    }
}

TEST(JournalFormat, AnyChangedByteOfThePlanIsRefused) {
    const std::string plan = Encoded(OddNames());
    for (std::size_t i = 0; i < plan.size(); ++i) {
        std::string bad = plan;
        bad[i] = static_cast<char>(bad[i] ^ 0x20);
        EXPECT_FALSE(JournalFormat::Parse(bad).ok) << i;
    }
}

TEST(JournalFormat, ForeignNewerAndDamagedJournalsAreRefusedWithAReason) {
    ParsedJournal r = JournalFormat::Parse("#!/bin/sh\necho hello\n");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.problem, "not a rename journal");

    std::string newer = Encoded(OddNames());
    newer[8] = 2; // version
    r = JournalFormat::Parse(newer);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.problem.find("version 2"), std::string::npos);

    // A count that promises more entries than there are bytes is refused before reading them.
    std::string huge = Encoded(OddNames());
    for (int i = 16; i < 24; ++i)
        huge[i] = '\x7f';
    EXPECT_FALSE(JournalFormat::Parse(huge).ok);

    // A damaged marker followed by another one is damage, not a torn write.
    std::string marked = Encoded(OddNames()) +
                         JournalFormat::EncodeMarker(JournalFormat::Marker::End, 1) +
                         JournalFormat::EncodeMarker(JournalFormat::Marker::Undone, 1);
    marked[marked.size() - 20] ^= 1;
    r = JournalFormat::Parse(marked);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.problem.find("marker"), std::string::npos);
}
