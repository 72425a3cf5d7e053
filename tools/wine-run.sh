#!/usr/bin/env bash
# Runs a Windows program under wine64 in the test prefix (CTest's cross-compiling emulator).
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export QM_PREFIX="${QM_PREFIX:-$here/../build/win64/wineprefix}"
. "$here/wine-env.sh"
qm_prefix_init desktop
# Tests hand this to xdotool, which they start for real mouse input.
export QM_DISPLAY="${DISPLAY:-}"
# Wine's helper processes (desktop, services) outlive the program and inherit its output;
# through a file they cannot keep the caller waiting on an open pipe.
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
status=0
"$WINELOADER" "$@" </dev/null >"$out" 2>&1 || status=$?
cat "$out"
exit $status
