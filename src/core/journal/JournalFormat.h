// The rename journal's bytes: the plan of one Apply and the markers appended after it.
// docs/rename-journal.md describes the layout; names are kept as raw bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::journal {

// One line of the plan: the file (device and inode when the plan was written) and its names
// relative to the folder.
struct JournalEntry {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::string oldName;
    std::string newName;
};

struct JournalPlan {
    std::string folder; // absolute, ending in "/"
    std::vector<JournalEntry> entries;
};

// How far a journal got: the run never reached its end marker, ended, or was undone.
enum class JournalState : std::uint8_t { Interrupted, Ended, Undone };

// What reading a journal found. A journal that is not ok must never be acted on.
struct ParsedJournal {
    bool ok = false;
    std::string problem; // why it is refused, when not ok
    JournalPlan plan;
    JournalState state = JournalState::Interrupted;
    std::uint64_t renamed = 0; // files renamed in the run, from the end marker
};

class JournalFormat {
public:
    static constexpr std::uint32_t kVersion = 1;
    enum class Marker : std::uint8_t { End, Undone };
    static constexpr std::size_t kMarkerSize = 16;

    // The header and the whole plan, ending in its checksum.
    static void EncodePlan(const JournalPlan& plan, std::string& out);

    // Builds the same bytes entry by entry, so a large plan is not held twice.
    class PlanEncoder {
    public:
        // count: the number of entries that will be added; namesSize: their names' bytes, to
        // size the buffer once.
        PlanEncoder(std::string& out, const std::string& folder, std::uint64_t count,
                    std::size_t namesSize);
        void Add(std::uint64_t device, std::uint64_t inode, std::string_view oldName,
                 std::string_view newName);
        // Appends the checksum; the bytes are complete.
        void Finish();

    private:
        std::string& out_;
    };
    // One marker record, appended after the plan.
    static std::string EncodeMarker(Marker marker, std::uint64_t value);
    // Whether record is one intact marker of that kind.
    static bool IsMarker(std::string_view record, Marker marker);
    // Reads a whole journal file's bytes; never throws, whatever the bytes.
    static ParsedJournal Parse(std::string_view bytes);
};

} // namespace velmora::journal
