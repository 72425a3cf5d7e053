# Sourced: the settings every Wine run of this project uses. All Windows programs run under
# Wine 10 in the Debian 13 root (tools/wine/in-root.sh): 64-bit ones natively, 32-bit ones in its
# WoW64 mode. QM_PREFIX names the private prefix; it always lies inside the build tree.
: "${QM_PREFIX:?QM_PREFIX must name the Wine prefix}"
QM_TOOLS="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd -P)"
. "$QM_TOOLS/wine-root.sh"
unset "${!WINE@}"  # the user's own settings (WINEARCH, WINESERVER, ...) are for the user's Wine
export WINEPREFIX="$QM_PREFIX"
export WINEDEBUG=-all
# No Mono or Gecko installer prompts in a fresh prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="
# Under Wine this gives ANSI code page 1252, which byte checks rely on. QM_LOCALE picks
# another locale for one run (hi_IN.UTF-8 gives code page 65001).
export LANG="${QM_LOCALE:-C.UTF-8}" LC_ALL="${QM_LOCALE:-C.UTF-8}"

# Outside the commands (tools/wine/wine-run.sh, under CTest) no step is reported.
type qm_step >/dev/null 2>&1 || qm_step() { :; }

qm_wine() { "$QM_TOOLS/in-root.sh" /usr/lib/wine/wine64 "$@"; }
qm_wineserver() { "$QM_TOOLS/in-root.sh" /usr/lib/wine/wineserver "$@"; }

# qm_why_not_started EXE [LOG]: what is known of why Wine did not run EXE: a 32-bit program on
# the native path of a processor with no 32-bit mode; the last lines Wine wrote to LOG.
qm_why_not_started() {
    local header
    [ -z "${2:-}" ] || [ ! -s "$2" ] || { echo "Wine said ($2):" && tail -n 5 "$2"; } >&2
    [ "${QM_X86_32:-}" = native ] && [ "${QM_X86_32_MODE:-}" = absent ] || return 0
    header=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null) || return 0
    [ "$(od -An -tx2 -j$((header + 4)) -N2 "$1" | tr -d ' ')" = 014c ] || return 0
    echo "$1 is a 32-bit program, and this processor has no 32-bit mode: unset QM_X86_32=native to run it under emulation" >&2
}

# qm_prefix_init [desktop]: makes the root if need be, then the prefix once, as a copy of the
# root's template prefix (Wine's DLLs in it are links into the root). With "desktop", every
# process shares one virtual desktop, so windows get frames and captions even without a
# window manager.
qm_prefix_init() {
    qm_wine_root_ensure
    qm_step "making the Wine prefix $WINEPREFIX" "Wine's words are above; removing that folder makes it again"
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        # A prefix is remade whenever the root it was copied from is not the current one.
        if [ "$(cat "$WINEPREFIX/.qm-ready" 2>/dev/null)" != "$QM_WINE_ROOT" ]; then
            rm -rf "$WINEPREFIX"
            cp -RP --preserve=mode,timestamps "$QM_WINE_ROOT/opt/quillmark/prefix" "$WINEPREFIX"
            if [ "${1:-}" = desktop ]; then
                local log="$WINEPREFIX.log"
                { qm_wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f &&
                    qm_wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f &&
                    qm_wineserver -w; } >"$log" 2>&1 || { cat "$log" >&2; exit 1; }
            fi
            echo "$QM_WINE_ROOT" >"$WINEPREFIX/.qm-ready"
        fi
    ) 9>"$WINEPREFIX.lock"
}
