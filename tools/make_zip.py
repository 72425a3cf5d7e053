"""Writes the download, a zip of the release and its read-me, the same bytes wherever,
whenever and by whomever it is made: entries in a fixed order, stamped SOURCE_DATE_EPOCH,
with MS-DOS attributes only (no owner, no extra fields) and a fixed compression level.
Usage: make_zip.py ZIP VERSION EXE README; README's @VERSION@ becomes VERSION, and it is
written for Notepad: CRLF line ends, code page 1252."""
import os
import sys
import time
import zipfile

out, version, exe, readme = sys.argv[1:]
stamp = max(time.gmtime(int(os.environ["SOURCE_DATE_EPOCH"]))[:6], (1980, 1, 1, 0, 0, 0))
with open(readme, encoding="utf-8") as f:
    text = f.read().replace("@VERSION@", version)
with open(exe, "rb") as f:
    entries = [("Quillmark.exe", f.read()), ("README.txt", text.replace("\n", "\r\n").encode("cp1252"))]
with zipfile.ZipFile(out + ".part", "w") as z:
    for name, data in entries:
        info = zipfile.ZipInfo(name, date_time=stamp)
        info.create_system = 0  # MS-DOS
        info.external_attr = 0x20  # the archive attribute
        info.compress_type = zipfile.ZIP_DEFLATED
        z.writestr(info, data, compresslevel=9)
os.replace(out + ".part", out)
