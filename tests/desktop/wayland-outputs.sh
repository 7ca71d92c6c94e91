#!/bin/sh
# On weston with two outputs, the first at scale 1 and the second at scale 2:
# the game started on the first draws at scale 1; dragged onto the second
# (weston moves a window dragged with the Super key held), it follows and
# draws at scale 2, every pixel a 2x2 block of the picture it showed before.
set -eu
build="$1"; . "$(dirname "$0")/common.sh"; . "$(dirname "$0")/xserver.sh"
. "$(dirname "$0")/../e2e/pixels.sh"; . "$(dirname "$0")/wayland.sh"
screen=1280x800x24
start_server
start_weston 1 360 2
second=$(output_window X2)
# Side by side on the X screen too, so that neither hides the other.
xdotool windowmove --sync "$second" 400 0
shot="$work/shot.png"
protocol="$work/protocol.txt"

# Weston puts a new window on the output its pointer is on.
park
on_first() {
    x=$(weston-debug scene-graph | grep -A 1 "cursor" | sed -n "s/.*position: (\([0-9-]*\),.*/\1/p")
    [ -n "$x" ] && [ "$x" -lt 300 ]
}
wait_for 5 on_first || fail "weston's pointer is not on the first output"
(cd "$elsewhere" && WAYLAND_DEBUG=client exec "$game") 2>"$protocol" &
pids="$pids $!"
wait_place "Kalvex v1.2"
# drawn_at SCALE: the main window's last frame was drawn at that scale.
main_surface=$(sed -n "s/.*get_xdg_surface(new id xdg_surface@[0-9]*, \(wl_surface@[0-9]*\)).*/\1/p" "$protocol" | head -n 1)
drawn_at() { grep "$main_surface\.set_buffer_scale" "$protocol" | tail -n 1 | grep -q "($1)"; }
# shows FILE: the window shows that picture, in the game's pixels.
shows() { snap && [ "$(identify -format "%#" "$shot")" = "$(identify -format "%#" "$1")" ]; }
settled() { shows "$work/last.png" && [ "$(px 80 150)" != "216 216 216" ] || { cp "$shot" "$work/last.png"; false; }; }
touch "$work/last.png"
park
wait_for 5 settled || fail "the board never settled on the first output"
drawn_at 1 || fail "the window on the scale-1 output draws at another scale"
snap_window 160 269 "$work/first.png"

# drag FROM TO: the window dragged from its point at x FROM to x TO, on the
# output in output, whose left edge lies at left among the outputs: weston
# keeps the X pointer in an output's window while a button is held.
drag() {
    was=$(place "Kalvex v1.2")
    enter "$1" 150
    xdotool keydown super mousedown 1
    pointer "$2" 150
    xdotool mouseup 1 keyup super
    wait_for 5 moved "Kalvex v1.2" "$was" || fail "the window could not be dragged"
    set -- $(place "Kalvex v1.2")
    wx=$(($1 - left)); wy=$2
}
# Across the edge first, then all onto the second output.
left=0
drag 10 $((310 - wx))
output=$second; scale=2; left=360; wx=$((wx - left))
drag 100 220
wait_for 5 drawn_at 2 || fail "dragged onto the scale-2 output, the window still draws at its old scale"
park
wait_for 5 shows "$work/last.png" || fail "the window on the scale-2 output does not show the board it showed before"
snap_window 160 269 "$work/second.png"
convert "$work/first.png" -scale 200% "$work/doubled.png"
differing=$(compare -metric AE "$work/doubled.png" "$work/second.png" null: 2>&1) || true
[ "$differing" = 0 ] || fail "on the scale-2 output $differing pixels differ from the scale-1 picture doubled"
echo "the window followed from the scale-1 output to the scale-2 one and drew sharp there"
