#!/usr/bin/env bash
# Runs a Windows program under Wine in the test prefix (CTest's cross-compiling emulator).
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export QM_PREFIX="${QM_PREFIX:-$(cd "$here/../.." && pwd)/build/wineprefix}"
. "$here/wine-env.sh"
qm_prefix_init desktop
# Wine's helper processes (desktop, services) outlive the program and inherit its output;
# through files they cannot keep the caller waiting on an open pipe. Wine's traces go to the
# standard error a process inherits: a test reads those of its programs in wine-stderr.txt.
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
status=0
# QM_RUN_AS (win95, win98, nt40): the program runs as that Windows, which Wine takes per
# program file name.
if [ -n "${QM_RUN_AS:-}" ] && ! qm_wine reg add "HKCU\\Software\\Wine\\AppDefaults\\${1##*/}" \
    /v Version /d "$QM_RUN_AS" /f >"$out" 2>wine-stderr.txt; then
    cat "$out" wine-stderr.txt >&2
    echo "cannot make ${1##*/} run as $QM_RUN_AS: Wine said the above" >&2
    exit 1
fi
qm_wine "$@" </dev/null >"$out" 2>wine-stderr.txt || status=$?
cat "$out"
# Neither Wine 10's notice of its WoW64 mode nor a trace is the program speaking.
grep -v -e 'experimental wow64 mode' -e '^[0-9a-f]*:\(Call\|Ret\) ' wine-stderr.txt >&2
[ $status -eq 0 ] || { echo && qm_why_not_started "$1"; } >&2
exit $status
