#!/usr/bin/env bash
# Builds both release executables again, from a copy of the sources in another folder, and
# compares them byte for byte with dist/: the same sources give the same bytes wherever and
# whenever they are built (with the same Debian packages).
set -euo pipefail
project="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
other="$(mktemp -d /tmp/quillmark-rebuild.XXXXXX)"
trap 'rm -rf "$other"' EXIT
tar -C "$project" --exclude=./build --exclude=./dist --exclude=./.git -cf - . | tar -C "$other" -xf -
status=0
for target in win32 win64; do
    (cd "$other" && cmake --preset "$target" && cmake --build --preset "$target") >"$other/$target.log" 2>&1 ||
        { cat "$other/$target.log"; exit 1; }
    if cmp "$project/dist/$target/Quillmark.exe" "$other/dist/$target/Quillmark.exe"; then
        echo "$target: identical, $(sha256sum <"$other/dist/$target/Quillmark.exe" | cut -d' ' -f1)"
    else
        echo "$target: the rebuild in $other differs:"
        cmp -l "$project/dist/$target/Quillmark.exe" "$other/dist/$target/Quillmark.exe" | head -n 20
        status=1
    fi
done
exit $status
