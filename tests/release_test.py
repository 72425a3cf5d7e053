"""The download: the zip holds the release and README.txt alone; README.txt opens in Notepad
on every Windows (CRLF, code page 1252, lines of at most 78 characters) and names the key,
the values and the program's texts exactly as the executable holds them."""
import glob
import sys
import zipfile

top = sys.argv[1]
failures = []
def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    ok or failures.append(what)

[name] = glob.glob(f"{top}/dist/Quillmark-*.zip")
with open(f"{top}/dist/win32/Quillmark.exe", "rb") as f:
    release = f.read()
with zipfile.ZipFile(name) as z:
    check(z.namelist() == ["Quillmark.exe", "README.txt"], f"the zip holds {z.namelist()}")
    check(z.read("Quillmark.exe") == release, "its Quillmark.exe is the release")
    raw = z.read("README.txt")
lines = raw.split(b"\r\n")
check(b"\n" not in raw.replace(b"\r\n", b"") and b"\r" not in raw.replace(b"\r\n", b""), "CRLF line ends only")
text = raw.decode("cp1252")  # fails on a byte that code page 1252 does not define
check(all(len(line) <= 78 for line in lines), "lines of at most 78 characters")
def held(t):  # in the executable as a Unicode text that ends there
    return (t + "\0").encode("utf-16-le") in release
texts = ["Change Registered Name Of Your Computer", "Organisation:", "Owner:", "Error",
         "Empty String", "Could not write "]
for t in texts:
    check(held(t) and f'"{t}"' in text, f'"{t}": the program\'s own, quoted in README.txt')
for t in ["Software\\Microsoft\\Windows\\CurrentVersion", "RegisteredOrganization", "RegisteredOwner"]:
    check(held(t) and t in text, f"{t}: the program's own, in README.txt")
check("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion" in text, "the whole key")
print(f"{len(texts) + 7 - len(failures)} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
