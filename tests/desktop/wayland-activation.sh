#!/bin/sh
# On sway, nested in the test's Xvfb: a compositor that draws the frames
# itself and has activation, which weston 10 has not. The game runs there
# natively without any libdecor plugin, even with DISPLAY set, its window
# floating at its fixed size; its first
# window activates with the launcher's token, which ends the launch's
# notification; and a second start hands its token to the running game,
# which activates with it and so takes the focus from the window the user
# went on to.
set -eu
build="$1"; feedback="$2"; . "$(dirname "$0")/common.sh"; . "$(dirname "$0")/xserver.sh"
start_server
mkdir -m 700 "$work/sway" "$work/no-plugins"
printf "xwayland disable\nfocus_on_window_activation focus\n" >"$work/sway.conf"
# sway refuses to run as root: there it runs as nobody, in a folder of its
# own that the test can still reach.
as=""
if [ "$(id -u)" -eq 0 ]; then
    chmod 711 "$work"; chmod 644 "$work/sway.conf"; chown nobody "$work/sway"
    as="setpriv --reuid=nobody --regid=nogroup --clear-groups"
fi
XDG_RUNTIME_DIR="$work/sway" WLR_BACKENDS=x11 WLR_RENDERER=pixman \
    $as sway -c "$work/sway.conf" >"$work/sway.out" 2>&1 &
pids="$pids $!"
wait_for 30 sh -c "ls '$work'/sway/sway-ipc.*.sock && ls '$work'/sway/wayland-*.lock" \
    || fail "sway did not start: $(tail -n 3 "$work/sway.out")"
SWAYSOCK=$(ls "$work"/sway/sway-ipc.*.sock)
WAYLAND_DISPLAY=$(ls "$work"/sway/wayland-*.lock | sed "s/\.lock$//")
export SWAYSOCK WAYLAND_DISPLAY
shown() { swaymsg -t get_tree | grep -q "\"app_id\": \"$1\""; }
focused() { swaymsg "[app_id=\"$1\" con_id=__focused__] nop"; }
game_id=org.kalvex.Kalvex
protocol="$work/protocol.txt"

token=$("$feedback" token) || fail "sway gave no activation token"
(cd "$elsewhere" && XDG_ACTIVATION_TOKEN="$token" LIBDECOR_PLUGIN_DIR="$work/no-plugins" \
    WAYLAND_DEBUG=client exec "$game") 2>"$protocol" &
pids="$pids $!"
wait_for 10 shown "$game_id" || fail "the game shows no window on sway"
# A window of a fixed size floats: sway heard it may not be resized.
swaymsg "[app_id=\"$game_id\" floating] nop" >/dev/null || fail "sway tiles the game's window"
wait_for 5 grep -q "xdg_activation_v1@[0-9]*\.activate(\"$token\", wl_surface@" "$protocol" \
    || fail "the first window did not activate with the launcher's token"

# The user goes on in another window (weston's flower demo: its simpler one
# gives up when the compositor holds both its buffers).
weston-flower >/dev/null 2>&1 &
pids="$pids $!"
wait_for 10 sh -c "! swaymsg '[app_id=\"$game_id\" con_id=__focused__] nop'" \
    || fail "the game kept the focus from the other window"

token=$("$feedback" token) || fail "sway gave no second activation token"
status=0
(cd "$elsewhere" && XDG_ACTIVATION_TOKEN="$token" exec timeout 10 "$game") >"$work/second.log" 2>&1 || status=$?
[ "$status" -eq 0 ] || fail "the second start ended with status $status"
wait_for 5 grep -q "xdg_activation_v1@[0-9]*\.activate(\"$token\", wl_surface@" "$protocol" \
    || fail "the running game did not activate with the second start's token"
wait_for 5 focused "$game_id" || fail "the second start did not give the running game the focus"
echo "native on sway without libdecor; both launch tokens used; the later start brought the game forward"
