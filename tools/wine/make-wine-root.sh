#!/usr/bin/env bash
# Makes a Debian 13 root with Wine 10 at $1, from the Debian mirror $2. Run through unshare -m:
# the proc mount it needs lives in a private mount namespace and is gone when this script
# ends, however it ends.
# Wine 10 runs 32-bit Windows programs in its WoW64 mode (64-bit Linux code throughout) where
# the processor has a 32-bit mode, and its 32-bit loader under QEMU where it has not.
set -Eeuo pipefail
failed() { echo "failed step: ${2:-$1}" >&2; }  # inside in_root (errtrace), by its own words
trap 'failed "$BASH_COMMAND" "${FUNCNAME:+$FUNCNAME $*}"' ERR
root="$1"
mirror="$2"

debootstrap --variant=minbase trixie "$root" "$mirror"
mount -t proc proc "$root/proc"  # Wine cannot load ntdll.so without it

in_root() { /usr/sbin/chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive "$@"; }
in_root apt-get update -qq
in_root apt-get install -y -qq --no-install-recommends wine64 fonts-wine xdotool locales qemu-user
# The 32-bit half of Wine, i386 Linux code included, as files only: none of it runs here. Wine's
# WoW64 mode takes its Windows DLLs; where the processor has no 32-bit mode, its 32-bit loader
# runs under QEMU instead (tools/wine/in-root.sh), and only there is it found: kept aside in
# wine-emulated, a folder that stands for /usr/lib/wine on that path alone.
in_root dpkg --add-architecture i386
in_root apt-get update -qq
in_root apt-get install --download-only -y -qq --no-install-recommends wine32:i386
in_root sh -ec "for deb in /var/cache/apt/archives/*.deb; do dpkg-deb -x \"\$deb\" /; done
    ldconfig
    cp -al /usr/lib/i386-linux-gnu/wine/i386-windows /usr/lib/x86_64-linux-gnu/wine/
    mkdir -p /opt/quillmark/wine-emulated
    mv /usr/lib/wine/wine /opt/quillmark/wine-emulated/
    rm /usr/lib/wine/wineserver32
    ln /usr/lib/wine/wine64 /usr/lib/wine/wineserver /usr/lib/wine/wineserver64 /opt/quillmark/wine-emulated/"
# A locale whose ANSI code page under Wine is UTF-8 (65001), for the tests that need one.
in_root localedef -i hi_IN -f UTF-8 hi_IN.UTF-8
in_root apt-get clean

# One prefix for every clone to copy: made once here, it turns a clone's minute of disk
# writing into a copy of its own few megabytes, Wine's DLLs being links into this root.
template=/opt/quillmark/prefix
mkdir -p "$root/opt/quillmark"
in_root env WINEPREFIX=$template HOME=/root WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    /usr/lib/wine/wine64 wineboot -i
in_root env WINEPREFIX=$template /usr/lib/wine/wineserver -w
# Started as /usr/lib/wine/wine64, Wine looks for its own fonts (MS Sans Serif, Marlett for
# the caption buttons) where Debian does not put them; the prefix's Fonts folder comes first.
in_root sh -c "ln -sf /usr/share/wine/fonts/* $template/drive_c/windows/Fonts/"
# Where the processor has no 32-bit mode, Wine's 32-bit set-up step fails and leaves syswow64
# empty: the links below fill it whichever machine made the root.
python3 "$(dirname "${BASH_SOURCE[0]}")/link-prefix-dlls.py" "$root$template" "$root"
chmod -R a+rX "$root/opt/quillmark"
