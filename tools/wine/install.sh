# Sourced: installing what the commands need, the Debian packages and the Wine root
# (wine-root.sh). Only root installs: for a normal user, tools/setup.sh runs through sudo.
. "$(dirname "${BASH_SOURCE[0]}")/wine-root.sh"

qm_need() {  # qm_need COMMAND-OR-PATH PACKAGE ...
    local missing=()
    while [ $# -ge 2 ]; do
        if [ "${1#/}" != "$1" ]; then [ -e "$1" ] || missing+=("$2")
        else command -v "$1" >/dev/null 2>&1 || missing+=("$2"); fi
        shift 2
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    qm_step "installing ${missing[*]}" "mend what apt-get says above, or install them as root with tools/setup.sh"
    [ "$(id -u)" -eq 0 ] || { qm_root_needed "missing packages: ${missing[*]}"; return; }
    echo "Installing: ${missing[*]}" >&2
    { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
        --no-install-recommends "${missing[@]}"; } >&2 || {
        echo "installing Debian packages failed (above): check this machine's apt sources and network, then run tools/setup.sh again" >&2
        return 1
    }
}

# qm_install_deps: what building, testing, running, saving a screenshot and checking the scripts
# need. Wine itself is not installed here: it lives in the Debian 13 root, which only root makes.
qm_install_deps() {
    qm_need cmake cmake ninja ninja-build \
        i686-w64-mingw32-g++-win32 g++-mingw-w64-i686-win32 \
        x86_64-w64-mingw32-g++-win32 g++-mingw-w64-x86-64-win32 \
        i686-w64-mingw32-g++-posix g++-mingw-w64-i686-posix \
        x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64-posix \
        i686-w64-mingw32-windres binutils-mingw-w64-i686 \
        x86_64-w64-mingw32-windres binutils-mingw-w64-x86-64 \
        /usr/src/googletest/CMakeLists.txt googletest \
        Xvfb xvfb flock util-linux unshare util-linux /usr/bin/python3 python3 \
        cc gcc /usr/lib/x86_64-linux-gnu/libc.a libc6-dev \
        xdotool xdotool import imagemagick shellcheck shellcheck
    [ -f "$QM_WINE_ROOT/.qm-ready" ] || qm_need debootstrap debootstrap  # for making the root
    qm_wine_root_ensure
}
