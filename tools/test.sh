#!/usr/bin/env bash
# Installs what is missing, builds both targets and runs every test under wine64 on a
# private X display. Ends with CTest's summary.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/deps.sh"
qm_install_deps

qm_build win32 win64

export QM_PREFIX="$QM_ROOT/build/win64/wineprefix"
. tools/wine-env.sh
qm_private_display
qm_prefix_init desktop
"$WINESERVER" -p || true  # one server for the whole run keeps each test's start fast

status=0
ctest --preset win64 "$@" || status=$?
exit $status
