#!/usr/bin/env bash
# Runs a Windows program under Wine in the test prefix (CTest's cross-compiling emulator).
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export QM_PREFIX="${QM_PREFIX:-$(cd "$here/../.." && pwd)/build/wineprefix}"
. "$here/wine-env.sh"
qm_prefix_init desktop
# Wine's helper processes (desktop, services) outlive the program and inherit its output;
# through files they cannot keep the caller waiting on an open pipe. Wine writes its traces
# to the standard error that a process inherits, whatever Windows handles it was given, so a
# test reads the trace of the programs it starts from wine-stderr.txt in its folder.
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
status=0
qm_wine "$@" </dev/null >"$out" 2>wine-stderr.txt || status=$?
cat "$out"
# Neither Wine 10's notice of its WoW64 mode on every 32-bit start nor a trace is the
# program speaking.
grep -v -e 'experimental wow64 mode' -e '^[0-9a-f]*:\(Call\|Ret\) ' wine-stderr.txt >&2
exit $status
