// Fuzzes the journal reader with any bytes as a journal file: it never crashes or asks for
// unbounded memory, and whatever it accepts encodes back to the same plan.
#include "core/journal/JournalFormat.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using velmora::journal::JournalFormat;
using velmora::journal::ParsedJournal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ParsedJournal parsed = JournalFormat::Parse(bytes);
    if (!parsed.ok) {
        if (parsed.problem.empty()) std::abort(); // a refusal always says why
        return 0;
    }
    const auto& folder = parsed.plan.folder;
    if (folder.empty() || folder.front() != '/' || folder.back() != '/') std::abort();
    std::string again;
    JournalFormat::EncodePlan(parsed.plan, again);
    // The accepted plan is exactly the start of the input.
    if (bytes.substr(0, again.size()) != again) std::abort();
    const ParsedJournal reread = JournalFormat::Parse(again);
    if (!reread.ok || reread.plan.entries.size() != parsed.plan.entries.size()) std::abort();
    return 0;
}
