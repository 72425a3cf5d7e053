# Sourced: the namespaces a command's Wine processes run in (in-root.sh): a private mount one, and
# for a normal user a user one, in which it is root over its own files only.

# qm_userns_refused: where this user may not make a user namespace and mount in it, says why and
# what to do, on one line; otherwise fails, saying nothing.
qm_userns_refused() {
    unshare --user --map-root-user --mount sh -c 'mount -t tmpfs qm /mnt' 2>/dev/null && return 1
    local s v new why="the policy of this machine or container" fix="" way="run the command as root (on the native path)"
    for s in user.max_user_namespaces:0:15000 kernel.unprivileged_userns_clone:0:1 \
        kernel.apparmor_restrict_unprivileged_userns:1:0; do
        IFS=: read -r s v new <<<"$s"
        [ "$(cat "/proc/sys/${s//.//}" 2>/dev/null)" != "$v" ] || why="sysctl $s = $v" fix="sysctl -w $s=$new"
    done
    [ "$(id -u)" -ne 0 ] || way="on the emulated path root needs them too: run it where the processor runs 32-bit code"
    echo "user namespaces, which the commands need to run Wine as $(id -un), are refused here ($why): $way${fix:+, or allow them as root: $fix}"
}

# qm_unshare COMMAND...: becomes COMMAND in them, with QM_IN_NAMESPACE=1; root too enters a user
# namespace on the emulated path, whose handler for i386 programs lives in its own binfmt_misc.
qm_unshare() {
    local ns=(--mount --propagation private)
    [ "$(id -u)" -eq 0 ] && [ "${QM_X86_32:-}" != emulated ] || ns+=(--user --map-root-user)
    QM_IN_NAMESPACE=1 exec unshare "${ns[@]}" "$@"
}

# qm_stage: the Wine root staged with the clone inside it (in-root.sh); before the command's
# namespaces, in ones of its own, it is the command's first word on a clone it cannot place.
qm_stage() {
    qm_step "placing $QM_ROOT inside the Wine root" "the line above says what to do"
    "$QM_ROOT/tools/wine/in-root.sh" true
}

# qm_enter_namespace "$@", at a command's start: outside the namespaces it does what needs the
# real user (installing, through sudo), finds the 32-bit path and places the clone, then starts
# the command afresh inside them, where it returns at once.
qm_enter_namespace() {
    [ "${QM_IN_NAMESPACE:-}" = 1 ] && return 0
    [ "$(id -u)" -eq 0 ] || qm_userns_allowed
    qm_install_deps
    qm_x86_32_path
    [ "$QM_X86_32" != emulated ] || qm_userns_allowed
    qm_stage
    qm_unshare bash "$QM_SCRIPT" "$@"
}
qm_userns_allowed() { local why; why="$(qm_userns_refused)" || return 0; qm_step "entering a user namespace" "$why"; return 1; }
