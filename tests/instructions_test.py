#!/usr/bin/env python3
"""tests/instructions_test.py OBJDUMP EXE: every instruction in EXE's executable sections is one
that an 80386 with a 387 (Windows 95's oldest processor) runs; names each newer one, exits 1."""
import pathlib
import re
import struct
import subprocess
import sys

# What the 80386 and 387 have, as objdump names them; each prefix must be the 386's too.
LIST = pathlib.Path(__file__).parent / "data" / "i386_instructions.txt"
ALLOWED = set(re.findall(r"^\w+$", LIST.read_text(), re.M))
PREFIXES = {"cs", "ds", "es", "fs", "gs", "ss", "data16", "addr16", "lock", "rep", "repe", "repz",
            "repne", "repnz"}
# The 386's registers (eiz: the address with no index); not MMX, SSE and their kin, nor CR4.
REGISTERS = re.compile(
    r"(e?[abcd]x|[abcd][lh]|e?[sd]i|e?[sb]p|[c-gs]s|eiz|st(\([0-7]\))?|cr[023]|db[0-367]|tr[67])$")
# The linker's empty lists of static constructors and destructors (-1, then 0): data, not code.
LISTS = bytes.fromhex("ffffffff00000000" * 2)


def sections(exe):
    pe = open(exe, "rb").read()
    nt = struct.unpack_from("<I", pe, 0x3C)[0]
    count, optional = struct.unpack_from("<H12xH", pe, nt + 6)
    base = struct.unpack_from("<I", pe, nt + 24 + 28)[0]  # ImageBase of a 32-bit header
    for i in range(count):
        name, size, rva, raw_size, raw, flags = struct.unpack_from(
            "<8sIIII12xI", pe, nt + 24 + optional + 40 * i)
        if flags & 0x20000000:  # executable
            yield name.rstrip(b"\0").decode(), base + rva, pe[raw : raw + min(size, raw_size)]


def main(objdump, exe):
    problems, count = 0, 0
    for name, start, data in sections(exe):
        # Code ends where the lists start: only zero fill follows them.
        end = data.rfind(LISTS)
        if end < 0 or data[end + len(LISTS):].strip(b"\0"):
            end = len(data)
        listing = subprocess.run(
            [objdump, "-d", "-j", name, "--insn-width=16", f"--stop-address={start + end:#x}", exe],
            check=True, capture_output=True, text=True).stdout
        for address, raw, text in re.findall(r"^\s*([0-9a-f]+):\t([0-9a-f ]+)\t(.*)$", listing, re.M):
            words = text.replace(",", " ").split()
            while words and words[0] in PREFIXES:
                words.pop(0)
            count += 1
            # NOP is the 386's one byte (90); with an operand it is the Pentium Pro's hint NOP (0F 18-1F).
            if (words and words[0] not in ALLOWED or words[:1] == ["nop"] and len(words) > 1
                    or not all(map(REGISTERS.match, re.findall(r"%(\w+(?:\(\d\))?)", text)))):
                print(f"not an 80386 instruction: {name} 0x{address}: {text.strip()}")
                problems += 1
    print(f"{count} instructions, {problems} newer than the 80386 and 387")
    if count == 0:
        print("no code found: is this the release?")
    return 1 if problems or count == 0 else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
