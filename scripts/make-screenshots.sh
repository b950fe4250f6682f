#!/usr/bin/env bash
# Makes the README's pictures in doc/: the main menu, a level with balls and
# shots in flight, and the high-score table. Runs the built game through its
# launcher, with a home directory of its own, under an X server of its own the
# size of the window, driven with xdotool and photographed with ImageMagick.
# Then the page on a phone: the browser build, played by taps in headless
# Chromium's phone emulation (scripts/phone-picture.mjs).
#   scripts/make-screenshots.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${QUENDLE_SCREENSHOT_SERVER:-}" ]; then
    . "$root/scripts/deps.sh"
    # shellcheck disable=SC2086
    ensure_packages $QUENDLE_BUILD_PACKAGES $QUENDLE_RUN_PACKAGES xvfb xauth xdotool imagemagick \
        $QUENDLE_WEB_TEST_PACKAGES
    command -v npm >/dev/null 2>&1 || ensure_packages nodejs npm
    build="$root/build-release"
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUENDLE_TESTS=OFF \
        -DQUENDLE_BENCHMARKS=OFF >/dev/null
    cmake --build "$build" --parallel "$(nproc)" -- --no-print-directory >/dev/null
    QUENDLE_SCREENSHOT_SERVER=1 exec xvfb-run -a -s "-screen 0 600x600x24" "$0"
fi

scratch=$(mktemp -d)
# A game left running is ended while its X server is still there to see it go.
trap 'kill $(jobs -p) 2>/dev/null || true; wait; rm -rf "$scratch"' EXIT
export HOME="$scratch"
unset XDG_DATA_HOME
mkdir -p "$HOME/.local/share/quendle"
printf '%s\n' Ada 250 Brin 247 Cleo 238 Dov 223 Edda 202 Finn 175 Gale 142 Hugo 103 Iris 58 Jon 7 >"$HOME/.local/share/quendle/moon"

"$root/build-release/quendle-launcher" &
game=$!
until window=$(xdotool search --onlyvisible --name '^Quendle$' 2>/dev/null | head -n 1) &&
    [ -n "$window" ]; do
    sleep 0.1
done

shot() { import -window "$window" "$scratch/$1.png"; }
differing() { compare -metric AE "$scratch/$1.png" "$scratch/$2.png" null: 2>&1 || true; }
# waitForChange FROM TO [PIXELS]: photographs the window as TO until it
# differs from FROM in more than PIXELS pixels.
waitForChange() {
    for _ in $(seq 200); do
        shot "$2"
        [ "$(differing "$1" "$2")" -gt "${3:-0}" ] && return 0
        sleep 0.1
    done
    echo "the window did not change from $1 to $2" >&2
    return 1
}

# The first frame is black; the menu follows at once.
until shot menu && [ "$(identify -format '%[fx:p{5,5}.b > 0]' "$scratch/menu.png")" = 1 ]; do
    sleep 0.1
done
xdotool mousemove --window "$window" 300 250 click 1
waitForChange menu highscores
xdotool key space mousemove 300 205 click 1 mousemove 300 250 click 1  # "New game", "Normal"
waitForChange highscores level
waitForChange level balls 15000
# A shot crosses the window in a fifth of a second, quicker than a picture
# is taken: fire four between the falling balls (the unseeded placement puts
# them in the same columns every run) and stop the game while the shots are
# in flight; the window keeps its last frame.
xdotool mousemove 50 500 click 1 mousemove 280 500 click 3 mousemove 470 500 click 1 \
    mousemove 580 500 click 3
kill -STOP "$game"
shot play
kill -CONT "$game"
mkdir -p "$root/doc"
for picture in menu play highscores; do
    cp "$scratch/$picture.png" "$root/doc/$picture.png"
done

"$root/scripts/build-web.sh" >/dev/null
(cd "$root/tests/web" && npm ci --no-audit --no-fund --loglevel=error)
node "$root/scripts/phone-picture.mjs" "$root/build-web" "$root/doc/phone.png"
echo "Wrote doc/menu.png, doc/play.png, doc/highscores.png and doc/phone.png."
