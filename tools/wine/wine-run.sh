#!/usr/bin/env bash
# Runs a Windows program under Wine in the test prefix (CTest's cross-compiling emulator).
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd -P)"
[ "${QM_IN_NAMESPACE:-}" = 1 ] || { echo "the Windows tests need the display and the namespaces that tools/test.sh sets up: run tools/test.sh, which passes its arguments to CTest (tools/test.sh -R NAME)" >&2; exit 1; }
export QM_PREFIX="${QM_PREFIX:-${here%/tools/wine}/build/wineprefix}"
. "$here/wine-env.sh"
qm_prefix_init desktop || exit 1
# Wine's helper processes (desktop, services) outlive the program and inherit its output;
# through files they cannot keep the caller waiting on an open pipe. Wine's traces go to the
# standard error a process inherits: a test reads those of its programs in wine-stderr.txt.
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
status=0
# QM_RUN_AS (win95, win98, nt40): the program runs as that Windows, which Wine takes per
# program file name: a copy of it named so runs, in the working folder.
if [ -n "${QM_RUN_AS:-}" ]; then
    copy="$(pwd -P)/$(basename "$1" .exe)-$QM_RUN_AS.exe"
    cp "$1" "$copy" && shift && set -- "$copy" "$@"
    qm_wine reg add "HKCU\\Software\\Wine\\AppDefaults\\${copy##*/}" /v Version /d "$QM_RUN_AS" /f \
        >"$out" 2>wine-stderr.txt || {
        cat "$out" wine-stderr.txt >&2
        echo "cannot make ${copy##*/} run as $QM_RUN_AS: Wine said the above" >&2
        exit 1
    }
fi
qm_wine "$@" </dev/null >"$out" 2>wine-stderr.txt || status=$?
cat "$out"
# Neither Wine 10's notice of its WoW64 mode nor a trace is the program speaking.
grep -v -e 'experimental wow64 mode' -e '^[0-9a-f]*:\(Call\|Ret\) ' wine-stderr.txt >&2
[ $status -eq 0 ] || { echo && qm_why_not_started "$1"; } >&2
exit $status
