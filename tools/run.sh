#!/usr/bin/env bash
# Installs what is missing, builds, and starts the release, dist/win32/Quillmark.exe, under
# Wine 10 (WoW64 mode, or its 32-bit half under QEMU) in a private prefix,
# build/run/wineprefix. With no display it runs on a virtual one, saves a screenshot and
# closes the window. Afterwards it prints the two values as the prefix's registry holds them,
# in the 32-bit view that the release writes. A program that does not start says why.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/wine/command.sh"
qm_enter_namespace "$@"

qm_build win32 win64
exe="$QM_ROOT/dist/win32/Quillmark.exe"

export QM_PREFIX="$QM_ROOT/build/run/wineprefix"
. tools/wine/wine-env.sh
qm_stage
qm_prefix_init

qm_step "running Quillmark" "the lines above say why"
if [ -n "${DISPLAY:-}" ]; then
    qm_wine "$exe" >/dev/null 2>build/run/wine.log || {
        echo "Quillmark did not start, or ended with status $?" >&2
        qm_why_not_started "$exe" build/run/wine.log
        exit 1
    }
else
    . tools/wine/desktop.sh
    shot="$QM_ROOT/build/run/screenshot.png"
    qm_desktop_screenshot "$exe" "$shot"
    echo "Screenshot: $shot"
fi

# Our own reader, built for the same view: it prints each value exactly, quoted, in UTF-8.
qm_step "reading the stored values" "Wine's words are below"
qm_wine "$QM_ROOT/build/win32/tools/values/show_values.exe" 2>>"$QM_WINE_LOG"
