# Sourced: the settings every wine64 call of this project runs with.
# QM_PREFIX names the private prefix; it always lies inside the build tree.
: "${QM_PREFIX:?QM_PREFIX must name the Wine prefix}"
export WINEPREFIX="$QM_PREFIX"
export WINELOADER=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver64
export WINEDEBUG=-all
export WINEARCH=win64
# No Mono or Gecko installer prompts in a fresh prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="
# Under Wine this gives ANSI code page 1252, which byte checks rely on.
export LANG=C.UTF-8 LC_ALL=C.UTF-8

qm_wine() { "$WINELOADER" "$@"; }

# qm_prefix_init [desktop]: creates the prefix once (about 6 s). With "desktop", every
# process shares one virtual desktop, so windows get frames and captions even without a
# window manager.
qm_prefix_init() {
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.qm-ready" ]; then
            "$WINELOADER" wineboot -i >/dev/null 2>&1
            # Started as /usr/lib/wine/wine64, Wine looks for its own fonts (MS Sans Serif,
            # Marlett for the caption buttons) where Debian does not put them; the prefix's
            # Fonts folder is searched first.
            ln -sf /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
            if [ "${1:-}" = desktop ]; then
                "$WINELOADER" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
                "$WINELOADER" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
            fi
            "$WINESERVER" -w
            touch "$WINEPREFIX/.qm-ready"
        fi
    ) 9>"$WINEPREFIX.lock"
}
