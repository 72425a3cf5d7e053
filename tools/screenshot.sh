#!/usr/bin/env bash
# Writes docs/screenshot.png: the window as Wine draws it in its virtual desktop.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/wine/command.sh"
qm_enter_namespace "$@"
qm_build win32

export QM_PREFIX="$QM_ROOT/build/run/wineprefix"
. tools/wine/wine-env.sh
. tools/wine/desktop.sh
qm_prefix_init
mkdir -p docs
qm_desktop_screenshot "$QM_ROOT/dist/win32/Quillmark.exe" docs/screenshot.png
echo "$QM_ROOT/docs/screenshot.png"
