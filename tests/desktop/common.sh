# Shared by the desktop tests: an installation of the game in a fresh
# temporary prefix, an empty folder to start it from, and window helpers.
# Usage: build=BUILD_DIR; . common.sh

# The caller sets build to the build folder.
work=$(mktemp -d)
prefix="$work/prefix"
elsewhere="$work/elsewhere"
mkdir -p "$elsewhere"
game="$prefix/bin/kalvex"
data="$prefix/share/kalvex"
pids=""
cleanup() {
    for p in $pids; do kill "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; for f in "$work"/*.log; do [ -f "$f" ] && cat "$f"; done; exit 1; }

cmake --install "$build" --prefix "$prefix" >"$work/install.out" 2>&1 \
    || { cat "$work/install.out"; fail "cmake --install failed"; }

# start_game LOG: starts the installed game from the empty folder.
start_game() {
    (cd "$elsewhere" && exec "$game") >"$work/$1.log" 2>&1 &
    pids="$pids $!"
    last_pid=$!
}

# Prints the id of the game's visible main window, waiting up to 10 s.
game_window() {
    timeout 10 xdotool search --sync --onlyvisible --name "Kalvex v1.2" | head -n 1
}

window_size() {
    xwininfo -id "$1" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'
}
