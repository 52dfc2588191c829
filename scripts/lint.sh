#!/bin/sh
# Style gate: every tracked C++ file is formatted, and clang-tidy finds nothing on the lines a
# change touched (since LINT_BASE, the previous commit by default, plus uncommitted edits).
# Only changed lines count, so old code never fails a new change.
# Usage: scripts/lint.sh BUILD_DIR (a configured build with compile_commands.json).
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
base=${LINT_BASE:-HEAD~1}

git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
echo "lint: clang-format clean"

if ! command -v clang-tidy >/dev/null 2>&1; then
    echo "lint: clang-tidy not found, skipped" >&2
    exit 0
fi
if ! git rev-parse -q --verify "$base^{commit}" >/dev/null; then
    echo "lint: no commit $base (shallow clone?), clang-tidy skipped"
    exit 0
fi
db="$build/compile_commands.json"
if [ ! -f "$db" ]; then
    echo "lint: $db missing; configure the build first" >&2
    exit 1
fi

# The added or changed line ranges of every changed C++ file, as clang-tidy's -line-filter.
changed=$(git diff --name-only --diff-filter=AMR "$base" -- '*.cpp' '*.h')
if [ -z "$changed" ]; then
    echo "lint: no C++ changes since $base"
    exit 0
fi
filter=$(for f in $changed; do
    git diff -U0 "$base" -- "$f" | awk -v name="$PWD/$f" '
        /^@@/ {
            split($3, a, ",")
            start = substr(a[1], 2) + 0
            count = (a[2] == "") ? 1 : a[2] + 0
            if (count > 0) ranges = ranges sep "[" start "," start + count - 1 "]"
            if (count > 0) sep = ","
        }
        END { if (ranges != "") printf "{\"name\":\"%s\",\"lines\":[%s]},", name, ranges }'
done)
filter="[${filter%,}]"
if [ "$filter" = "[]" ]; then
    echo "lint: only deletions since $base"
    exit 0
fi

status=0
checked=0
out=$(mktemp)
for f in $changed; do
    case "$f" in *.cpp) ;; *) continue ;; esac
    if ! grep -q "\"file\": \"$PWD/$f\"" "$db"; then
        echo "lint: $f is not in this build, clang-tidy skipped"
        continue
    fi
    checked=$((checked + 1))
    clang-tidy -p "$build" --quiet --warnings-as-errors='*' --line-filter="$filter" "$f" \
        >"$out" 2>&1 || status=1
    # The count of warnings it filtered out says nothing about the change.
    grep -v '^[0-9]* warnings\{0,1\} generated\.$' "$out" || true
done
rm -f "$out"
[ $status -eq 0 ] && echo "lint: clang-tidy clean on the changed lines of $checked file(s)"
exit $status
