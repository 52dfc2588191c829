# bash completion for velmora: its options, then folders and files.
_velmora() {
    local cur prev words cword
    if declare -F _init_completion >/dev/null; then
        _init_completion || return
    else
        cur=${COMP_WORDS[COMP_CWORD]}
        words=("${COMP_WORDS[@]}")
        cword=$COMP_CWORD
    fi
    local i
    for ((i = 1; i < cword; i++)); do
        # After "--" every word is a name.
        if [[ ${words[i]} == -- ]]; then
            cword=0
            break
        fi
    done
    if ((cword)) && [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W '-x -h --help --version --' -- "$cur")
        return
    fi
    # A folder, a file or a pattern in a folder.
    if declare -F _filedir >/dev/null; then
        _filedir
    else
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
    fi
}
complete -F _velmora velmora
