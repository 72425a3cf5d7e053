#!/usr/bin/env bash
# Builds both release executables and the download again, from a copy of the sources in
# another folder, and compares them byte for byte with dist/: the same sources give the same
# bytes wherever and whenever they are built (with the same Debian packages).
set -euo pipefail
project="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
other="$(mktemp -d /tmp/quillmark-rebuild.XXXXXX)"
trap 'rm -rf "$other"' EXIT
tar -C "$project" --exclude=./build --exclude=./dist --exclude=./.git -cf - . | tar -C "$other" -xf -
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git -C "$project" log -1 --format=%ct)}"
(cd "$other" && cmake --preset win64 && cmake --build --preset win64 && tools/release.sh) >"$other/build.log" 2>&1 ||
    { cat "$other/build.log"; exit 1; }
status=0
for file in win32/Quillmark.exe win64/Quillmark.exe "$(basename "$(ls "$other"/dist/Quillmark-*.zip)")"; do
    if cmp "$project/dist/$file" "$other/dist/$file"; then
        echo "$file: identical, $(sha256sum <"$other/dist/$file" | cut -d' ' -f1)"
    else
        echo "$file: the rebuild in $other differs:"
        cmp -l "$project/dist/$file" "$other/dist/$file" | head -n 20
        status=1
    fi
done
exit $status
