#!/usr/bin/env bash
# Installs what is missing, builds the releases, the test builds and the second build of the
# release (build/reproduce), and runs every test (docs/testing.md). Ends with CTest's summary.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/wine/command.sh"
qm_enter_namespace "$@"
qm_test_session
qm_ctest "$@"
