#!/usr/bin/env bash
# Start-up benchmark: Quillmark against Wine's notepad, under wine64 in a virtual desktop
# on a private X display. Usage: tools/bench.sh [RUNS]   (default 10)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
. tools/deps.sh
qm_install_deps
cmake --preset win64 >/dev/null && cmake --build --preset win64 >/dev/null

export QM_PREFIX="$root/build/bench/wineprefix"
. tools/wine-env.sh
qm_prefix_init desktop
qm_start_xvfb
trap '"$WINESERVER" -k >/dev/null 2>&1 || true; kill "$QM_XVFB_PID" 2>/dev/null || true' EXIT
"$WINESERVER" -p
"$WINELOADER" build/win64/tools/bench/startup_bench.exe "$root/dist/win64/Quillmark.exe" "${1:-10}" 2>/dev/null
