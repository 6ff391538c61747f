#!/usr/bin/env bash
# scripts/run.sh says one line while it builds and starts the editor; a failed build shows
# the end of the build's log. Run on a copy of the script, with stand-ins for the
# installer, cmake and the editor.
#   run_quiet.sh SOURCE_DIR
set -euo pipefail
source=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() {
    echo "FAIL: $*" >&2
    failed=1
}

mkdir -p "$work/tree/scripts" "$work/tree/skins/sample" "$work/bin"
cp "$source/scripts/run.sh" "$work/tree/scripts/"
printf '#!/bin/sh\nexit 0\n' >"$work/tree/scripts/deps.sh"
chmod +x "$work/tree/scripts/deps.sh"
touch "$work/tree/skins/sample/mapviewlt.ini"
# cmake: thirty lines of progress; with FAIL_BUILD set, an error last and a failure. The
# build makes an editor that records its arguments and says nothing.
cat >"$work/bin/cmake" <<'STUB'
#!/bin/sh
for i in $(seq 30); do echo "[ $i%] Building CXX object step$i.o"; done
if [ "$1" = --build ]; then
    if [ -n "${FAIL_BUILD:-}" ]; then
        echo "frmMain.cpp:12: error: expected ';'" >&2
        exit 2
    fi
    printf '#!/bin/sh\necho "$@" > "%s/started"\n' "$PWD" > build/tessel
    chmod +x build/tessel
fi
STUB
chmod +x "$work/bin/cmake"

run() { (cd "$work/tree" && env PATH="$work/bin:$PATH" "$@" scripts/run.sh 2>&1); }

said=$(run DISPLAY=:99) || fail "run.sh ended with status $? although the build worked"
[ "$said" = "Building Tessel (progress in build/build.log) ..." ] ||
    fail "run.sh said more than one line: $said"
grep -q 'step30.o' "$work/tree/build/build.log" || fail "the build's progress is not in the log"
[ "$(cat "$work/tree/started" 2>/dev/null)" = "$work/tree/run/sample" ] ||
    fail "the editor was not started on run/sample"

rm -f "$work/tree/started"
status=0
said=$(run DISPLAY=:99 FAIL_BUILD=1) || status=$?
[ "$status" != 0 ] || fail "run.sh ended with status 0 although the build failed"
grep -q "frmMain.cpp:12: error: expected ';'" <<<"$said" || fail "the error is not shown: $said"
grep -q 'step1.o' <<<"$said" && fail "more than the end of the log is shown: $said"
[ ! -e "$work/tree/started" ] || fail "the editor was started after a failed build"

[ "$failed" = 0 ] && echo "run.sh: one line while building, the log's end when the build fails"
exit "$failed"
