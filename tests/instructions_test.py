#!/usr/bin/env python3
"""tests/instructions_test.py OBJDUMP EXE: every instruction in EXE's executable sections is
one that an 80386 with a 387 runs. Names each newer instruction and its address; exits 1 if
there is one. Windows 95 runs on the 80386; 98 and NT 4.0 on the 486; many of their machines
were Pentiums, Pentium MMXs, K5s and K6s, which lack what the Pentium Pro brought."""
import re
import struct
import subprocess
import sys

# As objdump names them. Pentium Pro: conditional moves, the FPU compares into EFLAGS, the
# long NOP (0F 1F, shown as nopw or nopl with an operand), UD2. Pentium: CPUID, the time
# stamp counter, CMPXCHG8B, the model-specific registers. 486: BSWAP, CMPXCHG, XADD, the
# cache and TLB instructions. Later: MMX, SSE and their kin, which also show as registers.
NEWER = re.compile(
    r"(cmov\w+|fcmov\w+|f(u)?comip?|nop[wl]|ud[012]|rdpmc|sysenter|sysexit|syscall|sysret"
    r"|cpuid|rdtscp?|rdmsr|wrmsr|rsm|cmpxchg8b|cmpxchg16b"
    r"|bswap|cmpxchg[bwl]?|xadd[bwl]?|invd|wbinvd|invlpg"
    r"|emms|femms|prefetch\w*|[slm]fence|clflush\w*|fxsave|fxrstor|[ls]dmxcsr|fisttp\w*"
    r"|movnti|popcnt|lzcnt|tzcnt|movbe|crc32\w*|pause|endbr32)$")
NEWER_REGISTER = re.compile(r"%(x|y|z)?mm\d|%k\d")
# The linker's empty lists of static constructors and destructors at the end of the code
# (-1, then 0, each): data, not instructions.
LISTS = bytes.fromhex("ffffffff00000000" * 2)


def sections(exe):
    """Each executable section of the PE file: its name, start address and bytes."""
    pe = open(exe, "rb").read()
    nt = struct.unpack_from("<I", pe, 0x3C)[0]
    count, optional = struct.unpack_from("<H12xH", pe, nt + 6)
    base = struct.unpack_from("<I", pe, nt + 24 + 28)[0]  # ImageBase of a 32-bit header
    for i in range(count):
        at = nt + 24 + optional + 40 * i
        name, size, rva, raw_size, raw = struct.unpack_from("<8sIIII", pe, at)
        if struct.unpack_from("<I", pe, at + 36)[0] & 0x20000000:  # executable
            yield name.rstrip(b"\0").decode(), base + rva, pe[raw : raw + min(size, raw_size)]


def main(objdump, exe):
    problems, count = [], 0
    for name, start, data in sections(exe):
        # Code ends where the lists start: only zero fill follows them.
        end = data.rfind(LISTS)
        if end < 0 or data[end + len(LISTS):].strip(b"\0"):
            end = len(data)
        listing = subprocess.run(
            [objdump, "-d", "-j", name, "--no-show-raw-insn", f"--stop-address={start + end:#x}", exe],
            check=True, capture_output=True, text=True).stdout
        for address, text in re.findall(r"^\s*([0-9a-f]+):\t(.*)$", listing, re.M):
            words = text.split() or [""]
            prefixed = words[0] in ("lock", "rep", "repz", "repnz", "data16", "addr16") and len(words) > 1
            mnemonic = words[1] if prefixed else words[0]
            count += 1
            if NEWER.match(mnemonic) or NEWER_REGISTER.search(text) or mnemonic == "(bad)":
                problems.append(f"{name} 0x{address}: {text.strip()}")
    for p in problems:
        print(f"not an 80386 instruction: {p}")
    print(f"{count} instructions, {len(problems)} newer than the 80386 and 387")
    if count == 0:
        print("no code found: is this the release?")
        return 1
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
