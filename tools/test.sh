#!/usr/bin/env bash
# Installs what is missing, builds both release executables and both test builds, and runs
# every test: the 64-bit suite against dist/win64, the 32-bit suite against dist/win32 (in
# Wine 10's WoW64 mode), and the checks on the build itself. Ends with CTest's summary.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/wine/deps.sh"
qm_test_session "$@"

# One CTest run over both test builds, so that one summary closes it.
mkdir -p build/tests
printf 'subdirs("%s")\n' "$QM_ROOT/build/test64" "$QM_ROOT/build/test32" \
    >build/tests/CTestTestfile.cmake
status=0
ctest --test-dir build/tests --output-on-failure --no-tests=error --timeout 120 --parallel 2 "$@" || status=$?
exit $status
