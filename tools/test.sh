#!/usr/bin/env bash
# Installs what is missing, builds both release executables, both test builds and the second
# build of the release (build/reproduce), and runs every test: the 64-bit suites against
# dist/win64, the 32-bit ones against dist/win32 (natively in Wine 10's WoW64 mode, or under
# QEMU), and the checks on the build itself. Ends with CTest's summary.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/wine/command.sh"
qm_enter_namespace "$@"
qm_test_session
qm_ctest "$@"
