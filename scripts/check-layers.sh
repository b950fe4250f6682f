#!/usr/bin/env bash
# Fails, naming the lines, when an include runs against the layers: shell on
# top, then play and highscore side by side, then text at the bottom.
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
check play shell highscore
check highscore shell play
check text shell play highscore
exit $status
