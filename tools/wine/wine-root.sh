# Sourced: where the Wine root lives, and making it once per machine.
# The root is a machine-wide cache, shared by every clone (and CI); the suffix changes
# whenever the recipe in make-wine-root.sh does.
QM_WINE_ROOT_CACHE="${QM_WINE_ROOT_CACHE:-/var/cache/quillmark}"
QM_WINE_ROOT="$QM_WINE_ROOT_CACHE/trixie-wine10-4"

# qm_unshare COMMAND...: becomes COMMAND in a private mount namespace of its own, with
# QM_IN_NAMESPACE=1, and in a user namespace too for a normal user, and for root on the
# emulated path, whose handler for i386 programs lives in a user namespace's own binfmt_misc.
qm_unshare() {
    local ns=(--mount --propagation private)
    [ "$(id -u)" -eq 0 ] && [ "${QM_X86_32:-}" != emulated ] || ns+=(--user --map-root-user)
    QM_IN_NAMESPACE=1 exec unshare "${ns[@]}" "$@"
}

# qm_root_needed REASON: a step needs root. Through sudo where there is one, the root-only
# set-up runs now; otherwise one line says what to run as root.
qm_root_needed() {
    local setup
    setup="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/setup.sh"
    if command -v sudo >/dev/null 2>&1; then
        echo "$1: running $setup through sudo" >&2
        # sudo resets the environment: the two settings the set-up reads are passed on.
        sudo env ${QM_DEBIAN_MIRROR:+QM_DEBIAN_MIRROR="$QM_DEBIAN_MIRROR"} \
            QM_WINE_ROOT_CACHE="$QM_WINE_ROOT_CACHE" "$setup" && return 0
    fi
    echo "$1: run once as root: $setup" >&2
    return 1
}

# The Debian mirror that this machine's own apt sources name, unless QM_DEBIAN_MIRROR names
# one: the first URI of a deb source that is not a security archive.
qm_debian_mirror() {
    if [ -n "${QM_DEBIAN_MIRROR:-}" ]; then echo "$QM_DEBIAN_MIRROR" && return; fi
    # Either file may be missing (Debian 12's images have only the deb822 one): no match is
    # an empty answer, never a failure.
    {
        cat /etc/apt/sources.list.d/*.sources 2>/dev/null | sed -n 's/^URIs: *\([^ ]*\).*/\1/p' || true
        sed -n 's/^deb \(\[[^]]*\] *\)\?\([^ ]*\) .*/\2/p' /etc/apt/sources.list 2>/dev/null || true
    } | grep -v -e '-security' -e '^$' | head -n 1 || true
}

# qm_wine_root_ensure: makes the root unless it is there; safe against two runs at once.
qm_wine_root_ensure() {
    [ -f "$QM_WINE_ROOT/.qm-ready" ] && return 0
    [ "$(id -u)" -eq 0 ] || { qm_root_needed "the Wine root $QM_WINE_ROOT is missing"; return; }
    local mirror
    mirror="$(qm_debian_mirror)"
    [ -n "$mirror" ] || {
        echo "no Debian mirror in /etc/apt/sources.list.d/*.sources or /etc/apt/sources.list: set QM_DEBIAN_MIRROR" >&2
        return 1
    }
    mkdir -p "$QM_WINE_ROOT_CACHE"
    (
        flock 9
        [ -f "$QM_WINE_ROOT/.qm-ready" ] && exit 0
        echo "Making the Wine 10 root in $QM_WINE_ROOT (once per machine, about two minutes)" >&2
        local started=$SECONDS
        rm -rf "$QM_WINE_ROOT.part" "$QM_WINE_ROOT"
        unshare --mount --propagation private \
            bash "$(dirname "${BASH_SOURCE[0]}")/make-wine-root.sh" "$QM_WINE_ROOT.part" "$mirror" \
            >"$QM_WINE_ROOT_CACHE/make.log" 2>&1 ||
            { tail -n 20 "$QM_WINE_ROOT_CACHE/make.log" >&2
              echo "making the Wine root failed at the step above (the whole log: $QM_WINE_ROOT_CACHE/make.log): mend its cause, then run tools/setup.sh again" >&2
              exit 1; }
        touch "$QM_WINE_ROOT.part/.qm-ready"
        mv "$QM_WINE_ROOT.part" "$QM_WINE_ROOT"
        echo "Wine root ready in $((SECONDS - started)) s, $(du -sh "$QM_WINE_ROOT" | cut -f1)" >&2
    ) 9>"$QM_WINE_ROOT_CACHE/lock"
}
