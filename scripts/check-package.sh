#!/usr/bin/env bash
# Builds the .deb the ordinary CMake way, checks it with lintian, unpacks it
# into a scratch root and checks it as an installed game: its files, its
# desktop entry and AppStream data, and the unpacked launcher starting the
# game on this X server with a fresh home directory. ./test runs it under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scratch=$(mktemp -d)
# A game left running is ended while its X server is still there to see it go.
trap 'kill $(jobs -p) 2>/dev/null || true; wait; rm -rf "$scratch"' EXIT

rm -f build-package/quendle_*.deb
{ cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DQUENDLE_TESTS=OFF -DQUENDLE_BENCHMARKS=OFF &&
    cmake --build build-package --parallel "$(nproc)" --target package; } >"$scratch/build.log" 2>&1 ||
    { cat "$scratch/build.log" >&2; exit 1; }
lintian --fail-on error,warning build-package/quendle_*.deb 2>/dev/null
dpkg-deb -x build-package/quendle_*.deb "$scratch/root"
diff -u - <(cd "$scratch/root" && find . ! -type d | sort) <<'FILES'
./usr/games/quendle
./usr/lib/games/quendle/quendle
./usr/share/applications/quendle.desktop
./usr/share/doc/quendle/changelog.gz
./usr/share/doc/quendle/copyright
./usr/share/icons/hicolor/64x64/apps/quendle.png
./usr/share/man/man6/quendle.6.gz
./usr/share/metainfo/example.quendle.quendle.metainfo.xml
./usr/share/quendle/icon.bmp
FILES
desktop-file-validate "$scratch/root/usr/share/applications/quendle.desktop"
appstreamcli validate --no-net "$scratch/root/usr/share/metainfo/"*.metainfo.xml >/dev/null
launcher="$scratch/root/usr/games/quendle"
export HOME="$scratch/home" && unset XDG_DATA_HOME
data="$HOME/.local/share/quendle"
# Starts the game, opens the high-score table, leaves it (which saves "moon")
# and quits from the main menu; the game must end with status 0.
visitHighscores() {
    timeout -k 5 60 "$launcher" >/dev/null &
    local game=$! window="" tries=0
    # Polled: a search can fail while SDL makes and drops windows of its own.
    until window=$(xdotool search --onlyvisible --name '^Quendle$' 2>/dev/null | head -n 1) &&
        [ -n "$window" ]; do
        [ $((tries += 1)) -le 300 ] || { echo "no game window" >&2; return 1; }
        sleep 0.1
    done
    xdotool mousemove --window "$window" 300 250 click 1 key space key Escape
    wait "$game" || { echo "the game ended with status $?" >&2; return 1; }
}
visitHighscores
cmp "$data/icon.bmp" "$scratch/root/usr/share/quendle/icon.bmp"
[ -f "$data/moon" ] || { echo "no moon in $data" >&2; exit 1; }
for rank in $(seq 10 -1 1); do printf 'player %s\n%s\n' "$rank" "$((rank * 40))"; done >"$data/moon"
cp "$data/moon" "$scratch/full-table"
visitHighscores
cmp "$data/moon" "$scratch/full-table"
# refused COMMAND...: the launcher must stop with status 1 before the game starts.
refused() {
    local status=0
    timeout -k 5 20 "$@" 2>/dev/null || status=$?
    [ "$status" -eq 1 ] || { echo "status $status, not 1, from: $*" >&2; exit 1; }
}
refused env -u DISPLAY -u WAYLAND_DISPLAY "$launcher"
refused env XDG_DATA_HOME="$scratch/full-table" "$launcher"
echo "Package checks passed."
