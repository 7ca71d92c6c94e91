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

# read_secret: the secret shown beneath the board, as colour numbers, into
# secret: for each peg the palette colour closest to it. False when a peg
# is near none of them.
read_secret() {
    secret=""
    for i in 0 1 2 3 4; do
        seen=$(px $((12 + 16 * i)) 260)
        best=""; bestd=1000
        for c in 0 1 2 3 4 5 6 7 8; do
            d=$(echo "$seen $(px 140 $((109 + 16 * c)))" | awk '{ d = 0; for (i = 1; i <= 3; i++) { x = $i - $(i + 3); d += x * x }; print int(sqrt(d)) }')
            if [ "$d" -lt "$bestd" ]; then best=$c; bestd=$d; fi
        done
        [ "$bestd" -le 90 ] || return 1
        secret="$secret$best"
    done
}

# expected_marks GUESS: the marks that secret gives the guess, as the board
# shows a row's: B for each black, W for each white, dots for the rest.
expected_marks() {
    echo "$secret" | awk -v guess="$1" '{
        split(guess, g, ""); split($0, s, ""); e = 0; m = 0
        for (c = 0; c < 9; c++) { a = 0; b = 0
            for (i = 1; i <= 5; i++) { if (s[i] == c) a++; if (g[i] == c) b++ }
            m += (a < b ? a : b) }
        for (i = 1; i <= 5; i++) if (s[i] == g[i]) e++
        out = ""; for (i = 0; i < e; i++) out = out "B"
        for (i = 0; i < m - e; i++) out = out "W"
        while (length(out) < 5) out = out "."
        print out }'
}
