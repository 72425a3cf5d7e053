#!/usr/bin/env bash
# Runs a command in the Wine root, with this project's folder at its own physical path (the
# one the kernel and CMake see), so that Windows paths (Z:\...) mean the same on both sides.
# It runs in the namespaces of namespace.sh; a command enters them once, at its start, so that
# every Wine process of it, the Wine server included, sees one tree (docs/wine.md says why).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd -P)"
. "$here/wine-root.sh"
. "$here/namespace.sh"
[ "${QM_IN_NAMESPACE:-}" = 1 ] || qm_unshare "$here/in-root.sh" "$@"
project="${here%/tools/wine}"
[ -f "$QM_WINE_ROOT/.qm-ready" ] || { qm_root_needed "the Wine root is missing"; exit 1; }

# The root the command sees is built once per namespace on a tmpfs: the Wine root's own
# folders bound in (the machine-wide root itself is never written), /proc and /dev of the
# machine, a /tmp of this clone's own (Wine's server socket lives there), and the project at
# its own path.
stage="$QM_WINE_ROOT/mnt"
# stage_entries FROM TO NEXT: FROM's entries in TO: links copied, folders and files bound in,
# but NEXT, the folder on the way to the project, made empty; at the top, the root's files
# and the folders made anew (OWN) are left out.
stage_entries() {
    local entry name
    for entry in "$1"/* "$1"/.[!.]*; do
        [ -e "$entry" ] || [ -L "$entry" ] || continue
        name="${entry##*/}"
        if [ "$1" = "$QM_WINE_ROOT" ]; then
            case " $own " in *" $name "*) continue ;; esac
            [ -d "$entry" ] || continue
        fi
        if [ -L "$entry" ]; then
            ln -s "$(readlink "$entry")" "$2/$name"
        elif [ -d "$entry" ]; then
            mkdir "$2/$name"
            [ "$name" = "$3" ] || mount --rbind "$entry" "$2/$name"
        else
            touch "$2/$name" && mount --bind "$entry" "$2/$name"
        fi
    done
}
mkdir -p "$project/build/root-tmp"
exec 8>"$project/build/root-tmp/.stage-lock"
flock 8
if [ ! -e "$stage/.qm-staged" ]; then
    mount -t tmpfs -o mode=755 quillmark "$stage"
    own="proc dev tmp mnt root home"  # made anew here, not taken from the root
    top="${project#/}" && top="${top%%/*}"
    stage_entries "$QM_WINE_ROOT" "$stage" "$top"
    mkdir "$stage/proc" "$stage/dev" "$stage/tmp" "$stage/root" "$stage/home"
    mount --rbind /proc "$stage/proc"
    mount --rbind /dev "$stage/dev"
    chmod 1777 "$project/build/root-tmp" 2>/dev/null || true
    mount --bind "$project/build/root-tmp" "$stage/tmp"
    # The project at its own path. Where that path runs through folders that the root has too
    # (/srv, /opt, /var/tmp, ...), each is made on the tmpfs, with the root's own entries bound
    # in beside the one on the way: the root itself is never written.
    from="$QM_WINE_ROOT/$top" to="$stage/$top" rest="${project#/"$top"}" && rest="${rest#/}"
    case " $own " in *" $top "*) from=/ ;; esac
    while [ -n "$rest" ] && [ -d "$from" ] && [ ! -L "$from" ] && [ "$from" != / ]; do
        next="${rest%%/*}"
        stage_entries "$from" "$to" "$next"
        from="$from/$next" to="$to/$next" rest="${rest#"$next"}" && rest="${rest#/}"
    done
    why=""
    if [ -L "$from" ]; then
        why="where ${from#"$QM_WINE_ROOT"} is a link"
    elif ! mkdir -p "$stage$project"; then
        why="(above)"
    fi
    [ -z "$why" ] || {
        echo "cannot place $project inside the Wine root, $why: clone the project into a folder under /home, /srv, /opt or /tmp" >&2
        exit 1
    }
    mount --bind "$project" "$stage$project"
    # The X server's socket, for a display that does not listen on the abstract one, and its
    # cookie.
    if [ -d /tmp/.X11-unix ]; then
        mkdir -p "$stage/tmp/.X11-unix"
        mount --bind /tmp/.X11-unix "$stage/tmp/.X11-unix"
    fi
    if [ -f "${XAUTHORITY:-}" ]; then
        touch "$stage/.qm-xauthority"
        mount --bind "$XAUTHORITY" "$stage/.qm-xauthority"
    fi
    if [ "${QM_X86_32:-}" = emulated ]; then
        # No 32-bit mode: Wine's 32-bit loader runs under QEMU, through this namespace's own
        # handler for i386 programs (gone with the namespace; nothing machine-wide changes).
        mount --bind "$QM_WINE_ROOT/opt/quillmark/wine-emulated" "$stage/usr/lib/wine"
        mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc 2>/dev/null || {
            echo "cannot run 32-bit programs under QEMU: this kernel ($(uname -r)) gives a user namespace no binfmt_misc of its own (Linux 6.7 and later do)" >&2
            exit 1
        }
        printf '%s\n' ':qm-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$QM_WINE_ROOT"'/usr/libexec/qemu-binfmt/i386-binfmt-P:FP' \
            >/proc/sys/fs/binfmt_misc/register
    fi
    touch "$stage/.qm-staged"
fi
flock -u 8
exec 8>&-
[ ! -f "${XAUTHORITY:-}" ] || export XAUTHORITY=/.qm-xauthority

# Only what Wine and the tests need crosses over.
vars=(PATH=/usr/bin:/bin HOME=/root USER=root)
for name in $(compgen -e); do
    case "$name" in
        DISPLAY | XAUTHORITY | LANG | LC_ALL | WINE* | QM_*) vars+=("$name=${!name}") ;;
    esac
done
cd_to="$(pwd -P)"
case "$cd_to" in "$project" | "$project"/*) ;; *) cd_to=/ ;; esac
exec /usr/sbin/chroot "$stage" env -i -C "$cd_to" "${vars[@]}" "$@"
