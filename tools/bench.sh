#!/usr/bin/env bash
# Start-up benchmark: Quillmark against Wine's notepad, under wine64 in a virtual desktop
# on a private X display. Usage: tools/bench.sh [RUNS]   (default 10)
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/deps.sh"
qm_install_deps
qm_build win64

export QM_PREFIX="$QM_ROOT/build/bench/wineprefix"
. tools/wine-env.sh
qm_prefix_init desktop
qm_private_display
"$WINESERVER" -p || true
"$WINELOADER" build/win64/tools/bench/startup_bench.exe "$QM_ROOT/dist/win64/Quillmark.exe" "${1:-10}" 2>/dev/null
