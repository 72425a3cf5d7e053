#!/usr/bin/env bash
# Runs a command in the Wine root, with this project's folder at the same path as outside,
# so that Windows paths (Z:\...) mean the same on both sides. The mounts live in a private
# mount namespace and vanish with the last process that uses them.
set -euo pipefail
if [ "${QM_IN_NAMESPACE:-}" != 1 ]; then
    QM_IN_NAMESPACE=1 exec unshare --mount --propagation private "$0" "$@"
fi
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$here/wine-root.sh"
project="$(dirname "$here")"
[ -f "$QM_WINE_ROOT/.qm-ready" ] || { echo "no Wine root at $QM_WINE_ROOT" >&2; exit 1; }
mount -t proc proc "$QM_WINE_ROOT/proc"
mkdir -p "$QM_WINE_ROOT$project"
mount --bind "$project" "$QM_WINE_ROOT$project"
# The X server's socket, for a display that does not listen on the abstract one, and its
# cookie.
if [ -d /tmp/.X11-unix ]; then
    mkdir -p "$QM_WINE_ROOT/tmp/.X11-unix"
    mount --bind /tmp/.X11-unix "$QM_WINE_ROOT/tmp/.X11-unix"
fi
if [ -f "${XAUTHORITY:-}" ]; then
    touch "$QM_WINE_ROOT/tmp/.qm-xauthority"
    mount --bind "$XAUTHORITY" "$QM_WINE_ROOT/tmp/.qm-xauthority"
    export XAUTHORITY=/tmp/.qm-xauthority
fi

# Only what Wine and the tests need crosses over.
vars=(PATH=/usr/bin:/bin HOME=/root USER=root)
for name in $(compgen -e); do
    case "$name" in
        DISPLAY | XAUTHORITY | LANG | LC_ALL | WINE* | QM_*) vars+=("$name=${!name}") ;;
    esac
done
cd_to="$PWD"
case "$cd_to" in "$project"*) ;; *) cd_to=/ ;; esac
exec chroot "$QM_WINE_ROOT" env -i "${vars[@]}" sh -c 'cd "$0" && exec "$@"' "$cd_to" "$@"
