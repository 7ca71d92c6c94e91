#!/bin/sh
# Installs into a temporary prefix, validates the desktop entry and the
# metainfo, checks the icons and the manual page, and starts the installed
# game from another folder and the way its desktop entry says.
set -eu
exec xvfb-run -a -s "-screen 0 640x480x24 -dpi 96 -nolisten tcp -noreset" sh -eu -c '
build="$2"; . "$1/common.sh"

entry="$prefix/share/applications/org.kalvex.Kalvex.desktop"
desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
# Launchers show a busy pointer until the window of the game is there, and
# know the window by the name of the entry.
grep -qx "StartupNotify=true" "$entry" && grep -qx "StartupWMClass=org.kalvex.Kalvex" "$entry" \
    || fail "the entry does not ask for startup notification for org.kalvex.Kalvex"
appstreamcli validate --no-net "$prefix/share/metainfo/org.kalvex.Kalvex.metainfo.xml" \
    || fail "appstreamcli rejects the metainfo"
# The catalogues, and the texts of the entry and the metainfo, in German.
grep -q "^GenericName\[de\]=" "$entry" || fail "the desktop entry has no German texts"
grep -q "<summary xml:lang=\"de\">" "$prefix/share/metainfo/org.kalvex.Kalvex.metainfo.xml" \
    || fail "the metainfo has no German texts"
env -u DISPLAY -u WAYLAND_DISPLAY LC_ALL=C.UTF-8 LANGUAGE=de "$game" 2>"$work/german.log" || true
grep -q "keine Anzeige" "$work/german.log" || fail "the installed game does not find its catalogues: $(cat "$work/german.log")"
for size in 16 32 48 64 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/kalvex.png"
    [ "$(identify -format "%wx%h" "$icon")" = "${size}x${size}" ] || fail "icon $icon"
done
grep -q "^\.TH KALVEX 6" "$prefix/share/man/man6/kalvex.6" || fail "no manual page"
grep -q "$data" "$prefix/share/man/man6/kalvex.6" || fail "the manual page names another data folder"
for f in readme.txt kalvex.html bmp/board.jpg bmp/white.bmp; do
    [ -f "$data/$f" ] || fail "$f is not installed"
done

# From a folder without pictures: found in the installation.
start_game first
wid=$(game_window)
[ -n "$wid" ] || fail "the installed game opened no window"
[ "$(window_size "$wid")" = "160x269" ] || fail "window is $(window_size "$wid"), not 160x269"
kill "$last_pid"; wait "$last_pid" 2>/dev/null || true

# As a launcher does it: in the entry'"'"'s Path, running its Exec.
path=$(sed -n "s/^Path=//p" "$entry")
exec_line=$(sed -n "s/^Exec=//p" "$entry")
[ "$path" = "$data" ] || fail "the entry runs in $path, not $data"
(cd "$path" && exec $exec_line) >"$work/entry.log" 2>&1 &
pids="$pids $!"
[ -n "$(game_window)" ] || fail "the desktop entry started no window"
echo "installed game starts from elsewhere and from its entry"
' sh "$(dirname "$0")" "$1"
