// Undoing everything brings back the starting text exactly, whatever was done before: random
// sessions under every combination of word wrap and the two caret options.
#include "EditScript.h"
#include "EditorTestSupport.h"

#include <random>

using namespace velmora::editor;
using namespace velmora::editor::test;

namespace {

constexpr int SessionsPerOption = 40;
constexpr std::size_t SessionBytes = 700;

// The bytes of one session, from a fixed seed so a failure replays.
std::vector<std::uint8_t> SessionBytesFor(std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<std::uint8_t> bytes(SessionBytes);
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(rng());
    return bytes;
}

struct UndoProperty : ::testing::TestWithParam<int> {};

} // namespace

TEST_P(UndoProperty, UndoingEverythingRestoresTheStartingText) {
    const CaretOptions options = CaretOptions::FromBits(GetParam());
    for (int session = 0; session < SessionsPerOption; ++session) {
        const std::uint32_t seed = static_cast<std::uint32_t>(GetParam() * 1000 + session);
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        const auto bytes = SessionBytesFor(seed);
        CustomTextEditor ed;
        ScriptClipboard clip;
        std::vector<std::string> trace;
        EditScript script(ed, clip, &trace);
        ByteReader in(bytes.data(), bytes.size());
        const std::string start = script.Start(options, in);
        script.Play(in);
        const bool emptied = EditScript::UndoAll(ed);
        if (!emptied || ed.Text() != start) {
            std::string actions;
            for (const std::string& line : trace)
                actions += "  " + line + "\n";
            ADD_FAILURE() << "undo " << (emptied ? "ran out" : "never ran out")
                          << "\nstart: " << start << "\nnow:   " << ed.Text() << "\nafter:\n"
                          << actions;
            return;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(CaretOptions, UndoProperty, ::testing::Range(0, 8),
                         [](const ::testing::TestParamInfo<int>& info) {
                             const CaretOptions o = CaretOptions::FromBits(info.param);
                             return std::string(o.WordWrap ? "Wrap" : "NoWrap") +
                                    (o.BeyondEof ? "BeyondEof" : "") +
                                    (o.BeyondEol ? "BeyondEol" : "");
                         });
