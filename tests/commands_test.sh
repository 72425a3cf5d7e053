#!/usr/bin/env bash
# The commands start a test program from a folder reached through a link the Wine root lacks,
# with a contributor's 32-bit prefix (which WoW64 refuses). Usage: commands_test.sh PROGRAM
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd -P)" here="$(pwd -P)"
link="$(mktemp -d)/clone" && trap 'rm -r "${link%/*}"' EXIT && ln -s "$top" "$link"
cd "$link/${here#"$top"/}"
WINEARCH=win32 "$link/tools/wine/wine-run.sh" "$1" --gtest_list_tests >/dev/null
