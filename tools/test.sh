#!/usr/bin/env bash
# Installs what is missing, builds both targets and runs every test under wine64 on a
# private X display. Ends with CTest's summary.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
. tools/deps.sh
qm_install_deps

cmake --preset win32 >/dev/null
cmake --build --preset win32
cmake --preset win64 >/dev/null
cmake --build --preset win64

export QM_PREFIX="$root/build/win64/wineprefix"
. tools/wine-env.sh
qm_start_xvfb
cleanup() {
    "$WINESERVER" -k >/dev/null 2>&1 || true
    kill "$QM_XVFB_PID" >/dev/null 2>&1 || true
}
trap cleanup EXIT
qm_prefix_init desktop
"$WINESERVER" -p  # one server for the whole run keeps each test's start fast

status=0
ctest --preset win64 "$@" || status=$?
exit $status
