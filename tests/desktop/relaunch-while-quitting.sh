#!/bin/sh
# A start while the running copy quits still leaves a game. The computer
# plays; once its first peg shows, the first copy is told to quit (by
# SIGTERM, then by Quit from the menu) with its row unfinished, which keeps
# it up to 2.5 s, and a second copy starts at once. Within five seconds the
# first has ended with status 0 and exactly one game window shows: the
# second copy's.
set -eu
build="$1"; . "$(dirname "$0")/common.sh"; . "$(dirname "$0")/xserver.sh"
. "$(dirname "$0")/../e2e/pixels.sh"
start_server
shot="$work/shot.png"

# The computer opens with red in hole 0 of row 13.
first_peg_shown() { snap && near "$(px 16 237)" "$(px 144 109)" 60; }
# The open menu covers this point of the board.
menu_shown() { snap && ! near "$(px 40 60)" "$board" 8; }
# The one game window on the screen belongs to the second copy.
second_shows() {
    windows=$(xdotool search --onlyvisible --name "Kalvex v1.2" || true)
    [ "$(echo "$windows" | grep -c .)" -eq 1 ] \
        && [ "$(xdotool getwindowpid "$windows")" = "$second" ]
}

for how in TERM menu; do
    start_game "first-$how"
    first=$last_pid
    wid=$(game_window)
    [ -n "$wid" ] || fail "$how: the first copy opened no window"
    # No window manager runs: give the window the keyboard as one would.
    xdotool windowfocus --sync "$wid"
    xdotool key --delay 60 F10 Down Down Return
    wait_for 5 first_peg_shown || fail "$how: the computer placed no peg"
    if [ "$how" = TERM ]; then
        kill -TERM "$first"
    else
        # Quit is chosen once the menu has closed on the screen; the window
        # has its command queued by then, ahead of any later copy's request.
        snap
        board=$(px 40 60)
        xdotool key --delay 60 F10 Up
        wait_for 5 menu_shown || fail "the menu did not open"
        xdotool key Return
        wait_for 5 eval '! menu_shown' || fail "the menu did not close"
    fi
    start_game "second-$how"
    second=$last_pid
    # At least two pegs of the row are still to come.
    kill -0 "$first" || fail "$how: the first copy ended before the second began"

    wait_for 5 second_shows || fail "$how: no window of the second copy alone within 5 s (first copy $(exited "$first" && echo ended || echo running), second $(exited "$second" && echo ended || echo running), windows $(xdotool search --onlyvisible --name "Kalvex v1.2" | tr "\n" " "))"
    exited "$first" || fail "$how: the first copy still runs"
    reap "$first"
    [ "$status" -eq 0 ] || fail "$how: the first copy ended with status $status"
    [ ! -s "$work/second-$how.log" ] || fail "$how: the second copy wrote $(cat "$work/second-$how.log")"
    kill "$second"
    wait_for 5 exited "$second" || fail "$how: the second copy did not end"
    reap "$second"
done
echo "a start while the first copy quit showed the second copy's window"
