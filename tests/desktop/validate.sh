#!/usr/bin/env bash
# The files Tessel gives a Linux desktop, checked with the tools the distribution checks
# them with. Each command is one CTest test; exit status 77 (skipped) when its tool is
# missing (scripts/deps.sh installs them all).
#   validate.sh desktop FILE                   desktop-file-validate says nothing at all
#   validate.sh metainfo FILE                  appstreamcli validate --no-net passes
#   validate.sh manpage PAGE VERSION TESSEL    man renders it without a warning; it names
#                                              the version and every option of --help
#   validate.sh texts LUPDATE TS DIR...        every text of the sources in the folders has
#                                              its German in TS, as lupdate leaves it
set -euo pipefail

need() {
    command -v "$1" >/dev/null || { echo "skipped: $1 is missing (scripts/deps.sh)"; exit 77; }
}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

what=$1
shift
case $what in
desktop)
    need desktop-file-validate
    said=$(desktop-file-validate "$1" 2>&1) || fail "desktop-file-validate: $said"
    [ -z "$said" ] || fail "desktop-file-validate: $said"
    echo "desktop-file-validate $1: no remarks"
    ;;
metainfo)
    need appstreamcli
    appstreamcli validate --no-net --pedantic "$1" || fail "appstreamcli validate refused $1"
    ;;
manpage)
    need man
    page=$1 version=$2 tessel=$3
    # As lintian renders a page to find its warnings.
    said=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
        man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null) || fail "man failed: $said"
    [ -z "$said" ] || fail "man warns about $page: $said"
    grep -q "^\.TH TESSEL 1 [0-9-]* \"Tessel $version\"" "$page" ||
        fail "$page does not name version $version in its .TH line"
    # Every option that --help lists is described, in the page's roff spelling (\-\-).
    text=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$page" 2>/dev/null)
    for option in $(LANG=C.UTF-8 "$tessel" --help | grep -o -- '^  \(-[a-z], \)\?--\?[a-z]*' |
        grep -o -- '--\?[a-z]*$'); do
        grep -Eq -- "^       (-[a-z], )?$option\b" <<<"$text" || fail "$page does not describe $option"
    done
    echo "$page: rendered without warnings, version $version, every option described"
    ;;
texts)
    lupdate=$1 ts=$2
    shift 2
    need "$lupdate"
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    cp "$ts" "$work/check.ts"
    "$lupdate" -silent -locations none -no-obsolete "$@" -ts "$work/check.ts"
    if grep -q 'type="unfinished"' "$work/check.ts"; then
        fail "texts without German in $(basename "$ts") (cmake --build build --target" \
            "tessel_lupdate, then translate):" \
            "$(grep -B2 'type="unfinished"' "$work/check.ts" | grep '<source>')"
    fi
    cmp -s "$ts" "$work/check.ts" || fail "$(basename "$ts") is not as lupdate leaves it:" \
        "$(diff "$ts" "$work/check.ts" | head -20)"
    echo "every text of the sources has its German"
    ;;
*)
    fail "unknown check $what"
    ;;
esac
