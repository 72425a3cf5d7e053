#!/usr/bin/env bash
# Installs what is missing, builds, and starts Quillmark under wine64 in a private prefix.
# With no display it runs on a virtual one, saves a screenshot and closes the window.
# Afterwards it prints the two values as the prefix's registry holds them.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
. tools/deps.sh
qm_install_deps

cmake --preset win32 >/dev/null && cmake --build --preset win32 >/dev/null
cmake --preset win64 >/dev/null && cmake --build --preset win64 >/dev/null
exe="$root/dist/win64/Quillmark.exe"

export QM_PREFIX="$root/build/run/wineprefix"
. tools/wine-env.sh
qm_prefix_init

if [ -n "${DISPLAY:-}" ]; then
    "$WINELOADER" "$exe" >/dev/null 2>&1 || true
else
    . tools/desktop.sh
    qm_start_xvfb
    trap '"$WINESERVER" -k >/dev/null 2>&1 || true; kill "$QM_XVFB_PID" 2>/dev/null || true' EXIT
    qm_desktop_start "$exe"
    shot="$root/build/run/screenshot.png"
    qm_desktop_shot "$shot"
    echo "Screenshot: $shot"
    qm_desktop_close
fi

key='HKLM\Software\Microsoft\Windows\CurrentVersion'
for name in RegisteredOrganization RegisteredOwner; do
    line=$("$WINELOADER" reg query "$key" /v "$name" 2>/dev/null | tr -d '\r' | grep -E "^ +$name " || true)
    if [ -n "$line" ]; then
        printf '%s = "%s"\n' "$name" "$(sed -E 's/^ +[^ ]+ +REG_SZ +//' <<<"$line")"
    else
        printf '%s is not set\n' "$name"
    fi
done
