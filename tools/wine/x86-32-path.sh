# Sourced. qm_x86_32_path: how this machine runs the 32-bit release, said once and exported as
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
    elif ! qm_userns_refused && ! unshare --user --map-root-user --mount \
        sh -c 'mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc' >/dev/null 2>&1; then
        echo "this kernel ($(uname -r)) gives a user namespace no binfmt_misc of its own, which QEMU's handler needs (Linux 6.7 and later do)"
    fi
}
