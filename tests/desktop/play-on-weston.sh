#!/bin/sh
# The installed game natively on weston, at scale 1 and at scale 2, with
# DISPLAY set as in any desktop session: a row dragged with the pointer and
# its marks read off the screen against the secret that Give Up shows, the
# About box opened and put away with keys, and Quit from the keyboard ending
# the game with status 0. At scale 2 the window shows the scale-1 picture
# with every pixel a 2x2 block. With KX_KEEP_PICTURES naming a folder, the
# two pictures are left there.
set -eu
build="$1"; . "$(dirname "$0")/common.sh"; . "$(dirname "$0")/xserver.sh"
. "$(dirname "$0")/../e2e/pixels.sh"; . "$(dirname "$0")/wayland.sh"
screen=1024x768x24
start_server
shot="$work/shot.png"
pictures=${KX_KEEP_PICTURES:-$work}
keys() { xdotool key --delay 30 "$@"; }
# until_shown COMMAND...: fresh pictures until the command holds, up to 5 s.
snap_and() { snap && "$@"; }
until_shown() { wait_for 5 snap_and "$@"; }
# The board drawn (not the grey of a window still empty) and the same as in
# the picture before.
settled() {
    now=$(identify -format "%#" "$shot")
    [ "$(px 80 150)" != "216 216 216" ] && [ "$now" = "${before:-}" ]
    result=$?; before=$now; return $result
}
# Weston draws the pointer into its output, down and right of its tip: the
# pegs are read a little up and left of the middle, where the tip is.
hole() { px $((13 + 16 * $1)) 234; }
changed() { [ "$(hole "$1")" != "$2" ]; }
# placed K: hole K of row 13 shows the peg of palette slot K.
placed() { near "$(px 141 $((106 + 16 * $1)))" "$(hole "$1")" 60; }

for s in 1 2; do
    start_weston "$s"
    start_game "scale$s"
    game_pid=$last_pid
    wait_place "Kalvex v1.2"
    main_at="$wx $wy"
    # The first picture, once it has settled, before anything is played.
    until_shown settled || fail "scale $s: the board never settled"
    snap_window 160 269 "$pictures/board-at-scale-$s.png"
    xdotool windowfocus --sync "$output"

    # Each peg: pressed on the palette and moved onto its hole at once; let
    # go once the half-transparent peg shows over the hole.
    for k in 0 1 2 3 4; do
        empty=$(hole $k)
        enter 144 $((109 + 16 * k))
        xdotool mousedown 1
        pointer $((16 + 16 * k)) 237
        until_shown changed $k "$empty" || fail "scale $s: no drag from palette slot $k"
        xdotool mouseup 1
        until_shown placed $k || fail "scale $s: hole $k of row 13 shows $(hole $k)"
    done
    read_marks
    echo "scale $s: row 13 marks $marks"

    # Give Up (the second item) shows the secret beneath the board.
    keys F10 Down Return
    until_shown read_secret || fail "scale $s: the secret is not shown after Give Up"
    expected=$(expected_marks 01234)
    [ "$marks" = "$expected" ] || fail "scale $s: marks $marks, the secret $secret gives $expected"

    # About... is the fourth item; Tab, Tab and Space press its OK.
    keys F10 Down Down Down Return
    wait_place "About Kalvex..."
    keys Tab Tab space
    wait_for 5 sh -c "! weston-debug scene-graph | grep -q \"window 'About Kalvex...'\"" \
        || fail "scale $s: the About box is still shown"

    # Weston leaves the keyboard with no window when one hides: a press on
    # the board, which does nothing once the game is over, gives it back.
    set -- $main_at; wx=$1; wy=$2
    enter 80 150
    xdotool click 1
    # Quit is the last item, one step up from the first.
    keys F10 Up Return
    wait_for 5 exited "$game_pid" || fail "scale $s: the game did not quit"
    reap "$game_pid"
    [ "$status" -eq 0 ] || fail "scale $s: the game quit with status $status"
    stop_weston
done

# Sharp: the larger picture is the smaller one with each pixel doubled.
convert "$pictures/board-at-scale-1.png" -scale 200% "$work/doubled.png"
differing=$(compare -metric AE "$work/doubled.png" "$pictures/board-at-scale-2.png" null: 2>&1) || true
[ "$differing" = 0 ] || fail "at scale 2, $differing pixels differ from the scale-1 picture doubled"
echo "played at scale 1 and 2; the scale-2 picture is the scale-1 one in 2x2 blocks"
