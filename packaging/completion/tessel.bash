# bash completion for tessel                                 -*- shell-script -*-
# Options, their values, skin folders for --check, --render and the editor, and
# pictures (.png, .bmp) for -o.

_tessel_folders() {
    compopt -o filenames 2>/dev/null || true
    mapfile -t COMPREPLY < <(compgen -d -- "$1")
}

_tessel_pictures() {
    compopt -o filenames 2>/dev/null || true
    mapfile -t COMPREPLY < <(
        compgen -d -- "$1"
        compgen -f -X '!*.[pP][nN][gG]' -- "$1"
        compgen -f -X '!*.[bB][mM][pP]' -- "$1"
    )
}

_tessel() {
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=${COMP_WORDS[COMP_CWORD - 1]}
    COMPREPLY=()
    case $prev in
        --check | --render) _tessel_folders "$cur"; return ;;
        --view) mapfile -t COMPREPLY < <(compgen -W '1 2 3 all' -- "$cur"); return ;;
        --infobar) mapfile -t COMPREPLY < <(compgen -W 'on off' -- "$cur"); return ;;
        --scale) mapfile -t COMPREPLY < <(compgen -W '1 2 3 4 5 6 7 8' -- "$cur"); return ;;
        -o) _tessel_pictures "$cur"; return ;;
        -h | --help | --version) return ;;
    esac

    local word render=0 check=0
    for word in "${COMP_WORDS[@]:1:COMP_CWORD-1}"; do
        case $word in
            --render) render=1 ;;
            --check) check=1 ;;
        esac
    done
    if [[ $cur == -* ]]; then
        local options='--check --render --help --version'
        ((render)) && options='--view --infobar --scale --strict -o'
        ((check)) && options=''
        mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
    elif ((!render && !check)); then
        _tessel_folders "$cur"
    fi
}

complete -F _tessel tessel
