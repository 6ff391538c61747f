#!/usr/bin/env bash
# Shell completion of tessel, in a folder with skin folders and pictures:
#   completion.sh bash SCRIPT     what TAB offers after each command line of the table
#   completion.sh zsh SCRIPT      the function parses and completion takes it for tessel
# Exit status 77 (skipped) when the shell is missing.
set -euo pipefail
shell=$1
script=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir -p skins/a skins/b 'my skins'
touch v.png w.BMP notes.txt skins/a/mapviewlt.ini

case $shell in
bash)
    # shellcheck source=/dev/null
    source "$script"
    failed=0
    # offered LINE...: TAB at the end of the line (the last word may be empty) offers
    # exactly these words, sorted, separated by blanks.
    expect() {
        local want=$1
        shift
        COMP_WORDS=(tessel "$@")
        COMP_CWORD=$#
        COMP_LINE="tessel $*"
        COMP_POINT=${#COMP_LINE}
        _tessel
        local got
        got=$(printf '%s\n' "${COMPREPLY[@]}" | sed '/^$/d' | LC_ALL=C sort | paste -sd' ' -)
        if [ "$got" != "$want" ]; then
            echo "FAIL: tessel $* <TAB>: got '$got', expected '$want'" >&2
            failed=1
        fi
    }
    expect '--check --help --render --version' --
    expect '--check' --ch
    expect 'my skins skins' --check ''
    expect 'skins/a skins/b' --render skins/
    expect '' --check skins/a -
    expect '--infobar --scale --strict --view -o' --render skins/a -
    expect '1 2 3 all' --render skins/a --view ''
    expect 'off on' --render skins/a --view 1 --infobar o
    expect '1 2 3 4 5 6 7 8' --render skins/a --scale ''
    expect 'my skins skins v.png w.BMP' --render skins/a --view 1 -o ''
    expect 'skins' sk
    expect '' --version ''
    [ "$failed" = 0 ] && echo "bash completion: every line offers what it should"
    exit "$failed"
    ;;
zsh)
    command -v zsh >/dev/null || { echo "skipped: zsh is missing (scripts/deps.sh)"; exit 77; }
    zsh -n "$script"
    mkdir functions
    cp "$script" functions/
    taken=$(HOME=$work zsh -fc 'fpath=(functions $fpath); autoload -Uz compinit
        compinit -u -d compdump; print -r -- $_comps[tessel]')
    [ "$taken" = _tessel ] || { echo "FAIL: zsh completes tessel with '$taken'" >&2; exit 1; }
    echo "zsh completion: parses, and completion takes _tessel for tessel"
    ;;
esac
