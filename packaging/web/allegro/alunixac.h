/* alunixac.h -- what Emscripten's C library offers, for the library's
 * Unix headers. No threads (the browser program has one thread), no X11,
 * no modules, no magic main, and no constructors: the linker drops
 * constructor functions in objects with no other live code, so the
 * datafile's font and sample loaders would never register; allegro_init
 * registers them instead. */
#define ALLEGRO_COLOR8
#define ALLEGRO_COLOR16
#define ALLEGRO_COLOR24
#define ALLEGRO_COLOR32
#define ALLEGRO_HAVE_DIRENT_H
#define ALLEGRO_HAVE_INTTYPES_H
#define ALLEGRO_HAVE_STDINT_H
#define ALLEGRO_HAVE_SYS_STAT_H
#define ALLEGRO_HAVE_SYS_TIME_H
#define ALLEGRO_HAVE_MEMCMP
#define ALLEGRO_HAVE_MKSTEMP
#define ALLEGRO_LITTLE_ENDIAN
#define ALLEGRO_NO_ASM
