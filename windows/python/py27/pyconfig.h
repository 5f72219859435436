/* The configuration of python.org's Windows Python 2.7 (python27.dll), 64-bit (x86-64) and
 * 32-bit (x86): what it shares with Python 3 is in ../pyconfig_windows.h.
 *
 * Unlike the interpreter's own Windows header this one sets MS_WIN64 for GCC too on 64-bit
 * (else Py_ssize_t is 32-bit and Py_InitModule4 is not renamed to Py_InitModule4_64), and it
 * leaves hypot alone (a "#define hypot _hypot" breaks <cmath>).
 */
#ifndef Py_CONFIG_H
#define Py_CONFIG_H

#if defined(_WIN64) && defined(__x86_64__)
#define MS_WIN64
#define MS_WINX64
#elif !defined(_WIN32) || !defined(__i386__)
#error "this configuration describes Windows Python 2.7 for x86-64 or x86 only"
#endif

#include "../pyconfig_windows.h"

#define HAVE_UINT32_T 1
#define PY_UINT32_T unsigned int
#define HAVE_INT32_T 1
#define PY_INT32_T int
#define HAVE_UINT64_T 1
#define PY_UINT64_T unsigned long long
#define HAVE_INT64_T 1
#define PY_INT64_T long long

/* Unicode objects hold UTF-16 in wchar_t units (Py_UNICODE is wchar_t, 2 bytes): the narrow
 * build, whose functions are named PyUnicodeUCS2_*. */
#define Py_USING_UNICODE
#define Py_UNICODE_SIZE 2

#endif /* Py_CONFIG_H */
