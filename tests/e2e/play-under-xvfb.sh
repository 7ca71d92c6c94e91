#!/bin/sh
# Starts the real game under Xvfb, drags one peg of each of the first five
# colours into row 13, checks the pegs and the row's marks on the screen,
# then chooses "CPU Play" and waits for the computer's first peg.
set -eu
game="$1"
exec xvfb-run -a -s "-screen 0 400x400x24 -nolisten tcp -noreset" sh -eu -c '
game="$1"
. "$2/game-on-screen.sh"
sleep 0.5
drag() { # from window point to window point, moving with the button held
    xdotool mousemove --window "$wid" "$1" "$2" mousedown 1
    sleep 0.15
    xdotool mousemove --window "$wid" $(($1 + 2)) $(($2 + 2))
    sleep 0.15
    xdotool mousemove --window "$wid" "$3" "$4"
    sleep 0.15
    xdotool mouseup 1
    sleep 0.2
}
menu() { # choose the menu item at window height $1
    xdotool mousemove --window "$wid" 10 8 click 1
    sleep 0.3
    xdotool mousemove --window "$wid" 30 "$1" click 1
    sleep 0.3
}

for k in 0 1 2 3 4; do
    drag 144 $((109 + 16 * k)) $((16 + 16 * k)) 237
done
snap
for k in 0 1 2 3 4; do
    palette=$(px 144 $((109 + 16 * k)))
    hole=$(px $((16 + 16 * k)) 237)
    near "$palette" "$hole" 60 || fail "hole $k of row 13 shows $hole, its peg looks like $palette"
done
read_marks
echo "row 13 marks: $marks"

# Give Up shows the secret; work out the score it must have given.
menu 50
snap
read_secret || fail "a peg of the secret matches no palette colour"
expected=$(expected_marks 01234)
echo "secret $secret, expected marks $expected"
[ "$marks" = "$expected" ] || fail "row 13 marks $marks, the secret $secret gives $expected"

# The computer opens with red in hole 0 of row 13, half a second a peg.
menu 69
red=$(px 144 109)
for try in 1 2 3 4 5 6 7 8 9 10; do
    sleep 0.3
    snap
    if near "$(px 16 237)" "$red" 60; then
        echo "the computer placed its first peg"
        exit 0
    fi
done
fail "no computer peg appeared in row 13"
' sh "$game" "$(dirname "$0")"
