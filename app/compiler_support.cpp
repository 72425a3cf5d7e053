// The four functions that the compiler may call where the C library would provide them (for
// a struct copied or cleared, an array compared), as it does even in code that calls none
// of them. The program links no C run-time library, so they are here: the string
// instructions every x86 processor has, simple rather than fast, for the few bytes at a time
// this program moves. Only the release links this file; the tests take the library's.
#include <cstddef>
#include <cstdint>

extern "C" {

void* memcpy(void* to, const void* from, std::size_t count) {
    void* const result = to;
    asm volatile("rep movsb" : "+D"(to), "+S"(from), "+c"(count) : : "memory");
    return result;
}

void* memmove(void* to, const void* from, std::size_t count) {
    void* const result = to;
    // As unsigned numbers, the target lies less than `count` above the source only when it
    // overlaps the source from above.
    const auto above =
        reinterpret_cast<std::uintptr_t>(to) - reinterpret_cast<std::uintptr_t>(from);
    if (above >= count) {  // below the source, or clear of it: from the first byte up
        asm volatile("rep movsb" : "+D"(to), "+S"(from), "+c"(count) : : "memory");
    } else {  // over the source's end: from the last byte down
        to = static_cast<char*>(to) + count - 1;
        from = static_cast<const char*>(from) + count - 1;
        asm volatile("std\n\trep movsb\n\tcld" : "+D"(to), "+S"(from), "+c"(count) : : "memory");
    }
    return result;
}

void* memset(void* to, int byte, std::size_t count) {
    void* const result = to;
    asm volatile("rep stosb" : "+D"(to), "+c"(count) : "a"(byte) : "memory");
    return result;
}

int memcmp(const void* a, const void* b, std::size_t count) {
    const auto* x = static_cast<const unsigned char*>(a);
    const auto* y = static_cast<const unsigned char*>(b);
    for (; count > 0; --count, ++x, ++y)
        if (*x != *y) return *x < *y ? -1 : 1;
    return 0;
}

}  // extern "C"
