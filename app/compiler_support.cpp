// The four functions that the compiler may call where the C library would provide them (for
// a struct copied or cleared, an array compared), as it does even in code that calls none
// of them. The program links no C run-time library, so they are here: the string
// instructions every x86 processor has, simple rather than fast, for the few bytes at a time
// this program moves. Only the release links this file; the tests take the library's.
#include <cstddef>

extern "C" {

void* memcpy(void* to, const void* from, std::size_t count) {
    void* const result = to;
    asm volatile("rep movsb" : "+D"(to), "+S"(from), "+c"(count) : : "memory");
    return result;
}

void* memmove(void* to, const void* from, std::size_t count) {
    if (to <= from || static_cast<const char*>(from) + count <= to) return memcpy(to, from, count);
    // Overlapping, with the target above: copy from the last byte down.
    void* const result = to;
    to = static_cast<char*>(to) + count - 1;
    from = static_cast<const char*>(from) + count - 1;
    asm volatile("std\n\trep movsb\n\tcld" : "+D"(to), "+S"(from), "+c"(count) : : "memory");
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
