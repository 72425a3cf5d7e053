#!/usr/bin/env bash
# Installs what is missing, builds both release executables and both test builds, and runs
# every test: the 64-bit suite against dist/win64, the 32-bit suite against dist/win32 (in
# Wine 10's WoW64 mode), and the checks on the build itself. Ends with CTest's summary.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/wine/deps.sh"
qm_test_session "$@"
qm_ctest "$@"
