#!/usr/bin/env bash
# Takes the README's screenshot: the editor with the sample skin loaded and one element
# selected, under an Xvfb of its own, saved as docs/screenshot.png (just the window).
#   scripts/screenshot.sh [build folder]       (default: build; built first if needed)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$(realpath -m "${1:-build}")
out=$root/docs/screenshot.png

for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "screenshot.sh: $tool is missing (scripts/deps.sh)" >&2; exit 1; }
done
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target tessel >/dev/null

work=$(mktemp -d)
xvfb_pid=
tessel_pid=
stop() {
    [ -n "$1" ] || return 0
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}
cleanup() {
    stop "$tessel_pid"
    stop "$xvfb_pid"
    rm -rf "$work"
}
trap cleanup EXIT

# A copy of the sample skin, named by the settings file as if chosen before.
cp -r skins/sample "$work/skin"
printf '[Directory]\r\nlastDir=%s\r\n' "$work/skin" >"$work/Tessel.ini"

source scripts/lib/xvfb.sh
start_xvfb || { echo "screenshot.sh: Xvfb did not start" >&2; exit 1; }
DISPLAY=:$xvfb_display
export DISPLAY
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work
unset WAYLAND_DISPLAY

# wait_for <what> <command...>: runs the command every 0.1 s until it succeeds (10 s at most).
wait_for() {
    local what=$1
    shift
    for _ in $(seq 100); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "screenshot.sh: timed out waiting for $what" >&2
    exit 1
}
window_shown() { [ -n "$(xdotool search --onlyvisible --name "^$1\$")" ]; }
window_gone() { ! window_shown "$1"; }
# blue_at <x> <y>: the selection frame's blue is at that pixel of the form (the window
# between its menu bar and its status bar).
blue_at() {
    [ "$(import -window root -crop "1x1+$1+$(($2 + top))" -depth 8 txt:- |
        grep -o '#[0-9A-F]\{6\}')" = "#0000FF" ]
}
# form_top: the screen row where the form starts, from the canvas frame's right edge
# (x 271, black from 8 rows below the form's top; the menu bar draws nothing there).
form_top() {
    local row
    row=$(import -window root -crop 1x120+271+8 -depth 8 txt:- |
        awk -F'[,:]' '/#000000/ { print $2; exit }')
    [ -n "$row" ] && [ "$row" -gt 0 ] && top=$row
}
top=

(cd "$work" && exec "$build/tessel") &
tessel_pid=$!
wait_for "the editor's window" window_shown Tessel
window=$(xdotool search --onlyvisible --name '^Tessel$' | head -n1)
wait_for "the canvas frame" form_top

xdotool mousemove 524 $((280 + top)) click 1 # "Laden"
wait_for "the folder dialog" window_shown "Ordner suchen"
xdotool key Return # the dialog opens on the remembered folder
wait_for "the folder dialog to close" window_gone "Ordner suchen"
wait_for "the layout" blue_at 189 31 # the frame on "win" after the load

# Select "distance" (the big "500 m"), then take the pointer off the canvas.
xdotool mousemove 125 $((50 + top)) click 1 mousemove 700 500
wait_for "the frame on the selected element" blue_at 97 31
sleep 0.3 # let the label and the boxes finish painting

mkdir -p "$(dirname "$out")"
import -window "$window" -strip "$out"
echo "$out: $(identify -format '%w x %h' "$out")"
