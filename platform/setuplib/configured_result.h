// The result the stand-in setup library returns from every entry point.
#ifndef OSTRAND_STANDIN_CONFIGURED_RESULT_H
#define OSTRAND_STANDIN_CONFIGURED_RESULT_H

#include <windows.h>

// The environment variable OSTRAND_RESULT as a decimal 32-bit integer (optional sign, digits
// only, -2147483648 to 2147483647); 0 when unset. Any other text is reported on stderr and
// gives -1, so that a mistyped test setting cannot pass for success.
INT configuredResult();

#endif
