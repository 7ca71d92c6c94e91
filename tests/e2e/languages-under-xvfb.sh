#!/bin/sh
# The game and kalvex-solve in another language, for real. In a German locale
# the messages on standard error are German, output meant for programs keeps
# its C form, and the menu and the About box on the screen are German: their
# pictures are kept in BUILD/screenshots. A damaged catalogue leaves English
# and says so; a language without one is English without a word.
# Usage: languages-under-xvfb.sh BUILD
set -eu
build=$(cd "$1" && pwd)
cd "$(dirname "$0")/../.."
sh tests/support/german-locale.sh "$build/tests/locale"
[ ! -d "$build/tests/locale/de_DE.UTF-8" ] || export LOCPATH="$build/tests/locale"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
german() { env -u LANGUAGE LC_ALL=de_DE.UTF-8 "$@"; }
# expect STATUS PATTERN COMMAND...: the status and a line of standard error.
expect() {
    want=$1; pattern=$2; shift 2
    status=0
    "$@" >"$work/out" 2>"$work/err" || status=$?
    [ "$status" -eq "$want" ] || fail "$*: status $status, not $want"
    grep -q "$pattern" "$work/err" || fail "$*: no \"$pattern\" in: $(cat "$work/err")"
}

expect 1 "^kalvex: es ließ sich keine Anzeige öffnen" \
    german env -u DISPLAY -u WAYLAND_DISPLAY "$build/kalvex"
expect 1 "^kalvex: das Bild „bmp/board.jpg“ lässt sich nicht laden (gesucht in $work oder " \
    sh -c 'cd "$1" && shift && exec "$@"' sh "$work" env -u LANGUAGE LC_ALL=de_DE.UTF-8 "$build/kalvex"
expect 2 "^kalvex-solve: „3141“ ist kein Geheimcode" german "$build/kalvex-solve" 3141
german "$build/kalvex-solve" --help | grep -q "^Aufruf: kalvex-solve GEHEIMCODE" \
    || fail "kalvex-solve --help is not German"
german "$build/kalvex-solve" --all | grep -qFx "mean 6.6403" \
    || fail "kalvex-solve --all writes its mean in another form than 6.6403"
echo "German messages, and the mean in its C form"

# A copy of kalvex-solve beside catalogues of our own.
mkdir -p "$work/bin/locale/de/LC_MESSAGES"
cp "$build/kalvex-solve" "$work/bin/"
catalogue="$work/bin/locale/de/LC_MESSAGES/kalvex.mo"
head -c 4000 "$build/locale/de/LC_MESSAGES/kalvex.mo" >"$catalogue"
expect 2 "^kalvex-solve: '3141' is not a secret" env LC_ALL=C.UTF-8 LANGUAGE=de "$work/bin/kalvex-solve" 3141
grep -q "^kalvex-solve: the catalogue $catalogue is damaged" "$work/err" || fail "no word of the damaged catalogue"
expect 2 "^kalvex-solve: '3141' is not a secret" env LC_ALL=C.UTF-8 LANGUAGE=eo "$work/bin/kalvex-solve" 3141
[ "$(wc -l <"$work/err")" -eq 1 ] || fail "more than the one line without a catalogue: $(cat "$work/err")"
echo "a damaged catalogue leaves English and says so; a missing one leaves English"

shots="$build/screenshots"
mkdir -p "$shots"
exec xvfb-run -a -s "-screen 0 500x320x24 -nolisten tcp -noreset" sh -eu -c '
build="$1"; shots="$2"
fail() { echo "FAIL: $*"; exit 1; }
# shows WINDOW X Y RED: polls, up to five seconds, until the window has drawn
# a pixel with that red at the point.
shows() {
    for try in $(seq 1 50); do
        import -window "$1" "$shots/probe.png"
        [ "$(convert "$shots/probe.png" -format "%[fx:int(255*p{$2,$3}.r+.5)]" info:)" = "$4" ] \
            && return 0
        sleep 0.1
    done
    return 1
}
# show NAME LOCALE: starts the game in the locale, opens the menu and then the
# About box, and keeps a picture of each.
show() {
    env -u LANGUAGE LC_ALL="$2" "$build/kalvex" >"$shots/$1.log" 2>&1 &
    pid=$!
    wid=$(timeout 10 xdotool search --sync --onlyvisible --name "Kalvex v1.2" | head -n 1)
    [ -n "$wid" ] || fail "$1: the main window did not appear"
    # The open menu: the grey of an item left of its label.
    xdotool mousemove --window "$wid" 10 8 click 1
    shows "$wid" 3 30 219 || fail "$1: the menu did not open"
    import -window root "$shots/$1-menu.png"
    xdotool mousemove --window "$wid" 30 80 click 1
    about=$(timeout 10 xdotool search --sync --onlyvisible --name "About Kalvex" | head -n 1)
    [ -n "$about" ] || fail "$1: About... opened no box"
    shows "$about" 2 2 216 || fail "$1: the About box was not drawn"
    import -window root "$shots/$1-about.png"
    # One copy runs at a time: the next start would only find this one.
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}
show english C.UTF-8
show german de_DE.UTF-8
for picture in menu about; do
    compare -metric AE "$shots/english-$picture.png" "$shots/german-$picture.png" null: 2>/dev/null \
        && fail "the German $picture looks like the English one"
done
rm -f "$shots/probe.png"
convert "$shots/german-menu.png" "$shots/german-about.png" +append "$shots/german.png"
echo "the German menu and About box are in $shots/german.png"
' sh "$build" "$shots"
