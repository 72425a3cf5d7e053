# Sourced: where the Wine root lives, and making it once per machine.
# The root is a machine-wide cache, shared by every clone (and CI); the suffix changes
# whenever the recipe in make-wine-root.sh does.
QM_WINE_ROOT_CACHE="${QM_WINE_ROOT_CACHE:-/var/cache/quillmark}"
QM_WINE_ROOT="$QM_WINE_ROOT_CACHE/trixie-wine10-4"

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

# The Debian mirror that this machine's own apt sources name for this Debian's own suite (not a
# security or updates archive, nor another party's repository), unless QM_DEBIAN_MIRROR names one.
qm_debian_mirror() {
    if [ -n "${QM_DEBIAN_MIRROR:-}" ]; then echo "$QM_DEBIAN_MIRROR" && return; fi
    apt-get indextargets --format "\$(ORIGIN) \$(RELEASE) \$(SITE)" "Created-By: Packages" 2>/dev/null |
        awk -v suite="$(. /etc/os-release && echo "$VERSION_CODENAME")" '$1 == "Debian" && $2 == suite && $3 ~ /^(https?|ftp|file):/ { print $3; exit }' || true
}

# qm_wine_root_ensure: makes the root unless it is there; safe against two runs at once.
qm_wine_root_ensure() {
    [ -f "$QM_WINE_ROOT/.qm-ready" ] && return 0
    [ "$(id -u)" -eq 0 ] || { qm_root_needed "the Wine root $QM_WINE_ROOT is missing"; return; }
    local mirror
    # Which archive a source is, is known once apt has its release files (containers drop them).
    mirror="$(qm_debian_mirror)"
    [ -n "$mirror" ] || { apt-get update -qq >&2 || true; mirror="$(qm_debian_mirror)"; }
    [ -n "$mirror" ] || {
        echo "no Debian mirror of $(. /etc/os-release && echo "$VERSION_CODENAME") among this machine's apt sources (apt-get indextargets): set QM_DEBIAN_MIRROR" >&2
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
