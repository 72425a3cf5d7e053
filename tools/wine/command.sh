# Sourced first by every command: it moves to the clone's top folder, QM_ROOT, by its physical
# path (the one CMake and the Wine root see), loads the commands' functions, and makes the last
# line say what failed and what to do. It writes nothing: root's setup.sh leaves a clone as it was.
QM_SCRIPT="$(realpath "$0")" QM_STARTED=$EPOCHSECONDS
QM_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd -P)"
cd "$QM_ROOT" || exit
# Debian keeps chroot, debootstrap and their kind in sbin, which a user's login PATH leaves out.
PATH="$PATH:/usr/sbin:/sbin"
. "$QM_ROOT/tools/wine/install.sh"
. "$QM_ROOT/tools/wine/x86-32-path.sh"
. "$QM_ROOT/tools/wine/namespace.sh"
. "$QM_ROOT/tools/wine/build.sh"
. "$QM_ROOT/tools/wine/display.sh"
. "$QM_ROOT/tools/wine/test-session.sh"

# qm_step names what the command does, with advice for when that fails; qm_at_exit adds clean-up
# that runs first. Wine's words from the set-up steps go to QM_WINE_LOG, which a failure shows.
QM_WINE_LOG="$QM_ROOT/build/wine.log"
QM_STEP="" QM_ADVICE="" QM_CLEANUP=()
qm_step() { QM_STEP="$1" QM_ADVICE="${2:-the messages above say why}"; }
qm_at_exit() { QM_CLEANUP+=("$1"); }
qm_exit() {
    local status=$? action job
    # What runs in the background (the tests, the X server) goes with the command.
    for job in $(jobs -p); do kill "$job" 2>/dev/null || true; done
    for action in "${QM_CLEANUP[@]}"; do eval "$action" >/dev/null 2>&1 || true; done
    [ "$status" -ne 0 ] || return 0
    if [ "$status" -eq 130 ] || [ "$status" -eq 143 ]; then
        echo "${QM_SCRIPT##*/} was stopped${QM_STEP:+ while $QM_STEP}: run it again, it starts afresh" >&2
        return 0
    fi
    if [ -s "$QM_WINE_LOG" ] && [ "$(stat -c %Y "$QM_WINE_LOG")" -ge "$QM_STARTED" ]; then
        echo "Wine's last words ($QM_WINE_LOG):" && tail -n 5 "$QM_WINE_LOG"
    fi >&2
    echo "${QM_SCRIPT##*/} failed${QM_STEP:+ while $QM_STEP} (exit status $status): ${QM_ADVICE:-the lines above say why}" >&2
}
trap qm_exit EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
# A build folder that root (or another user) made is named now, not by a later step's failure.
QM_ADVICE="$(find build -maxdepth 1 ! -writable -printf '%p belongs to %u, ' -quit 2>/dev/null || true)"
[ -z "$QM_ADVICE" ] || { qm_step "writing in $QM_ROOT/build" \
    "${QM_ADVICE}not to $(id -un): remove $QM_ROOT/build as its owner, then run the command again"; exit 1; }
