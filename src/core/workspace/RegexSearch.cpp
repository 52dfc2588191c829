// Regular expressions on the 32-bit code units of the names editor, so offsets are characters.
#include "core/workspace/RegexSearch.h"

#include "core/platform/Error.h"
#include "core/platform/Utf8.h"

#define PCRE2_CODE_UNIT_WIDTH 32
#include <pcre2.h>

namespace velmora::workspace {

namespace {

std::string ErrorText(int code) {
    PCRE2_UCHAR buffer[256];
    const int n = pcre2_get_error_message(code, buffer, sizeof buffer / sizeof buffer[0]);
    if (n < 0) return "error " + std::to_string(code);
    return platform::EncodeUtf8(std::u32string(buffer, buffer + n));
}

bool EngineCannotTake(char32_t c) {
    return (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF;
}

PCRE2_SPTR Units(std::u32string_view s) {
    return reinterpret_cast<PCRE2_SPTR>(s.data());
}

} // namespace

struct RegexSearch::Engine {
    pcre2_code* code = nullptr;
    pcre2_match_data* data = nullptr;
    pcre2_match_context* context = nullptr;
    pcre2_jit_stack* stack = nullptr;

    ~Engine() {
        pcre2_match_context_free(context);
        pcre2_jit_stack_free(stack);
        pcre2_match_data_free(data);
        pcre2_code_free(code);
    }
};

RegexSearch::RegexSearch(std::u32string_view pattern, bool matchCase, bool wholeWord)
    : engine_(std::make_unique<Engine>()) {
    std::unique_ptr<pcre2_compile_context, void (*)(pcre2_compile_context*)> compile(
        pcre2_compile_context_create(nullptr), &pcre2_compile_context_free);
    // The engine itself wraps the pattern in \b(?:...)\b, so a comment or an unbalanced
    // parenthesis in the pattern cannot swallow or close the wrapping.
    if (wholeWord) pcre2_set_compile_extra_options(compile.get(), PCRE2_EXTRA_MATCH_WORD);
    std::uint32_t options = PCRE2_UTF | PCRE2_UCP;
    if (!matchCase) options |= PCRE2_CASELESS;
    int error = 0;
    PCRE2_SIZE offset = 0;
    engine_->code =
        pcre2_compile(Units(pattern), pattern.size(), options, &error, &offset, compile.get());
    if (!engine_->code)
        throw platform::Exception(
            platform::Format("Invalid regular expression: %s (at character %d).",
                             {ErrorText(error), static_cast<std::int64_t>(offset) + 1}));
    // Without the compiler the interpreter matches alike, only slower.
    if (pcre2_jit_compile(engine_->code, PCRE2_JIT_COMPLETE) == 0) {
        engine_->stack = pcre2_jit_stack_create(32 * 1024, 1024 * 1024, nullptr);
        engine_->context = pcre2_match_context_create(nullptr);
        pcre2_jit_stack_assign(engine_->context, nullptr, engine_->stack);
    }
    engine_->data = pcre2_match_data_create(RegexMatch::kGroups, nullptr);
}

RegexSearch::~RegexSearch() = default;

std::u32string_view RegexSearch::Subject(std::u32string_view line) const {
    std::size_t i = 0;
    while (i < line.size() && !EngineCannotTake(line[i]))
        ++i;
    if (i == line.size()) return line;
    mapped_.assign(line);
    for (; i < mapped_.size(); ++i) {
        const char32_t c = mapped_[i];
        if (c >= 0xD800 && c <= 0xDFFF)
            mapped_[i] = 0x10F800 + (c - 0xD800); // plane 16, private use
        else if (c > 0x10FFFF)
            mapped_[i] = 0xFFFD;
    }
    return mapped_;
}

int RegexSearch::Run(std::u32string_view subject, int start, unsigned flags, RegexMatch& m) const {
    // The subject holds valid characters only (see Subject), so the engine need not check.
    const int rc =
        pcre2_match(engine_->code, Units(subject), subject.size(), static_cast<PCRE2_SIZE>(start),
                    flags | PCRE2_NO_UTF_CHECK, engine_->data, engine_->context);
    if (rc == PCRE2_ERROR_NOMATCH) return 0;
    if (rc < 0)
        throw platform::Exception(
            platform::Format("The regular expression could not be matched: %s.", {ErrorText(rc)}));
    const PCRE2_SIZE* v = pcre2_get_ovector_pointer(engine_->data);
    const int pairs = static_cast<int>(pcre2_get_ovector_count(engine_->data));
    for (int g = 0; g < RegexMatch::kGroups; ++g) {
        const bool set = g < pairs && g < rc && v[2 * g] != PCRE2_UNSET;
        m.ends[2 * g] = set ? static_cast<int>(v[2 * g]) : -1;
        m.ends[2 * g + 1] = set ? static_cast<int>(v[2 * g + 1]) : -1;
    }
    return 1;
}

bool RegexSearch::Find(std::u32string_view line, int start, bool notEmptyAtStart,
                       RegexMatch& m) const {
    if (start < 0 || static_cast<std::size_t>(start) > line.size()) return false;
    return Run(Subject(line), start, notEmptyAtStart ? PCRE2_NOTEMPTY_ATSTART : 0, m) > 0;
}

bool RegexSearch::MatchAt(std::u32string_view line, int start, RegexMatch& m) const {
    if (start < 0 || static_cast<std::size_t>(start) > line.size()) return false;
    return Run(Subject(line), start, PCRE2_ANCHORED, m) > 0;
}

void RegexSearch::ForEach(std::u32string_view line,
                          const std::function<void(const RegexMatch&)>& fn) const {
    const std::u32string_view subject = Subject(line);
    const int length = static_cast<int>(subject.size());
    RegexMatch m;
    int at = 0;
    unsigned flags = 0;
    while (at <= length) {
        if (Run(subject, at, flags, m) == 0) {
            // No non-empty match where the empty one stood: step over one character.
            if (flags == 0) break;
            flags = 0;
            if (++at > length) break;
            continue;
        }
        fn(m);
        at = m.End();
        // After an empty match only a non-empty one may start at the same place.
        flags = m.Empty() ? PCRE2_NOTEMPTY_ATSTART | PCRE2_ANCHORED : 0;
    }
}

} // namespace velmora::workspace
