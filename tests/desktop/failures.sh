#!/bin/sh
# Clear failures: a missing, a corrupt and a never-ending picture end the
# game before any window with one line naming the file and the folders
# looked in; without a
# display it says so in one line. Each exits with status 1.
set -eu
exec xvfb-run -a -s "-screen 0 640x480x24 -nolisten tcp -noreset" sh -eu -c '
build="$2"; . "$1/common.sh"

# expect_one_line LOG PATTERN...: status 1 and a single matching line.
run_expecting_failure() {
    name=$1; shift
    status=0
    (cd "$elsewhere" && exec "$@") >"$work/$name.out" 2>"$work/$name.err" || status=$?
    [ "$status" -eq 1 ] || fail "$name: exit status $status, not 1"
    [ ! -s "$work/$name.out" ] || fail "$name: wrote to standard output"
    [ "$(wc -l <"$work/$name.err")" -eq 1 ] || { cat "$work/$name.err"; fail "$name: not one line"; }
}

mv "$data/bmp/green.bmp" "$work/green.bmp"
run_expecting_failure missing "$game"
grep -q "\"bmp/green.bmp\"" "$work/missing.err" || fail "the line does not name bmp/green.bmp"
grep -q "$elsewhere" "$work/missing.err" || fail "the line does not name the working folder"
grep -q "$data" "$work/missing.err" || fail "the line does not name $data"
# The pictures are checked before any display is touched.
run_expecting_failure missing-nodisplay env -u DISPLAY -u WAYLAND_DISPLAY "$game"
grep -q "bmp/green.bmp" "$work/missing-nodisplay.err" || fail "a display was needed first"
mv "$work/green.bmp" "$data/bmp/green.bmp"

cp "$data/bmp/board.jpg" "$work/board.jpg"
head -c 300 "$work/board.jpg" >"$data/bmp/board.jpg"
run_expecting_failure corrupt "$game"
grep -q "\"bmp/board.jpg\"" "$work/corrupt.err" || fail "the line does not name bmp/board.jpg"

# A sound progressive picture of a scan for every coefficient of its
# brightness: each scan is a pass over the whole picture, and thousands of
# them would keep the start decoding for minutes.
{ echo "0,1,2: 0-0, 0, 0;"
  for k in $(seq 1 63); do echo "0: $k-$k, 0, 0;"; done
  echo "1: 1-63, 0, 0;"; echo "2: 1-63, 0, 0;"
} >"$work/scans.txt"
convert -size 1024x1024 xc:grey ppm:- | cjpeg -scans "$work/scans.txt" >"$data/bmp/board.jpg"
run_expecting_failure scans "$game"
grep -q "\"bmp/board.jpg\"" "$work/scans.err" || fail "the line does not name bmp/board.jpg"
cp "$work/board.jpg" "$data/bmp/board.jpg"

run_expecting_failure nodisplay env -u DISPLAY -u WAYLAND_DISPLAY "$game"
grep -q "no display could be opened" "$work/nodisplay.err" || fail "not the display line"
echo "missing, corrupt and display failures each gave one line and status 1"
' sh "$(dirname "$0")" "$1"
