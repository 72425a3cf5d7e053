#!/usr/bin/env bash
# Makes what a Windows user downloads: dist/Quillmark-<version>.zip, holding the 32-bit
# release (dist/win32/Quillmark.exe) and README.txt, and dist/SHA256SUMS for the zip and the
# executable. The zip is byte-reproducible: its time stamp is the commit's (or
# SOURCE_DATE_EPOCH, where that is set). Builds what is missing; prints the zip's path.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/wine/command.sh"
qm_need cmake cmake ninja ninja-build i686-w64-mingw32-g++-win32 g++-mingw-w64-i686-win32 \
    i686-w64-mingw32-windres binutils-mingw-w64-i686 /usr/bin/python3 python3
qm_build win32
qm_step "making the download in dist/" "the messages above say why"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/win32/CMakeCache.txt)"
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}"
zip="Quillmark-$version.zip"
/usr/bin/python3 tools/make_zip.py "dist/$zip" "$version" dist/win32/Quillmark.exe docs/README.txt
# Named as the user has them: the zip, and the executable unpacked beside it.
(cd dist && { sha256sum "$zip"; sha256sum <win32/Quillmark.exe | sed 's/-$/Quillmark.exe/'; } >SHA256SUMS)
echo "$QM_ROOT/dist/$zip"
