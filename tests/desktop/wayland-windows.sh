#!/bin/sh
# On weston, natively: the windows carry the desktop entry's application id
# and the game's title; both keep their fixed sizes (the same smallest and
# largest size asked of the compositor, and libdecor's maximise button does
# nothing); the About box, each time it is shown, is the main window's child,
# stays above it, and takes the presses and keys meant for the main window
# without acting on them; its close button changes nothing, and the main
# window's ends the game with status 0.
set -eu
build="$1"; . "$(dirname "$0")/common.sh"; . "$(dirname "$0")/xserver.sh"
. "$(dirname "$0")/../e2e/pixels.sh"; . "$(dirname "$0")/wayland.sh"
screen=1024x768x24
start_server
start_weston 1 480
shot="$work/shot.png"
# The protocol as the game speaks it, kept apart from the logs fail shows.
protocol="$work/protocol.txt"
(cd "$elsewhere" && WAYLAND_DEBUG=client exec "$game") 2>"$protocol" &
game_pid=$!
pids="$pids $game_pid"
about="About Kalvex..."

wait_place "Kalvex v1.2"
main_at="$wx $wy"
weston-debug scene-graph | grep -q "window 'Kalvex v1.2' of org.kalvex.Kalvex" \
    || fail "the main window's application id is not org.kalvex.Kalvex"
[ "$wy" -ge 56 ] || fail "the main window's title bar lies under weston's panel (y $wy)"
on() { set -- $1; wx=$1; wy=$2; }
# libdecor draws a title bar above each window, its buttons at the right,
# each 32 wide: close, maximise, minimise.
title_button() { enter $(($1 - 16 - 32 * $2)) -12; xdotool click 1; }
same() { [ "$(identify -format "%#" "$1")" = "$(identify -format "%#" "$2")" ]; }
# differs WIDTH HEIGHT FILE: the window at wx wy no longer shows that picture.
differs() { snap_window "$1" "$2" "$work/now.png" && ! same "$work/now.png" "$3"; }
# steady FILE: the main window, less where the box covers it, as two
# pictures in a row show it, the pointer parked out of the way.
steady() {
    park
    rm -f "$1"
    wait_for 3 same_again "$1"
}
same_again() {
    snap_window 160 269 "$1.new" && mogrify -fill black -draw "$cover" "$1.new"
    [ -f "$1" ] && same "$1" "$1.new"
    result=$?; mv "$1.new" "$1"; return $result
}

# toplevel N: the N-th toplevel the game made, as the protocol names it.
toplevel() { sed -n "s/.*get_toplevel(new id \(xdg_toplevel@[0-9]*\)).*/\1/p" "$protocol" | sed -n "$1p"; }
# asked TOPLEVEL: the last smallest and largest sizes asked for it.
asked() {
    for what in min max; do
        grep "$1\.set_${what}_size" "$protocol" | tail -n 1 | sed "s/.*(//; s/)//"
    done | tr "\n" " "
}
fixed() { set -- $(asked "$1"); [ "$1 $2" = "$3 $4" ] && [ "$1" != "0," ]; }
main=$(toplevel 1)
fixed "$main" || fail "the main window may be resized: $(asked "$main")"
# Its maximise button: no request, no move (seen once the menu, opened
# afterwards, shows).
title_button 160 1

# The middle of the box's OK button, below its five lines and the web
# page's button.
ok_y=125
for round in 1 2; do
    on "$main_at"
    # "About..." is the fourth item of the menu.
    snap_window 160 269 "$work/closed.png"
    enter 10 8
    xdotool click 1
    wait_for 5 differs 160 269 "$work/closed.png" || fail "round $round: the menu did not open"
    ! grep -q "set_maximized" "$protocol" || fail "the main window was maximised"
    [ "$(place "Kalvex v1.2")" = "$main_at" ] || fail "the main window moved to $(place "Kalvex v1.2")"
    enter 30 88
    xdotool click 1
    wait_place "$about"
    box_at="$wx $wy"
    # Its size follows its texts, which are longer in some languages.
    set -- $(extent "$about"); bw=$1; bh=$2
    box=$(toplevel $((round + 1)))
    wait_for 5 grep -q "$box.set_parent($main)" "$protocol" \
        || fail "round $round: the About box ($box) is not the child of $main"
    fixed "$box" || fail "round $round: the About box may be resized: $(asked "$box")"
    snap_window $bw $bh "$work/box.png"

    # A press on the main window where the box has its OK button, and F10:
    # the main window stays below the box, and neither acts. The press goes
    # where the box's title bar and shadow leave the main window bare; the
    # box's close button is pressed too, and the Tab that follows in the box,
    # once it shows, means all of it has been handled.
    # Where weston put the box it may cover that place: then the box is
    # dragged to the right of it, as weston lets a window be dragged with
    # the Super key held.
    set -- $box_at $main_at
    bx=$(($1 - $3)); by=$(($2 - $4))
    if [ $bx -lt 40 ] && [ $((bx + bw + 24)) -ge 15 ] \
        && [ $((by - 48)) -le $ok_y ] && [ $((by + bh + 24)) -ge $ok_y ]; then
        on "$box_at"
        enter 100 60
        xdotool keydown super mousedown 1
        pointer $((100 + 40 - bx)) 60
        xdotool mouseup 1 keyup super
        wait_for 5 moved "$about" "$box_at" || fail "round $round: the About box could not be moved"
        box_at=$(place "$about")
        bx=40
    fi
    cover="rectangle $((bx - 24)),$((by - 48)) $((bx + bw + 24)),$((by + bh + 24))"
    on "$main_at"
    steady "$work/main.png"
    enter 15 $ok_y
    xdotool click 1
    xdotool key F10
    on "$box_at"
    title_button $bw 0
    xdotool key Tab
    wait_for 5 differs $bw $bh "$work/box.png" || fail "round $round: the About box took no Tab"
    [ -n "$(place "$about")" ] || fail "round $round: a press or close put the About box away"
    weston-debug scene-graph | grep "top-level window" | head -n 1 | grep -q "'$about'" \
        || fail "round $round: the main window went above the About box"
    on "$main_at"
    steady "$work/after.png"
    same "$work/after.png" "$work/main.png" \
        || fail "round $round: the main window took input while the About box was shown"

    # OK puts it away.
    on "$box_at"
    enter 100 $ok_y
    xdotool click 1
    wait_for 5 sh -c "! weston-debug scene-graph | grep -q \"window '$about'\"" \
        || fail "round $round: OK left the About box shown"
done

on "$main_at"
title_button 160 0
wait_for 3 exited "$game_pid" || fail "closing the main window did not end the game"
reap "$game_pid"
[ "$status" -eq 0 ] || fail "closing the main window ended the game with status $status"
echo "fixed sizes; the About box a modal child each time; close honoured as the flags say"
