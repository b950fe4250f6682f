#!/usr/bin/env bash
# Fails, naming the lines, when an include runs against the layers: shell on
# top, then play and highscore side by side, then text, and below them all
# web, the browser build's stand-ins for OpenGL, GLU and SDL's timer, which
# no part of the game includes and which includes nothing of the game.
cd "$(dirname "$0")/../src" || exit 1
status=0
check() {  # check FOLDER LAYER...: FOLDER includes none of the LAYERs
    local folder=$1
    shift
    for layer in "$@"; do
        if grep -rn "#include \"$layer/" "$folder"; then
            status=1
        fi
    done
}
check play shell highscore web
check highscore shell play web
check text shell play highscore web
check shell web
check web shell play highscore text
exit $status
