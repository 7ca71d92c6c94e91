#!/bin/sh
# The probe's white window gets a black rectangle on a line of input: the
# screen must show the whole rectangle, its last column and row too, and
# nothing past it; and the window's own last column and row from its first
# frame.
set -eu
exec xvfb-run -a -s "-screen 0 640x480x24 -nolisten tcp -noreset" sh -eu -c '
dir=$(mktemp -d)
mkfifo "$dir/input"
"$1" patch <"$dir/input" &
pid=$!
exec 3>"$dir/input"
trap "kill $pid 2>/dev/null || true; rm -rf $dir" EXIT
wid=$(timeout 10 xdotool search --sync --onlyvisible --name "kx patch probe" | head -n 1)
[ -n "$wid" ] || { echo "the window did not appear"; exit 1; }
# The red of a window pixel, 0 to 255.
red() { convert "$dir/shot.png" -format "%[fx:int(255*p{$1,$2}.r+.5)]" info:; }
# Polls the screen for five seconds until the pixel has that red.
until_red() {
    for try in $(seq 1 50); do
        import -window "$wid" "$dir/shot.png"
        [ "$(red "$1" "$2")" = "$3" ] && return 0
        sleep 0.1
    done
    return 1
}
until_red 0 0 255 || { echo "the window stayed blank"; exit 1; }
echo >&3
until_red 10 10 0 || { echo "no rectangle was drawn"; exit 1; }
seen="$(red 29 10) $(red 10 19) $(red 29 19) $(red 30 19) $(red 29 20) $(red 59 39)"
echo "corners 29,10 10,19 29,19; beyond 30,19 29,20; window 59,39: $seen"
[ "$seen" = "0 0 0 255 255 255" ]
' sh "$1"
