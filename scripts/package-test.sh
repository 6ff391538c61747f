#!/usr/bin/env bash
# The Debian package as a user gets it: lintian finds no error in it (its warnings are
# listed), apt-get installs it with what it depends on, and the installed program, its
# manual pages, completion, menu entry and metainfo work; then the package is removed.
# Needs root (or sudo) for apt-get. Takes a minute or more: CI runs it, not every build.
#   scripts/package-test.sh             a release build of its own (scripts/package.sh)
#   scripts/package-test.sh BUILD       the package of that configured build folder (cpack
#                                       there, no second build of the program)
set -euo pipefail
cd "$(dirname "$0")/.."
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

say() { echo "package-test: $*"; }
fail() {
    echo "package-test: FAIL: $*" >&2
    exit 1
}

if [ $# -gt 0 ]; then
    build=$1
    rm -f "$build"/packages/tessel_*.deb
    cmake --build "$build" -j"$(nproc)" --target tessel tessel_desktop_files >/dev/null
    (cd "$build" && cpack -G DEB >cpack.log 2>&1) || fail "cpack: $(tail -n 20 "$build/cpack.log")"
else
    build=build-package
    scripts/package.sh "$build" >/dev/null
fi
debs=("$build"/packages/tessel_*.deb)
deb=$(realpath "${debs[0]}")
[ -f "$deb" ] || fail "no package in $build/packages"
say "$deb"

# lintian: errors fail the test, warnings and the rest are listed.
found=$(lintian --tag-display-limit 0 "$deb" 2>&1 | grep -v '^running with root' || true)
if [ -n "$found" ]; then
    say "lintian says:"
    sed 's/^/    /' <<<"$found"
else
    say "lintian: no remarks"
fi
grep -q '^E: ' <<<"$found" && fail "lintian found errors"

# A tessel installed before (an earlier run) must not stand in for this package.
if dpkg-query -W -f='${Status}' tessel 2>/dev/null | grep -q 'install ok installed'; then
    $sudo apt-get remove -y -qq tessel >/dev/null
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get install -y -qq --no-install-recommends "$deb" >"$build/apt.log" 2>&1 ||
    fail "apt-get could not install the package: $(tail -n 20 "$build/apt.log")"
remove() { $sudo apt-get remove -y -qq tessel >/dev/null 2>&1 || true; }
trap remove EXIT
say "installed with apt-get"

work=$(mktemp -d)
trap 'remove; rm -rf "$work"' EXIT
tessel=/usr/bin/tessel
sample=/usr/share/doc/tessel/sample-skin
[ "$(command -v tessel)" = "$tessel" ] || fail "tessel is not on the path as $tessel"

# expect STATUS OUT CHANGE... -- ARGS...: the installed program, in English unless a
# CHANGE (NAME=VALUE sets a variable, -NAME removes it) says otherwise, ends with STATUS,
# prints OUT on standard output and nothing on standard error.
expect() {
    local status=$1 out=$2
    shift 2
    local unset=(-u LC_ALL -u LANGUAGE) set=(LANG=C.UTF-8)
    while [ "$1" != -- ]; do
        case $1 in
            -*) unset+=(-u "${1#-}") ;;
            *) set+=("$1") ;;
        esac
        shift
    done
    shift
    local got=0
    env "${unset[@]}" "${set[@]}" "$tessel" "$@" >"$work/out" 2>"$work/err" || got=$?
    [ "$got" = "$status" ] || fail "tessel $*: exit status $got, expected $status"
    [ "$(cat "$work/out")" = "$out" ] || fail "tessel $*: printed '$(cat "$work/out")', expected '$out'"
    [ ! -s "$work/err" ] || fail "tessel $*: said on standard error: $(cat "$work/err")"
    say "tessel $* -> $out"
}
expect 0 "tessel 1.1.0" -- --version
expect 0 "0 errors, 0 warnings" -XDG_RUNTIME_DIR -HOME -- --check "$sample"
expect 0 "0 Fehler, 0 Warnungen" LANG=de_DE.UTF-8 -- --check "$sample"
expect 0 "" -XDG_RUNTIME_DIR -DISPLAY -- --render "$sample" --view all --strict -o "$work/v.png"
[ -s "$work/v-3.png" ] || fail "--render wrote no v-3.png"

# The files beside the program, where the desktop and the shells look for them.
[ "$(man -w tessel)" = /usr/share/man/man1/tessel.1.gz ] || fail "man finds $(man -w tessel)"
[ "$(man -L de -w tessel)" = /usr/share/man/de/man1/tessel.1.gz ] ||
    fail "man -L de finds $(man -L de -w tessel)"
for file in /usr/share/bash-completion/completions/tessel /usr/share/zsh/vendor-completions/_tessel \
    /usr/share/doc/tessel/copyright /usr/share/doc/tessel/changelog.gz \
    /usr/share/icons/hicolor/256x256/apps/tessel.png; do
    [ -s "$file" ] || fail "$file is missing"
done
desktop-file-validate /usr/share/applications/tessel.desktop ||
    fail "the installed menu entry is refused"
appstreamcli validate --no-net /usr/share/metainfo/io.github.tessel.Tessel.metainfo.xml >/dev/null ||
    fail "the installed metainfo is refused"
say "manual pages, completion, menu entry and metainfo in place"
say "passed"
