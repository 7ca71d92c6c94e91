#!/bin/sh
# Makes the Debian package from the build, unpacks it into a temporary root
# the way dpkg would install it, checks that it is laid out as a Debian game
# (stripped program in /usr/games, nothing for dpkg to leave behind on
# removal), and starts the unpacked game from another folder and as its
# desktop entry says. A second start while it runs must find the running
# copy: the stripped program still carries its launch flags.
set -eu
exec xvfb-run -a -s "-screen 0 640x480x24 -dpi 96 -nolisten tcp -noreset" sh -eu -c '
build="$1"
work=$(mktemp -d)
root="$work/root"
elsewhere="$work/elsewhere"
mkdir -p "$root" "$elsewhere"
pids=""
cleanup() {
    for p in $pids; do kill "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; for f in "$work"/*.log; do [ -f "$f" ] && cat "$f"; done; exit 1; }
game_window() {
    timeout 10 xdotool search --sync --onlyvisible --name "Kalvex v1.2" | head -n 1
}

cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 \
    || fail "cpack could not make the package"
deb=$(ls "$work"/package/kalvex_*.deb)
dpkg-deb -x "$deb" "$root"
dpkg-deb -e "$deb" "$work/control"

# dpkg removes every file it unpacked; without maintainer scripts or
# configuration files nothing else is left on removal.
[ "$(ls "$work/control" | tr "\n" " ")" = "control md5sums " ] \
    || fail "control files besides control and md5sums: $(ls "$work/control")"
for dependency in libsdl2-2.0-0 fonts-dejavu-core; do
    grep -q "^Depends:.* $dependency" "$work/control/control" \
        || fail "no $dependency in $(grep ^Depends: "$work/control/control")"
done

program="$root/usr/games/kalvex"
[ -x "$program" ] || fail "no /usr/games/kalvex"
[ ! -e "$root/usr/bin" ] || fail "the package still installs into /usr/bin"
readelf -S "$program" | grep -q "\.symtab" && fail "the program is not stripped"
zcat "$root/usr/share/man/man6/kalvex.6.gz" | grep -q "^\.TH KALVEX 6" || fail "no manual page"
[ "$("$root/usr/games/kalvex-solve" 31415 | tail -n 1)" = "9 31415 5 0" ] || fail "no working /usr/games/kalvex-solve"
zcat "$root/usr/share/man/man6/kalvex-solve.6.gz" | grep -q "^\.TH KALVEX-SOLVE 6" || fail "no manual page of kalvex-solve"
zcat "$root/usr/share/doc/kalvex/changelog.gz" | head -n 1 | grep -q "^kalvex (1.2)" \
    || fail "no changelog"
grep -q "^Format: " "$root/usr/share/doc/kalvex/copyright" || fail "no machine-readable copyright"
entry="$root/usr/share/applications/org.kalvex.Kalvex.desktop"
desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
[ "$(sed -n "s/^Exec=//p" "$entry")" = /usr/games/kalvex ] || fail "the entry runs $(grep ^Exec= "$entry")"
path=$(sed -n "s/^Path=//p" "$entry")
[ "$path" = /usr/share/kalvex ] || fail "the entry runs in $path"

# The package'"'"'s details agree: one developer name in the metainfo (in
# every language: the name is not translated), the Maintainer field and the
# copyright file; the metainfo'"'"'s releases are the
# changelog'"'"'s, versions and dates; the game says the version the package has.
field() { sed -n "s/^$1: //p" "$work/control/control"; }
metainfo="$root/usr/share/metainfo/org.kalvex.Kalvex.metainfo.xml"
names="$(field Maintainer | sed "s/ <.*//")
$(sed -n "s|^ *<developer_name[^>]*>\(.*\)</developer_name>|\1|p" "$metainfo")
$(sed -n "s/^Copyright: [0-9, -]* //p" "$root/usr/share/doc/kalvex/copyright")"
[ "$(echo "$names" | sort -u | wc -l)" -eq 1 ] || fail "the developer goes by several names: $names"
zcat "$root/usr/share/doc/kalvex/changelog.gz" | while IFS= read -r line; do
    case "$line" in
        kalvex\ \(*) version=${line#kalvex (}; version=${version%%)*} ;;
        " -- "*) echo "$version $(date -u -d "${line##*>  }" +%F)" ;;
    esac
done >"$work/changelog-releases"
sed -n "s|.*<release version=\"\([^\"]*\)\" date=\"\([^\"]*\)\".*|\1 \2|p" "$metainfo" >"$work/metainfo-releases"
cmp -s "$work/changelog-releases" "$work/metainfo-releases" \
    || fail "releases: changelog $(cat "$work/changelog-releases"), metainfo $(cat "$work/metainfo-releases")"
[ "$("$program" --version)" = "kalvex $(field Version)" ] \
    || fail "the game says $("$program" --version), the package carries $(field Version)"

# From a folder without pictures: they are found in the unpacked data folder.
(cd "$elsewhere" && exec "$program") >"$work/first.log" 2>&1 &
pids="$pids $!"
first=$!
[ -n "$(game_window)" ] || fail "the unpacked game opened no window"

status=0
(cd "$elsewhere" && exec timeout 10 "$program") >"$work/second.log" 2>&1 || status=$?
[ "$status" -eq 0 ] || fail "the second start ended with status $status"
count=$(xdotool search --name "Kalvex v1.2" | wc -l)
[ "$count" -eq 1 ] || fail "$count game windows: the stripped program lost its launch flags"
kill "$first"; wait "$first" 2>/dev/null || true

# As a launcher does it, inside the unpacked root.
(cd "$root$path" && exec "$program") >"$work/entry.log" 2>&1 &
pids="$pids $!"
[ -n "$(game_window)" ] || fail "the desktop entry started no window"
echo "the unpacked package starts from elsewhere and from its entry, and launches once"
' sh "$1"
