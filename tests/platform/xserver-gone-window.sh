#!/bin/sh
# The probe must survive the X server refusing its message and say so.
set -eu
out=$(xvfb-run -a -s "-screen 0 640x480x24 -nolisten tcp -noreset" "$1" 2>&1) || {
    echo "$out"
    exit 1
}
echo "$out"
[ "$out" = "passed over" ]
