"""tests/release_test.py ROOT VERSION: dist/Quillmark-VERSION.zip holds the release and a README.txt
that Notepad opens on every Windows and that names the program's texts as it holds them."""
import hashlib
import pathlib
import re
import sys
import zipfile


def need(ok, why):  # also under python3 -O, which drops asserts
    if not ok:
        sys.exit(f"release_test: {why}")


dist, name = pathlib.Path(sys.argv[1], "dist"), f"Quillmark-{sys.argv[2]}.zip"
release = (dist / "win32" / "Quillmark.exe").read_bytes()
need((dist / name).is_file(), f"no {dist / name}: run tools/release.sh")
with zipfile.ZipFile(dist / name) as z:
    need(z.namelist() == ["Quillmark.exe", "README.txt"], f"the zip holds {z.namelist()}")
    need(z.read("Quillmark.exe") == release, "the zip's Quillmark.exe is not the release")
    raw = z.read("README.txt")
# As sha256sum writes them; the executable is named as the user has it, unpacked from the zip.
lines = (dist / "SHA256SUMS").read_text().splitlines()
sums = {n: h for line in lines for h, n in re.findall(r"^([0-9a-f]{64}) [ *](.+)$", line)}
need(len(sums) == len(lines), "SHA256SUMS: a line that is not one hash and one file")
need(sorted(sums) == sorted([name, "Quillmark.exe"]), f"SHA256SUMS lists {sorted(sums)}")
for n, data in ((name, (dist / name).read_bytes()), ("Quillmark.exe", release)):
    need(sums[n] == hashlib.sha256(data).hexdigest(), f"SHA256SUMS has the wrong hash for {n}")
need(raw.count(b"\r") == raw.count(b"\n") == raw.count(b"\r\n"), "README.txt: not CRLF alone")
text = raw.decode("cp1252")  # fails on a byte that code page 1252 does not define
need(all(len(line) <= 78 for line in text.split("\r\n")), "README.txt: a line longer than 78 characters")
texts = ["Change Registered Name Of Your Computer", "Organisation:", "Owner:", "Error", "Empty String",
         "Could not write "]
names = ["Software\\Microsoft\\Windows\\CurrentVersion", "RegisteredOrganization", "RegisteredOwner"]
for t in texts + names:
    need((t + "\0").encode("utf-16-le") in release, f"the program has no text {t!r}")
    need((t if t in names else f'"{t}"') in text, f"README.txt does not name {t!r}")
need("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion" in text,
     "README.txt does not name the whole key")
