/* alplatf.h -- the library's platform for the web build: a Unix-like
 * system (Emscripten's C library) with no assembler. Written by
 * packaging/web/build-allegro in place of the one CMake generates. */
#define ALLEGRO_UNIX
#define ALLEGRO_NO_ASM
#define ALLEGRO_USE_C
