# Shared by ./play and ./test: makes sure the Debian packages a step needs are
# installed. Sourced, not run.

QUENDLE_BUILD_PACKAGES="cmake g++ make pkg-config libsdl1.2-compat-dev libgl-dev libglu1-mesa-dev
libstb-dev dpkg-dev file"
QUENDLE_RUN_PACKAGES="libgl1-mesa-dri"
QUENDLE_TEST_PACKAGES="libgtest-dev xvfb xauth xdotool libx11-dev libxdo-dev cppcheck clang-format
clang-14 libclang-rt-14-dev libbenchmark-dev lintian desktop-file-utils appstream"
# The browser build (scripts/build-web.sh) and its test in three browser
# engines: Chromium headless, Firefox and WebKitGTK's browser on an X server.
QUENDLE_WEB_PACKAGES="emscripten cmake make g++ libstb-dev"
QUENDLE_WEB_TEST_PACKAGES="chromium firefox-esr webkit2gtk-driver xvfb libgl1-mesa-dri"

# Prints the packages of "$@" that are not installed.
missing_packages() {
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
            printf '%s ' "$package"
        fi
    done
}

# Installs what is missing of "$@": with apt-get as root, through sudo
# otherwise, or says which one command to run.
ensure_packages() {
    local missing
    missing=$(missing_packages "$@")
    [ -z "$missing" ] && return 0
    echo "Installing: $missing"
    local apt=(apt-get)
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            apt=(sudo apt-get)
        else
            echo "Missing packages. Run as root: apt-get install -y $missing" >&2
            return 1
        fi
    fi
    # An old or empty package list finds nothing; refresh it first.
    "${apt[@]}" update -qq || return 1
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive "${apt[@]}" install -y -qq --no-install-recommends $missing
}
