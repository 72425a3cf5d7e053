/* Exits 0 where the processor runs 32-bit x86 code in this 64-bit process, and dies of a
 * general protection fault where it has no such mode (some virtual machines, kernels with
 * IA32 emulation off). It far-returns into 32-bit code (selector 0x23), whose one
 * instruction far-returns back (selector 0x33). Code and stack lie below 4 GB, where 32-bit
 * code can reach them; built static and not position-independent for the same reason. */
#include <stdint.h>
#include <sys/mman.h>

int main(void) {
    unsigned char* low = mmap(0, 8192, PROT_READ | PROT_WRITE | PROT_EXEC,
                              MAP_PRIVATE | MAP_ANONYMOUS | MAP_32BIT, -1, 0);
    if (low == MAP_FAILED) return 2;
    low[0] = 0xcb; /* lret, as 32-bit code: pops a 32-bit EIP and CS */
    __asm__ volatile(
        "mov %%rsp, %%rbx\n"
        "mov %0, %%rsp\n"
        "lea 1f(%%rip), %%rax\n"
        "mov $0x33, %%ecx\n"
        "shl $32, %%rcx\n"
        "or %%rax, %%rcx\n"
        "push %%rcx\n"    /* where the 32-bit lret goes: 1f in 64-bit code */
        "push $0x23\n"
        "push %1\n"
        "lretq\n"
        "1:\n"
        "mov %%rbx, %%rsp\n"
        :
        : "r"((uint64_t)(uintptr_t)(low + 8192)), "r"((uint64_t)(uintptr_t)low)
        : "rax", "rbx", "rcx", "memory");
    return 0;
}
