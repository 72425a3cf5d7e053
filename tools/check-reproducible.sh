#!/usr/bin/env bash
# Builds both release executables and the download twice from the current sources: in dist/,
# and again from a copy of the sources in another folder (build/reproduce/); then compares
# them byte for byte. The same sources give the same bytes wherever they are built (with the
# same Debian packages).
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/wine/command.sh"
# The download (and the 32-bit build, with what it needs), then the 64-bit build.
qm_step "making the download (tools/release.sh)"
zip="$(tools/release.sh)"
qm_need x86_64-w64-mingw32-g++-win32 g++-mingw-w64-x86-64-win32 \
    x86_64-w64-mingw32-windres binutils-mingw-w64-x86-64
qm_build win64
qm_reproduce
qm_step "comparing the two builds" "the bytes that differ are listed above: something of the build's place or time got into them"
status=0
for file in win32/Quillmark.exe win64/Quillmark.exe "${zip##*/}"; do
    if cmp "dist/$file" "$QM_REPRODUCE/dist/$file"; then
        echo "$file: identical, $(sha256sum <"dist/$file" | cut -d' ' -f1)"
    else
        echo "$file: the build in $QM_REPRODUCE differs:"
        cmp -l "dist/$file" "$QM_REPRODUCE/dist/$file" | head -n 20
        status=1
    fi
done
exit $status
