"""The download: the release and README.txt alone; README.txt opens in Notepad on every Windows
(CRLF, code page 1252, lines of at most 78 characters) and names the key, the values and the
program's texts exactly as the executable holds them."""
import pathlib
import sys
import zipfile

dist = pathlib.Path(sys.argv[1], "dist")
release = (dist / "win32" / "Quillmark.exe").read_bytes()
with zipfile.ZipFile(next(dist.glob("Quillmark-*.zip"))) as z:
    assert z.namelist() == ["Quillmark.exe", "README.txt"], z.namelist()
    assert z.read("Quillmark.exe") == release, "the zip's Quillmark.exe is not the release"
    raw = z.read("README.txt")
assert raw.count(b"\r") == raw.count(b"\n") == raw.count(b"\r\n"), "not CRLF alone"
text = raw.decode("cp1252")  # fails on a byte that code page 1252 does not define
assert all(len(line) <= 78 for line in text.split("\r\n")), "a line longer than 78 characters"
texts = ["Change Registered Name Of Your Computer", "Organisation:", "Owner:", "Error", "Empty String",
         "Could not write "]
names = ["Software\\Microsoft\\Windows\\CurrentVersion", "RegisteredOrganization", "RegisteredOwner"]
for t in texts + names:
    assert (t + "\0").encode("utf-16-le") in release, f"the program has no text {t!r}"
    assert (t if t in names else f'"{t}"') in text, f"README.txt does not name {t!r}"
assert "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion" in text, "the whole key"
