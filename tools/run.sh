#!/usr/bin/env bash
# Installs what is missing, builds, and starts Quillmark under wine64 in a private prefix.
# With no display it runs on a virtual one, saves a screenshot and closes the window.
# Afterwards it prints the two values as the prefix's registry holds them.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/deps.sh"
qm_install_deps

qm_build win32 win64
exe="$QM_ROOT/dist/win64/Quillmark.exe"

export QM_PREFIX="$QM_ROOT/build/run/wineprefix"
. tools/wine-env.sh
qm_prefix_init

if [ -n "${DISPLAY:-}" ]; then
    "$WINELOADER" "$exe" >/dev/null 2>&1 || true
else
    . tools/desktop.sh
    shot="$QM_ROOT/build/run/screenshot.png"
    qm_desktop_screenshot "$exe" "$shot"
    echo "Screenshot: $shot"
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
