#!/usr/bin/env bash
# Writes docs/screenshot.png: the window as Wine draws it in its virtual desktop.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
. tools/deps.sh
qm_install_deps
cmake --preset win64 >/dev/null && cmake --build --preset win64 >/dev/null

export QM_PREFIX="$root/build/run/wineprefix"
. tools/wine-env.sh
. tools/desktop.sh
qm_prefix_init
qm_start_xvfb
trap '"$WINESERVER" -k >/dev/null 2>&1 || true; kill "$QM_XVFB_PID" 2>/dev/null || true' EXIT
qm_desktop_start "$root/dist/win64/Quillmark.exe"
mkdir -p docs
qm_desktop_shot docs/screenshot.png
qm_desktop_close
echo "$root/docs/screenshot.png"
