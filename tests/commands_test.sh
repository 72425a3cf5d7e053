#!/usr/bin/env bash
# A test program run as a contributor may start the commands: through a link to the clone that
# the Wine root does not have, in a folder reached through it, with the user's own Wine settings
# (a 32-bit prefix, which Wine's WoW64 mode refuses). Usage: commands_test.sh PROGRAM
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd -P)" here="$(pwd -P)"
link="$(mktemp -d)/clone" && trap 'rm -r "${link%/*}"' EXIT && ln -s "$top" "$link"
cd "$link/${here#"$top"/}"
WINEARCH=win32 "$link/tools/wine/wine-run.sh" "$1" --gtest_list_tests >/dev/null
