#!/bin/bash
# Loads the bash completion for velmora and checks what it offers: its options after "-", then
# folders and files, and only names after "--". With the bash-completion package's helpers
# loaded, where installed, the same again (there a blank needs the quoting an interactive shell
# gives, so that case is checked without them).
# Usage: BashCompletionCheck.sh COMPLETION_SCRIPT
set -u
script=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir "Album One" Another
touch "Album One/01 - Song.mp3" alpha.mp3 -- -x.mp3

failed=0
complete_line() { # words...: the completions for the last word
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="$*"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _velmora
    printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd '|'
}
expect() { # expected words...
    local want=$1
    shift
    local got
    got=$(complete_line "$@")
    if [ "$got" != "$want" ]; then
        echo "completing '$*': got '$got', expected '$want'" >&2
        failed=1
    fi
}
check() {
    expect "--|--help|--version" velmora --
    expect "--|--help|--version|-h|-x" velmora /music -
    expect "Album One|Another" velmora A
    expect "alpha.mp3" velmora a
    expect "-x.mp3" velmora -- -x
    expect "Another" velmora -x Anot
}

# shellcheck source=/dev/null
source "$script" || exit 1
complete -p velmora >/dev/null || { echo "no completion registered for velmora" >&2; exit 1; }
check
expect "Album One/01 - Song.mp3" velmora "Album One/"
for helpers in /usr/share/bash-completion/bash_completion; do
    [ -r "$helpers" ] || continue
    # shellcheck source=/dev/null
    source "$helpers"
    source "$script"
    check
done
exit $failed
