#!/usr/bin/env bash
# Builds both release executables and the download again, from a copy of the sources in
# another folder (build/reproduce/), and compares them byte for byte with dist/: the same
# sources give the same bytes wherever they are built (with the same Debian packages).
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/wine/deps.sh"
qm_reproduce
status=0
for file in win32/Quillmark.exe win64/Quillmark.exe "$(basename "$(ls dist/Quillmark-*.zip)")"; do
    if cmp "dist/$file" "$QM_REPRODUCE/dist/$file"; then
        echo "$file: identical, $(sha256sum <"dist/$file" | cut -d' ' -f1)"
    else
        echo "$file: the build in $QM_REPRODUCE differs:"
        cmp -l "dist/$file" "$QM_REPRODUCE/dist/$file" | head -n 20
        status=1
    fi
done
exit $status
