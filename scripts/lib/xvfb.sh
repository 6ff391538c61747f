# Sourced by the scripts that need a screen of their own.
# start_xvfb: starts an Xvfb (1024 x 768, 24 bits) in the background on a display it
# finds free; sets xvfb_pid and xvfb_display (the display number). Fails if the
# server does not come up within 5 s. Stopping it (kill "$xvfb_pid") is the caller's.
start_xvfb() {
    local file
    file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$file" 2>/dev/null &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$file" ] && break
        sleep 0.05
    done
    xvfb_display=$(tr -d '[:space:]' <"$file")
    rm -f "$file"
    [ -n "$xvfb_display" ]
}
