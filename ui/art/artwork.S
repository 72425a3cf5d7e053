/* The three pictures, linked into the program as read-only data (found through -Wa,-I). */
#define CAT2(a, b) a##b
#define CAT(a, b) CAT2(a, b)
#define SYM(name) CAT(__USER_LABEL_PREFIX__, name)

#define PICTURE(name, file)            \
    .section .rdata, "dr";             \
    .balign 4;                         \
    .globl SYM(name);                  \
    SYM(name):                         \
    .incbin file;                      \
    .globl SYM(name##_end);            \
    SYM(name##_end):

PICTURE(qm_art_background, "background.bmp")
PICTURE(qm_art_back, "back.bmp")
PICTURE(qm_art_continue, "continue.bmp")
