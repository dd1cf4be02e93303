#!/usr/bin/env bash
# End to end with real key and mouse input: the built hangar runs under Xvfb from a scratch
# folder with its own settings file; xdotool ticks "Save activation", types a name, saves,
# chooses it, loads it, undoes the Load with Ctrl+Z and undoes the undo, opens the history with
# Ctrl+H and closes it with Escape, and quits. The snapshot files and the settings file are
# checked after.
# The name is typed as 20 real key presses and a Backspace: the save list keeps the first 16.
# Then SIGTERM, SIGHUP and SIGINT each end a run with a message box open: the program exits
# normally, and the settings file is written.
# Usage: run-e2e.sh path/to/hangar [folder-for-screenshots]
set -euo pipefail

hangar=$(realpath "$1")
shots=${2:-}
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "e2e: $tool is missing (make setup installs it)" >&2; exit 1; }
done

scratch=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

mkdir -p "$scratch/exe" "$scratch/fs9" "$scratch/scenery"
cp "$hangar" "$scratch/exe/hangar"
printf 'live main\r\n' >"$scratch/fs9/FS9.cfg"
printf 'live scenery\r\n' >"$scratch/scenery/Scenery.cfg"
printf '[FS Config]\r\nFS9 Folder=%s\r\nSCENERY Folder=%s\r\n' "$scratch/fs9" "$scratch/scenery" \
    >"$scratch/exe/Hangar.ini"

# Xvfb picks a free display and names it once it accepts connections: parallel runs never share.
Xvfb -displayfd 3 -screen 0 800x600x24 -dpi 96 -nolisten tcp 3>"$scratch/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 200); do [ -s "$scratch/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$scratch/display")

unset QT_QPA_PLATFORM
(cd "$scratch/exe" && ./hangar >"$scratch/hangar.log" 2>&1) &
hangar_pid=$!

# Waits up to ten seconds for a condition, so that a slow machine is not a failure.
until_true() { for _ in $(seq 100); do "$@" && return 0; sleep 0.1; done; return 1; }
# The window is up once it has painted its white band (between the two pictures); input sent
# from then on is taken in order, so a step needs no pause before the next one.
painted() { import -window "$window" -crop 1x1+290+105 txt:- 2>/dev/null | grep -qi 'white\|#FFFFFF'; }
open_window() {
    window=$(xdotool search --sync --onlyvisible --name '^Hangar for FS 2004$' | head -n 1)
    until_true painted || { echo "e2e: the window never painted" >&2; exit 1; }
    eval "$(xdotool getwindowgeometry --shell "$window")" # X and Y of the client area
}
# Places inside the window: Frame2 stands at (8, 128).
click() { xdotool mousemove $((X + 8 + $1)) $((Y + 128 + $2)) click 1; }
# A screenshot once two captures a moment apart agree: the window has finished painting.
settled() { a=$(import -window root rgb:- | md5sum); sleep 0.1; [ "$a" = "$(import -window root rgb:- | md5sum)" ]; }
shot() { [ -z "$shots" ] || { until_true settled; import -window root "$shots/$1.png"; }; }

open_window

click 400 44              # chkSaveActivation
click 150 116             # into cboConfigNameTO
typed='Night Flight Oslo 04'  # 20 characters
name=${typed:0:16}
xdotool key ctrl+a type --delay 50 "$typed"
xdotool key BackSpace     # refused at 16 like any typed character
shot e2e-editing
click 120 84              # cmdSAVE
until_true test -f "$scratch/scenery/Scenery.$name.cfg" || echo "e2e: Save wrote nothing under '$name'" >&2
click 150 44              # cboConfigName: focus, then choose the new entry with the keyboard
xdotool key Down
shot e2e-load-mode
printf 'night main\r\n' >"$scratch/fs9/FS9.cfg"      # the live pair moves on...
printf 'night scenery\r\n' >"$scratch/scenery/Scenery.cfg"
click 190 84              # cmdLOAD brings back what was saved
printf 'live scenery\r\n' >"$scratch/expected-scenery"
until_true cmp -s "$scratch/expected-scenery" "$scratch/scenery/Scenery.cfg" || echo "e2e: Load did nothing" >&2
shot e2e-loaded
# Ctrl+Z with the focus on the Load button puts back the pair the Load replaced, and says so.
xdotool key ctrl+z
xdotool search --sync --onlyvisible --name '^Undo$' >/dev/null
printf 'night scenery\r\n' >"$scratch/expected-scenery"
cmp -s "$scratch/expected-scenery" "$scratch/scenery/Scenery.cfg" || { echo "e2e: Ctrl+Z put nothing back" >&2; exit 1; }
shot e2e-undo
xdotool key Return        # closes the message
until_true eval '! xdotool search --onlyvisible --name "^Undo$" >/dev/null'
# Without a window manager nothing gives the window the keyboard back when the message closes.
xdotool windowfocus --sync "$window"
xdotool key ctrl+z        # pressed again: where the first began
xdotool search --sync --onlyvisible --name '^Undo$' >/dev/null
xdotool key Return
until_true eval '! xdotool search --onlyvisible --name "^Undo$" >/dev/null'
xdotool windowfocus --sync "$window"
xdotool key ctrl+h
xdotool search --sync --onlyvisible --name '^History$' >/dev/null
shot e2e-history
xdotool key Escape        # closes the dialog, not the window
until_true eval '! xdotool search --onlyvisible --name "^History$" >/dev/null'
click 440 84              # cmdQuit
wait "$hangar_pid" || { echo "e2e: hangar exited with $?" >&2; cat "$scratch/hangar.log" >&2; exit 1; }

fail() { echo "e2e: $*" >&2; cat "$scratch/hangar.log" >&2; exit 1; }
cmp -s <(printf 'live main\r\n') "$scratch/fs9/FS9.$name.cfg" || fail "main snapshot wrong: $(ls "$scratch/fs9")"
cmp -s <(printf 'live scenery\r\n') "$scratch/scenery/Scenery.$name.cfg" || fail "scenery snapshot wrong"
cmp -s <(printf 'live main\r\n') "$scratch/fs9/FS9.cfg" || fail "Load did not restore FS9.cfg"
cmp -s <(printf 'live scenery\r\n') "$scratch/scenery/Scenery.cfg" || fail "Load did not restore Scenery.cfg"
expected=$(printf '[FS Config]\r\nFS9 Folder=%s\r\nSCENERY Folder=%s\r\nConfig1=%s\r\n' \
    "$scratch/fs9" "$scratch/scenery" "$name"
    for n in 2 3 4 5 6 7 8 9; do printf 'Config%s=\r\n' "$n"; done
    printf 'LastConfig=%s\r\n' "$name")
[ "$(cat "$scratch/exe/Hangar.ini")" = "$expected" ] || fail "settings file: $(cat -A "$scratch/exe/Hangar.ini")"

ini_after_signal=$(printf '[FS Config]\r\nFS9 Folder=%s\r\nSCENERY Folder=%s\r\n' "$scratch/fs9" "$scratch/scenery"
    for n in 1 2 3 4 5 6 7 8 9; do printf 'Config%s=\r\n' "$n"; done
    printf 'LastConfig=\r\n')
for sig in TERM HUP INT; do
    printf '[FS Config]\r\nFS9 Folder=%s\r\nSCENERY Folder=%s\r\n' "$scratch/fs9" "$scratch/scenery" \
        >"$scratch/exe/Hangar.ini"
    set -m # without job control a background job starts with SIGINT ignored
    (cd "$scratch/exe" && exec ./hangar >"$scratch/hangar.log" 2>&1) &
    hangar_pid=$!
    set +m
    (sleep 20; kill -KILL "$hangar_pid" 2>/dev/null) & watchdog=$!
    open_window
    click 190 84          # cmdLOAD: "FS Original" has no snapshot, so an error box opens
    xdotool search --sync --onlyvisible --name '^Error$' >/dev/null
    kill -s "$sig" "$hangar_pid"
    status=0; wait "$hangar_pid" || status=$?
    kill "$watchdog" 2>/dev/null || true
    [ "$status" = 0 ] || fail "SIG$sig: hangar exited with $status"
    [ "$(cat "$scratch/exe/Hangar.ini")" = "$ini_after_signal" ] ||
        fail "SIG$sig: settings file: $(cat -A "$scratch/exe/Hangar.ini")"
done
echo "e2e: 4 passed, 0 failed"
