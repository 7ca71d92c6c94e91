#!/bin/sh
# Which window system the game takes, with an X server and a weston at hand:
# the compositor natively (play-on-weston.sh), but X11 where the compositor
# would show the windows without frames (it draws none and no libdecor
# plugin is found), where WAYLAND_DISPLAY names no compositor, and where the
# user's SDL_VIDEODRIVER says x11. Frameless natively when there is no X11
# to turn to; with no display at all, one line and status 1. A compositor
# that goes away ends the game within a second, with one line and status 1.
set -eu
build="$1"; . "$(dirname "$0")/common.sh"; . "$(dirname "$0")/xserver.sh"
. "$(dirname "$0")/wayland.sh"
screen=1024x768x24
start_server
start_weston 1
mkdir "$work/no-plugins"

on_x11() { xdotool search --onlyvisible --name "Kalvex v1.2" >/dev/null; }
on_weston() { [ -n "$(place "Kalvex v1.2")" ]; }
# shows LOG WHERE ENVIRONMENT...: the game started with that environment
# shows its window on X11 or on weston, and is ended.
shows() {
    log=$1; where=$2; shift 2
    (cd "$elsewhere" && exec env "$@" "$game") >"$work/$log.log" 2>&1 &
    pids="$pids $!"
    wait_for 10 "on_$where" || fail "$log: no window on $where"
    kill "$!"; wait "$!" 2>/dev/null || true
    wait_for 5 sh -c "! xdotool search --onlyvisible --name 'Kalvex v1.2' && ! weston-debug scene-graph | grep -q 'Kalvex v1.2'"
}
shows bare-frames x11 LIBDECOR_PLUGIN_DIR="$work/no-plugins"
shows no-compositor x11 WAYLAND_DISPLAY=kx-nobody
shows users-choice x11 SDL_VIDEODRIVER=x11
shows frameless-only weston -u DISPLAY LIBDECOR_PLUGIN_DIR="$work/no-plugins"

# Also where the runtime folder the compositor's name is relative to is not set.
for unset in "" "-u XDG_RUNTIME_DIR"; do
    status=0
    (cd "$elsewhere" && exec env -u DISPLAY $unset WAYLAND_DISPLAY=kx-nobody "$game") >"$work/none.out" 2>&1 || status=$?
    [ "$status" -eq 1 ] && [ "$(wc -l <"$work/none.out")" -eq 1 ] && grep -q "no display could be opened" "$work/none.out" \
        || fail "no display ($unset): status $status, $(cat "$work/none.out")"
done

start_game lost
game_pid=$last_pid
wait_for 10 on_weston || fail "no window on weston"
stop_weston
wait_for 1 exited "$game_pid" || fail "the game outlived its compositor by a second"
reap "$game_pid"
[ "$status" -eq 1 ] || fail "lost compositor: status $status"
[ "$(wc -l <"$work/lost.log")" -eq 1 ] || fail "lost compositor: not one line: $(cat "$work/lost.log")"
grep -q "lost the connection to the Wayland compositor $WAYLAND_DISPLAY" "$work/lost.log" \
    || fail "lost compositor: $(cat "$work/lost.log")"
echo "X11 where frames or the compositor are missing or the user says so; a lost compositor ends the game"
