# Sourced by the project's commands: installing what is missing, building, an X display.
# Sourcing it moves to the project's top folder, QM_ROOT. Everything runs as the invoking
# user; only installing packages and making the Wine root need root (tools/setup.sh).
QM_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
cd "$QM_ROOT"
. "$QM_ROOT/tools/wine/wine-root.sh"

qm_need() {  # qm_need COMMAND-OR-PATH PACKAGE ...
    local missing=()
    while [ $# -ge 2 ]; do
        if [ "${1#/}" != "$1" ]; then [ -e "$1" ] || missing+=("$2")
        else command -v "$1" >/dev/null 2>&1 || missing+=("$2"); fi
        shift 2
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    [ "$(id -u)" -eq 0 ] || { qm_root_needed "missing packages: ${missing[*]}"; return; }
    echo "Installing: ${missing[*]}" >&2
    apt-get update -qq >&2
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >&2
}

# Wine itself is not installed here: it lives in the Debian 13 root (tools/wine/wine-root.sh).
qm_install_deps() {
    qm_need cmake cmake ninja ninja-build python3 python3 \
        i686-w64-mingw32-g++-win32 g++-mingw-w64-i686-win32 \
        x86_64-w64-mingw32-g++-win32 g++-mingw-w64-x86-64-win32 \
        i686-w64-mingw32-g++-posix g++-mingw-w64-i686-posix \
        x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64-posix \
        i686-w64-mingw32-windres binutils-mingw-w64-i686 \
        x86_64-w64-mingw32-windres binutils-mingw-w64-x86-64 \
        /usr/src/googletest/CMakeLists.txt googletest \
        Xvfb xvfb xdotool xdotool import imagemagick \
        debootstrap debootstrap flock util-linux unshare util-linux
}

# Starts a private X server on a free display and exports DISPLAY; QM_XVFB_PID is its pid.
qm_start_xvfb() {
    local n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    QM_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && return 0
        sleep 0.1
    done
    echo "Xvfb did not start" >&2
    return 1
}

# qm_build PRESET...: configures and builds each preset quietly (errors still show).
qm_build() {
    local preset
    local log
    log="$(mktemp)"
    for preset in "$@"; do
        if ! { cmake --preset "$preset" && cmake --build --preset "$preset"; } >"$log" 2>&1; then
            cat "$log" >&2
            rm -f "$log"
            return 1
        fi
    done
    rm -f "$log"
}

# Starts Xvfb and arranges for it and the prefix's Wine processes to end with the script
# (and with them the mounts they hold).
qm_private_display() {
    qm_start_xvfb
    trap 'qm_wineserver -k >/dev/null 2>&1 || true; kill "$QM_XVFB_PID" 2>/dev/null || true' EXIT
}

# qm_test_session: what the tests and the benchmark stand on: the tools, all four builds, and
# the test prefix with its shared desktop on a private display, with one Wine server for the
# rest of the script (each later start is then fast). All of it ends with the script.
qm_test_session() {
    qm_install_deps
    qm_build win32 win64 test32 test64
    export QM_PREFIX="$QM_ROOT/build/wineprefix"
    . "$QM_ROOT/tools/wine/wine-env.sh"
    qm_private_display
    qm_prefix_init desktop
    qm_wineserver -p || true
}
