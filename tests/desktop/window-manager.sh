#!/bin/sh
# Under a real window manager: the About box, each time it is shown, is a
# modal dialog transient for the main window and stays in front of it, with
# the focus, however often the main window is pressed; neither window offers what its flags forbid; a
# close request on the About box changes nothing, one on the main window
# ends the game with status 0. Run under openbox, or under the window manager
# named as the third argument.
set -eu
build="$1"; . "$(dirname "$0")/common.sh"; . "$(dirname "$0")/xserver.sh"
start_server
start_window_manager "${3:-openbox}" 2>/dev/null
start_game game
game_pid=$last_pid
main=$(game_window)
[ -n "$main" ] || fail "no main window"

# actions ID: the window manager's allowed actions, one a line.
actions() { xprop -id "$1" _NET_WM_ALLOWED_ACTIONS | tr -d , | tr " " "\n" | grep _ACTION_; }
# forbids ID ACTION...: none of the actions is offered.
forbids() {
    id=$1; shift
    for action in "$@"; do
        ! actions "$id" | grep -q "^_NET_WM_ACTION_$action" \
            || fail "window $id offers $action: $(actions "$id" | tr "\n" " ")"
    done
}
top_client() { xprop -root _NET_CLIENT_LIST_STACKING | awk "{ print \$NF }"; }
active() { xprop -root _NET_ACTIVE_WINDOW | awk "{ print \$NF }"; }
hex() { printf "0x%x" "$1"; }

wait_for 5 sh -c "xprop -id $main _NET_WM_ALLOWED_ACTIONS | grep -q MOVE" || fail "main window not managed"
forbids "$main" MAXIMIZE RESIZE
actions "$main" | grep -q _NET_WM_ACTION_CLOSE || fail "the main window cannot be closed"

# The box is shown twice: window managers clear a window's state when it is
# hidden, and it has to be modal and in front the second time as well.
for round in 1 2; do
# "About..." is the fourth item of the menu.
xdotool mousemove --window "$main" 10 8 click 1
sleep 0.3
xdotool mousemove --window "$main" 30 88 click 1
about=$(timeout 10 xdotool search --sync --onlyvisible --name "About Kalvex" | head -n 1)
[ -n "$about" ] || fail "round $round: no About box"
wait_for 5 sh -c "xprop -id $about _NET_WM_ALLOWED_ACTIONS | grep -q MOVE" || fail "About box not managed"
xprop -id "$about" WM_TRANSIENT_FOR | grep -q "$(hex "$main")\$" || fail "round $round: About box not transient for the main window"
xprop -id "$about" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DIALOG || fail "round $round: About box is no dialog"
xprop -id "$about" _NET_WM_STATE | grep -q _NET_WM_STATE_MODAL || fail "round $round: About box not modal"
forbids "$about" MAXIMIZE RESIZE
# Openbox keeps close and minimise whatever the Motif hints say, on purpose;
# window managers that follow the hints offer neither.
[ "$wm" = openbox ] || forbids "$about" CLOSE MINIMIZE
# Motif functions: move (4) only; decorations without minimise and maximise.
xprop -id "$about" _MOTIF_WM_HINTS | grep -q "= 0x3, 0x4, " || fail "About box Motif hints: $(xprop -id "$about" _MOTIF_WM_HINTS)"

for press in 1 2 3; do
    xdotool mousemove --window "$main" 20 200 click 1
    sleep 0.2
    [ "$(top_client)" = "$(hex "$about")" ] || fail "round $round, press $press: the main window went above the About box"
    wait_for 2 sh -c "xprop -root _NET_ACTIVE_WINDOW | grep -q '$(hex "$about")\$'" \
        || fail "round $round, press $press: the About box lost the focus to $(active)"
done

wmctrl -i -c "$about"
sleep 0.3
xdotool search --onlyvisible --name "About Kalvex" | grep -q "^$about\$" || fail "a close request hid the About box"

# "OK" puts the box away: the middle of its button, below the five lines
# and the web-page button.
xdotool mousemove --window "$about" 100 125 click 1
wait_for 5 sh -c "! xdotool search --onlyvisible --name 'About Kalvex' | grep -q ." || fail "OK left the About box shown"
done
# Then the main window's close ends the game.
wmctrl -i -c "$main"
wait_for 3 exited "$game_pid" || fail "a close request on the main window did not end the game"
reap "$game_pid"
[ "$status" -eq 0 ] || fail "the game ended with status $status"
echo "About box modal and in front; forbidden actions withheld; close requests honoured as the flags say"
