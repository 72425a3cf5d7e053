"""Replaces each file of a new Wine prefix that is a byte-for-byte copy of one of Wine's own
Windows DLLs or programs in the Wine root with a link to it: Wine follows the link, and the
prefix keeps only what is its own. Then links into syswow64 each 32-bit one it lacks, as a
prefix made where the processor has no 32-bit mode lacks them all.
Usage: link-prefix-dlls.py PREFIX WINE_ROOT"""
import filecmp
import os
import sys

prefix, root = sys.argv[1], sys.argv[2]
pe_dirs = ["/usr/lib/x86_64-linux-gnu/wine/x86_64-windows",
           "/usr/lib/x86_64-linux-gnu/wine/i386-windows"]
originals = {}  # (name, size) -> paths as Wine sees them inside the root
for pe in pe_dirs:
    for name in os.listdir(root + pe):
        path = os.path.join(root + pe, name)
        if os.path.isfile(path):
            originals.setdefault((name.lower(), os.path.getsize(path)), []).append(pe + "/" + name)

for folder, _, files in os.walk(os.path.join(prefix, "drive_c")):
    for name in files:
        copy = os.path.join(folder, name)
        if os.path.islink(copy) or not os.path.isfile(copy):
            continue
        for original in originals.get((name.lower(), os.path.getsize(copy)), []):
            if filecmp.cmp(copy, root + original, shallow=False):
                os.remove(copy)
                os.symlink(original, copy)
                break

syswow64 = os.path.join(prefix, "drive_c/windows/syswow64")
present = {name.lower() for name in os.listdir(syswow64)}
for name in sorted(os.listdir(root + pe_dirs[1])):
    if name.lower() not in present and os.path.isfile(os.path.join(root + pe_dirs[1], name)):
        os.symlink(pe_dirs[1] + "/" + name, os.path.join(syswow64, name))
