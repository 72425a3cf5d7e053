#!/usr/bin/env bash
# Makes a Debian 13 root with Wine 10 at $1. Run through unshare -m: the proc mount it
# needs lives in a private mount namespace and is gone when this script ends, however it ends.
# Wine 10 runs 32-bit Windows programs in its WoW64 mode (64-bit Linux code throughout), which
# is why this root exists: these machines cannot run 32-bit Linux programs.
set -euo pipefail
root="$1"
mirror="${QM_DEBIAN_MIRROR:-http://deb.debian.org/debian}"

debootstrap --variant=minbase trixie "$root" "$mirror"
mount -t proc proc "$root/proc"  # Wine cannot load ntdll.so without it

in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive "$@"; }
in_root apt-get update -qq
in_root apt-get install -y -qq --no-install-recommends wine64 fonts-wine xdotool locales
# The 32-bit Windows half of Wine, as files only: nothing of i386 is installed or run.
in_root dpkg --add-architecture i386
in_root apt-get update -qq
in_root sh -ec 'cd /tmp
    apt-get download libwine:i386
    dpkg -x libwine_*_i386.deb libwine
    cp -a libwine/usr/lib/i386-linux-gnu/wine/i386-windows/. /usr/lib/x86_64-linux-gnu/wine/i386-windows/
    rm -rf libwine libwine_*_i386.deb'
# A locale whose ANSI code page under Wine is UTF-8 (65001), for the tests that need one.
in_root localedef -i hi_IN -f UTF-8 hi_IN.UTF-8
in_root apt-get clean
