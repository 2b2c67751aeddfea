/* The script engine, Duktape 2.7 from Debian's duktape-dev, compiled into the stand-in.
 * Its API stays inside the library: the stand-in exports the runtime's names only. */

/* As duktape.c itself sets it before its configuration: it selects the platform parts. */
#define DUK_COMPILING_DUKTAPE
#include "duk_config.h"

#if defined(__GNUC__) && !defined(_WIN32)
#undef DUK_EXTERNAL_DECL
#undef DUK_EXTERNAL
#define DUK_EXTERNAL_DECL __attribute__((visibility("hidden"))) extern
#define DUK_EXTERNAL __attribute__((visibility("hidden")))
#endif

#include "duktape.c"
