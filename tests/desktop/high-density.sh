#!/bin/sh
# At 192 dots per inch the window is shown twice as large, 320 by 538, and a
# peg dragged with the real pointer in screen pixels lands in the hole under
# it: palette red at board (144, 89) onto hole 0 of row 13 at board (16, 217).
set -eu
exec xvfb-run -a -s "-screen 0 800x800x24 -dpi 192 -nolisten tcp -noreset" sh -eu -c '
build="$2"; . "$1/common.sh"

start_game game
wid=$(game_window)
[ -n "$wid" ] || fail "no window"
[ "$(window_size "$wid")" = "320x538" ] || fail "window is $(window_size "$wid"), not 320x538"
sleep 0.3

shot="$work/shot.png"
px() { convert "$shot" -format "%[fx:int(255*p{$1,$2}.r+.5)] %[fx:int(255*p{$1,$2}.g+.5)] %[fx:int(255*p{$1,$2}.b+.5)]" info:; }
# Window pixels are twice the game'"'"'s: the board view starts 20 down.
xdotool mousemove --window "$wid" 288 218 mousedown 1
sleep 0.15
xdotool mousemove --window "$wid" 292 222
sleep 0.15
xdotool mousemove --window "$wid" 32 474
sleep 0.15
xdotool mouseup 1
sleep 0.4
import -window "$wid" "$shot"
palette=$(px 288 218)
hole=$(px 32 474)
near() { # near "r g b" "r g b": within 60 in each channel
    echo "$1 $2" | awk "{d=0; for(i=1;i<=3;i++){x=\$i-\$(i+3); if(x<0)x=-x; if(x>d)d=x}; exit !(d<=60)}"
}
near "$palette" "$hole" || fail "the hole shows $hole, the red peg is $palette"
# Both screen pixels of one game pixel show the same colour: no smoothing.
[ "$(px 288 218)" = "$(px 289 219)" ] || fail "enlarged pixels differ"
echo "320x538 window; the dragged peg landed in hole 0 of row 13"
' sh "$(dirname "$0")" "$1"
