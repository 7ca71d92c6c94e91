# Shared by the end-to-end scripts, sourced inside their Xvfb session with
# game set: starts the game, finds its main window and reads its pixels.
shot=$(mktemp --suffix=.png)
log=$(mktemp)
"$game" >"$log" 2>&1 &
pid=$!
# The game is waited for: one that is still ending (a computer row takes up
# to 2.5 s) would take the next start of the same program for a second copy.
trap "kill $pid 2>/dev/null || true; wait $pid 2>/dev/null || true; rm -f $shot $log" EXIT
fail() { echo "FAIL: $*"; cat "$log"; exit 1; }

wid=$(timeout 10 xdotool search --sync --onlyvisible --name "Kalvex v1.2" | head -n 1)
[ -n "$wid" ] || fail "the main window did not appear"

# Window coordinates: the board view starts 20 pixels down.
. "$2/pixels.sh" # $2: this folder, as the caller names it
