#!/usr/bin/env bash
# Start-up benchmark under Wine 10 in a virtual desktop on a private X display: both
# executables (the 32-bit one natively in WoW64 mode, or under QEMU) against two floors of
# each bitness, a bare Win32 window and the same window with a description and two buttons,
# and against Wine's notepad, all in one run. Usage: tools/bench.sh [RUNS]
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/wine/command.sh"
qm_enter_namespace "$@"
qm_test_session
# Each label ends in bitness/path: start-up under QEMU is not comparable with native start-up,
# and the benchmark compares only programs of the same path.
p32="32/$QM_X86_32"
qm_step "running the benchmark" "Wine's and the benchmark's words are above"
qm_wine build/test64/tools/bench/startup_bench.exe "${1:-10}" \
    "bare window $p32=$QM_ROOT/build/test32/tools/bench/bare_window.exe" \
    "bare window 64/native=$QM_ROOT/build/test64/tools/bench/bare_window.exe" \
    "text window $p32=$QM_ROOT/build/test32/tools/bench/text_window.exe" \
    "text window 64/native=$QM_ROOT/build/test64/tools/bench/text_window.exe" \
    "notepad 64/native=C:\\windows\\system32\\notepad.exe" \
    "Quillmark $p32=$QM_ROOT/dist/win32/Quillmark.exe" \
    "Quillmark 64/native=$QM_ROOT/dist/win64/Quillmark.exe" 2> >(grep -v -e fixme: -e 'experimental wow64' >&2)
