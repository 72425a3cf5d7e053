#!/usr/bin/env bash
# Runs a Windows program under Wine in the test prefix (CTest's cross-compiling emulator).
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export QM_PREFIX="${QM_PREFIX:-$(cd "$here/../.." && pwd)/build/wineprefix}"
. "$here/wine-env.sh"
qm_prefix_init desktop
# Tests hand this to xdotool, which they start for real mouse input.
export QM_DISPLAY="${DISPLAY:-}"
# Wine's helper processes (desktop, services) outlive the program and inherit its output;
# through a file they cannot keep the caller waiting on an open pipe.
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
status=0
qm_wine "$@" </dev/null >"$out" 2>&1 || status=$?
# Wine 10 announces its WoW64 mode on every 32-bit start; that is not the program speaking.
grep -v 'experimental wow64 mode' "$out"
exit $status
