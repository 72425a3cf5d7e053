#!/usr/bin/env bash
# The one step that needs root, once per machine: installs the Debian packages the project
# needs and makes the machine-wide Wine root. The other commands run it themselves (through
# sudo where there is one) only when something is missing.
set -euo pipefail
[ "$(id -u)" -eq 0 ] || { echo "tools/setup.sh installs packages: run it as root" >&2; exit 1; }
. "$(dirname "${BASH_SOURCE[0]}")/wine/command.sh"
qm_install_deps
