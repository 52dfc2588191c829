// Fuzz target: the bytes play a session with the names editor (the first byte picks word wrap
// and the caret options); undoing everything afterwards must give back the starting text.
#include "core/editor/EditScript.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace velmora::editor;
using namespace velmora::editor::test;

// A session allocates and frees a great deal; a small quarantine keeps the resident size far
// below the fuzz runs' memory limit while still catching uses after free.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=16";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteReader in(data, size);
    const CaretOptions options = CaretOptions::FromBits(in.Next());
    std::vector<std::string> trace;
    CustomTextEditor ed;
    ScriptClipboard clip;
    EditScript script(ed, clip, &trace);
    const std::string start = script.Start(options, in);
    script.Play(in);
    const bool emptied = EditScript::UndoAll(ed);
    if (!emptied || ed.Text() != start) {
        std::fprintf(stderr, "wrap %d beyond-eof %d beyond-eol %d\n", options.WordWrap,
                     options.BeyondEof, options.BeyondEol);
        for (const std::string& line : trace)
            std::fprintf(stderr, "  %s\n", line.c_str());
        std::fprintf(stderr, "undo %s; start %zu chars, now:\n%s\n",
                     emptied ? "ran out" : "never ran out", start.size(), ed.Text().c_str());
        std::abort();
    }
    return 0;
}
