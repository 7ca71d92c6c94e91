#!/bin/sh
# Starts the real game under Xvfb and plays it with real key presses only:
# a row typed and scored, Give Up by F10, the About box opened and put away
# with Tab and Space, and Quit from the menu.
set -eu
game="$1"
exec xvfb-run -a -s "-screen 0 400x400x24 -nolisten tcp -noreset" sh -eu -c '
game="$1"
. "$2/game-on-screen.sh"
# No window manager runs: give the window the keyboard as one would.
xdotool windowfocus --sync "$wid"
# Polls the screen until the command holds, up to five seconds.
until_shown() {
    for try in $(seq 1 50); do
        snap
        if "$@"; then return 0; fi
        sleep 0.1
    done
    return 1
}
keys() { xdotool key --delay 60 "$@"; }

# Window coordinates: the board view starts 20 pixels down. Row 13 gets
# the colours 0, 2, 1, 3, 4: Right twice, then the pegs, round the row.
keys Right Right 2 4 5 1 3
order="0 2 1 3 4"
row_placed() {
    k=0
    for c in $order; do
        near "$(px 144 $((109 + 16 * c)))" "$(px $((16 + 16 * k)) 237)" 60 || return 1
        k=$((k + 1))
    done
}
until_shown row_placed || fail "row 13 does not show the pegs typed"
read_marks
echo "row 13 marks: $marks"

# Give Up (the second item) shows the secret beneath the board.
# The band beneath the board before the secret shows in it.
band=""
for i in 0 1 2 3 4; do band="$band$(px $((12 + 16 * i)) 260)|"; done
keys F10 Down Return
secret_shown() {
    now=""
    for i in 0 1 2 3 4; do now="$now$(px $((12 + 16 * i)) 260)|"; done
    [ "$now" != "$band" ] && read_secret
}
until_shown secret_shown || fail "the secret is not shown after Give Up"
expected=$(expected_marks 02134)
echo "secret $secret, expected marks $expected"
[ "$marks" = "$expected" ] || fail "row 13 marks $marks, the secret $secret gives $expected"

# About... is the fourth item; Tab, Tab and Space put the box away.
keys F10 Down Down Down Return
about=$(timeout 10 xdotool search --sync --onlyvisible --name "About Kalvex" | head -n 1)
[ -n "$about" ] || fail "the About box did not appear"
xdotool windowfocus --sync "$about"
keys Tab Tab space
for try in $(seq 1 50); do
    xdotool search --onlyvisible --name "About Kalvex" >/dev/null || break
    sleep 0.1
done
! xdotool search --onlyvisible --name "About Kalvex" >/dev/null || fail "the About box is still shown"
echo "the About box was put away"

# Quit is the last item, one step up from the first.
xdotool windowfocus --sync "$wid"
keys F10 Up Return
for try in $(seq 1 50); do
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
done
kill -0 $pid 2>/dev/null && fail "the game did not quit"
wait $pid || fail "the game quit with status $?"
echo "the game quit"
' sh "$game" "$(dirname "$0")"
