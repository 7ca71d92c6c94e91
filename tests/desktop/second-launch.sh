#!/bin/sh
# A second launch of the same installed game brings the running window to
# the front and ends with status 0 without a window of its own; after the
# first copy is killed outright, the next launch starts normally.
set -eu
exec xvfb-run -a -s "-screen 0 640x480x24 -nolisten tcp -noreset" sh -eu -c '
build="$2"; . "$1/common.sh"

# Children of the root window are listed top first.
top_window() { xwininfo -root -children | awk "/^ +0x/ { print \$1; exit }"; }

start_game first
first=$last_pid
wid=$(game_window)
[ -n "$wid" ] || fail "the first copy opened no window"
hex=$(printf "0x%x" "$wid")

# Another program'"'"'s window covers the game.
xmessage -geometry 300x300+0+0 "covering the game" &
pids="$pids $!"
timeout 10 xdotool search --sync --onlyvisible --name xmessage >/dev/null
[ "$(top_window)" != "$hex" ] || fail "the covering window is not on top"

status=0
(cd "$elsewhere" && exec timeout 10 "$game") >"$work/second.log" 2>&1 || status=$?
[ "$status" -eq 0 ] || fail "the second launch ended with status $status"
count=$(xdotool search --name "Kalvex v1.2" | wc -l)
[ "$count" -eq 1 ] || fail "$count game windows after the second launch"
kill -0 "$first" || fail "the first copy has gone"
for try in 1 2 3 4 5 6 7 8 9 10; do
    [ "$(top_window)" = "$hex" ] && break
    sleep 0.2
done
[ "$(top_window)" = "$hex" ] || fail "the running game was not brought to the front"

# A copy that crashed leaves nothing that blocks the next start.
kill -9 "$first"
wait "$first" 2>/dev/null || true
start_game third
[ -n "$(game_window)" ] || fail "no window after the first copy was killed"
# Its socket, left behind, is taken over without a word of doubt.
[ ! -s "$work/third.log" ] || fail "the next start doubted the rendezvous"
echo "second launch activated the first copy; a crash left nothing behind"
' sh "$(dirname "$0")" "$1"
