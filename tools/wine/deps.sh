# Sourced by the project's commands: installing what is missing, building, an X display.
# Sourcing it moves to the project's top folder, QM_ROOT. Everything runs as the invoking
# user; only installing packages and making the Wine root need root (tools/setup.sh).
QM_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
cd "$QM_ROOT"
# Debian keeps chroot, debootstrap and their kind in the sbin folders, which a normal user's
# login PATH leaves out.
PATH="$PATH:/usr/sbin:/sbin"
. "$QM_ROOT/tools/wine/wine-root.sh"

# Whatever ends a command, its last lines say what failed and what to do: qm_step names what
# it is doing, with the advice for when that fails; qm_at_exit adds clean-up that runs first.
# Wine's own words from the commands' set-up steps go to QM_WINE_LOG, which a failure shows.
QM_WINE_LOG="$QM_ROOT/build/wine.log"
QM_STEP="" QM_ADVICE="" QM_CLEANUP=()
qm_step() { QM_STEP="$1" QM_ADVICE="${2:-the messages above say why}"; }
qm_at_exit() { QM_CLEANUP+=("$1"); }
qm_exit() {
    local status=$? action
    # What runs in the background (the tests, the X server) goes with the command.
    kill $(jobs -p) >/dev/null 2>&1 || true
    for action in "${QM_CLEANUP[@]}"; do eval "$action" >/dev/null 2>&1 || true; done
    [ "$status" -ne 0 ] && [ -n "$QM_STEP" ] || return 0
    if [ "$status" -eq 130 ] || [ "$status" -eq 143 ]; then
        echo "${0##*/} was stopped while $QM_STEP: run it again, it starts afresh" >&2
        return 0
    fi
    if [ -s "$QM_WINE_LOG" ] && [ "$QM_WINE_LOG" -nt "$QM_ROOT/build/.qm-started" ]; then
        echo "Wine's last words ($QM_WINE_LOG):" && tail -n 5 "$QM_WINE_LOG"
    fi >&2
    echo "${0##*/} failed while $QM_STEP (exit status $status): $QM_ADVICE" >&2
}
trap qm_exit EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
mkdir -p "$QM_ROOT/build" 2>/dev/null && touch "$QM_ROOT/build/.qm-started" 2>/dev/null || true

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

# qm_install_deps [screenshot]: what building, testing and running need; with "screenshot",
# also what saving a screenshot of the window needs. Wine itself is not installed here: it
# lives in the Debian 13 root (tools/wine/wine-root.sh), which only tools/setup.sh makes.
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
        cc gcc /usr/lib/x86_64-linux-gnu/libc.a libc6-dev
    [ "${1:-}" != screenshot ] || qm_need xdotool xdotool import imagemagick
    # Only making the Wine root needs this.
    [ -f "$QM_WINE_ROOT/.qm-ready" ] || qm_need debootstrap debootstrap
    qm_wine_root_ensure
}

# qm_x86_32_path: how this machine runs the 32-bit release, said once and exported as
# QM_X86_32: "native" where the processor runs 32-bit code (Wine's WoW64 mode), "emulated"
# where it has no such mode (Wine's 32-bit half under QEMU). A QM_X86_32 of either value set
# beforehand forces that path. QM_X86_32_MODE tells what the probe found: present or absent.
qm_x86_32_path() {
    local probe="$QM_ROOT/build/probe/x86-32-probe" source="$QM_ROOT/tools/wine/x86-32-probe.c"
    qm_step "finding how this machine runs 32-bit programs" "the messages above say why"
    if [ ! -x "$probe" ] || [ "$source" -nt "$probe" ]; then
        mkdir -p "${probe%/*}"
        cc -O2 -static -no-pie -o "$probe" "$source" ||
            { echo "cannot build the 32-bit mode probe from $source" >&2; return 1; }
    fi
    local why
    if { "$probe"; } >/dev/null 2>&1; then
        export QM_X86_32_MODE=present && why="this processor runs 32-bit code"
    else
        export QM_X86_32_MODE=absent && why="this processor has no 32-bit mode"
    fi
    case "${QM_X86_32:-}" in
        native | emulated) why="forced by QM_X86_32; $why" ;;
        "") QM_X86_32=native && [ "$QM_X86_32_MODE" = present ] || QM_X86_32=emulated ;;
        *) echo "QM_X86_32 is '$QM_X86_32': set it to native or emulated, or unset it" >&2; return 1 ;;
    esac
    export QM_X86_32
    echo "32-bit Windows programs: $QM_X86_32 ($why)" >&2
}

# qm_path_possible native|emulated: nothing where this machine can run the 32-bit release
# that way; otherwise why not, on one line.
qm_path_possible() {
    if [ "$1" = native ]; then
        qm_x86_32_path >/dev/null 2>&1 || { echo "the 32-bit mode probe failed" && return; }
        [ "$QM_X86_32_MODE" = present ] || echo "this processor has no 32-bit mode"
    elif ! unshare --user --map-root-user --mount \
        sh -c 'mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc' >/dev/null 2>&1; then
        echo "this kernel ($(uname -r)) gives a user namespace no binfmt_misc of its own, which QEMU's handler needs (Linux 6.7 and later do)"
    fi
}

# qm_stage: the Wine root staged with the clone inside it (tools/wine/in-root.sh); a clone
# that cannot be placed there says so now, on the terminal. Before the command's namespace,
# in a namespace of its own, it is the command's first word on a clone it cannot use.
qm_stage() {
    qm_step "placing $QM_ROOT inside the Wine root" "the line above says what to do"
    "$QM_ROOT/tools/wine/in-root.sh" true
}

# qm_enter_namespace "$@": runs the calling script again, from the start, inside the
# namespaces of qm_unshare, where the Wine root is staged once for every Wine process the
# script starts (tools/wine/in-root.sh). Whatever needs the real user (installing, sudo) must
# come before it.
qm_enter_namespace() {
    [ "${QM_IN_NAMESPACE:-}" = 1 ] && return 0
    qm_stage
    qm_x86_32_path
    qm_unshare bash "$0" "$@"
}

# Starts a private X server on a free display and exports DISPLAY; QM_XVFB_PID is its pid.
# The server picks the number itself (-displayfd), so two runs started at once never share one.
qm_start_xvfb() {
    local number
    number="$(mktemp)"
    Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp 9>"$number" >/dev/null 2>&1 &
    QM_XVFB_PID=$!
    local i
    for i in $(seq 100); do
        if [ -s "$number" ]; then
            export DISPLAY=":$(head -n 1 "$number")"
            rm -f "$number"
            return 0
        fi
        sleep 0.1
    done
    rm -f "$number"
    kill "$QM_XVFB_PID" 2>/dev/null
    echo "Xvfb did not start" >&2
    return 1
}

# qm_build PRESET...: configures and builds each preset quietly (errors still show).
qm_build() {
    local preset
    local log
    log="$(mktemp)"
    for preset in "$@"; do
        qm_step "building $preset" "the compiler's or CMake's words are above; after a mended cause, run the command again"
        if ! { cmake --preset "$preset" && cmake --build --preset "$preset"; } >"$log" 2>&1; then
            cat "$log" >&2
            rm -f "$log"
            return 1
        fi
    done
    rm -f "$log"
}

# qm_reproduce: both release executables and the download built again in QM_REPRODUCE, a copy
# of the sources in another folder. The copy is kept, and its files keep their times, so that,
# as in dist/'s own builds, only what changed is compiled again: the tests find it done at build
# time and only compare, instead of compiling beside the Wine tests.
QM_REPRODUCE="$QM_ROOT/build/reproduce"
qm_reproduce() {
    qm_step "making the second build in $QM_REPRODUCE" "the messages above say why; removing that folder makes it again from scratch"
    mkdir -p "$QM_REPRODUCE"
    tar --exclude=./build --exclude=./dist --exclude=./.git -cf - . | tar -C "$QM_REPRODUCE" -xf -
    SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}" \
        bash -c 'cd "$1" && . tools/wine/deps.sh && qm_build win64 && tools/release.sh >/dev/null' \
        _ "$QM_REPRODUCE"
}

# Starts Xvfb and arranges for it and the prefix's Wine processes to end with the script
# (and with them the mounts they hold).
qm_private_display() {
    qm_step "starting a private X server (Xvfb)" "check that Xvfb runs here: Xvfb -displayfd 1"
    qm_start_xvfb
    qm_at_exit 'qm_wineserver -k; kill "$QM_XVFB_PID"'
}

# qm_test_session: what the tests and the benchmark stand on: the tools, all four builds, and
# the test prefix with its shared desktop on a private display, with one Wine server for the
# rest of the script (each later start is then fast). All of it ends with the script.
qm_test_session() {
    qm_install_deps
    qm_enter_namespace "$@"
    qm_build win32 win64 test32 test64
    tools/release.sh >/dev/null
    qm_reproduce
    export QM_PREFIX="$QM_ROOT/build/wineprefix"
    . "$QM_ROOT/tools/wine/wine-env.sh"
    qm_private_display
    qm_stage
    qm_wineserver -k >>"$QM_WINE_LOG" 2>&1 || true  # one that an interrupted run left behind
    qm_prefix_init desktop
    qm_wineserver -p >>"$QM_WINE_LOG" 2>&1 || true
}

# qm_ctest [CTEST-ARGUMENTS]: one CTest run over both test builds, so that one summary closes it.
qm_ctest() {
    mkdir -p build/tests
    printf 'subdirs("%s")\n' "$QM_ROOT/build/test64" "$QM_ROOT/build/test32" \
        >build/tests/CTestTestfile.cmake
    qm_step "running the tests" "the failed tests' output is above; a failed step of a test that drives the program leaves the screen and its windows in build/test*/tests/<test>/ (docs/testing.md)"
    # In the background, so that a stop (Ctrl+C, a time limit) ends it at once, with its Wine.
    ctest --test-dir build/tests --output-on-failure --no-tests=error --timeout 120 --parallel 2 "$@" &
    wait $!
}
