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
snap() { import -window "$wid" "$shot"; }
px() { convert "$shot" -format "%[fx:int(255*p{$1,$2}.r+.5)] %[fx:int(255*p{$1,$2}.g+.5)] %[fx:int(255*p{$1,$2}.b+.5)]" info:; }
near() { # near "r g b" "r g b" tolerance
    set -- $1 $2 $3
    echo "$1 $2 $3 $4 $5 $6 $7" | awk "{d=0; for(i=1;i<=3;i++){x=\$i-\$(i+3); if(x<0)x=-x; if(x>d)d=x}; exit !(d<=\$7)}"
}
