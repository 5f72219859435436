/* The configuration of python.org's Windows Python 3 (3.8 and later, python3.dll), 64-bit
 * (x86-64) and 32-bit (x86): what it shares with Python 2.7 is in ../pyconfig_windows.h.
 *
 * Unlike the interpreter's own Windows header this one sets MS_WIN64 for GCC too on 64-bit
 * (else Py_ssize_t is 32-bit). The free-threaded build (3.13t) is not described.
 */
#ifndef Py_CONFIG_H
#define Py_CONFIG_H

#if defined(_WIN64) && defined(__x86_64__)
#define MS_WIN64
#define PYD_PLATFORM_TAG "win_amd64"
#elif defined(_WIN32) && defined(__i386__)
#define PYD_PLATFORM_TAG "win32"
#else
#error "this configuration describes Windows Python 3 for x86-64 or x86 only"
#endif

#include "../pyconfig_windows.h"

#define SIZEOF__BOOL 1
#define SIZEOF_PID_T SIZEOF_INT

#endif /* Py_CONFIG_H */
