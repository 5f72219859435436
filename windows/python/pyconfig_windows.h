/* What python.org's Windows Pythons 2.7 and 3 share in their configuration, for compiling
 * extension modules with MinGW-w64 against CPython's platform-independent headers. Included
 * by each interpreter's pyconfig.h once it has set MS_WIN64 (or not) for the architecture.
 * Every value describes the interpreter, not the machine that compiles: a wrong size here
 * changes the layout of PyObject and the meaning of Py_ssize_t without any error at build time.
 */
#ifndef QUILLET_PYCONFIG_WINDOWS_H
#define QUILLET_PYCONFIG_WINDOWS_H

/* Platform switches. */
#define MS_WIN32
#define MS_WINDOWS
#define NT_THREADS
#define WITH_THREAD
#define PLATFORM "win32"
#define COMPILER "[gcc]"

/* The core is the interpreter DLL: its functions and data are imported, PyMODINIT_FUNC
 * exported. */
#define Py_ENABLE_SHARED 1
#define MS_COREDLL
#define HAVE_DECLSPEC_DLL

/* Type sizes: long is 32-bit on both architectures; pointers and size_t follow the
 * architecture (LLP64 on 64-bit); time_t is 64-bit on both (Visual C++ 2005 and later, as
 * MinGW-w64); wchar_t is a 16-bit UTF-16 unit. */
#ifdef MS_WIN64
#define SIZEOF_VOID_P 8
#define SIZEOF_SIZE_T 8
#define SIZEOF_HKEY 8
#else
#define SIZEOF_VOID_P 4
#define SIZEOF_SIZE_T 4
#define SIZEOF_HKEY 4
#endif
#define SIZEOF_SHORT 2
#define SIZEOF_INT 4
#define SIZEOF_LONG 4
#define SIZEOF_LONG_LONG 8
#define SIZEOF_FLOAT 4
#define SIZEOF_DOUBLE 8
#define SIZEOF_TIME_T 8
#define SIZEOF_OFF_T 4
#define SIZEOF_FPOS_T 8
#define SIZEOF_WCHAR_T 2
#define LONG_BIT 32
#define WORD_BIT 32

#define HAVE_LONG_LONG 1
#define PY_LONG_LONG long long
#define PY_LLONG_MIN LLONG_MIN
#define PY_LLONG_MAX LLONG_MAX
#define PY_ULLONG_MAX ULLONG_MAX
#define HAVE_STDINT_H 1
#define HAVE_UINTPTR_T 1
#define HAVE_INTPTR_T 1

/* The object allocator the interpreter DLL was built with; PyObject_MALLOC and friends
 * follow it. */
#define WITH_PYMALLOC 1
#define WITH_DOC_STRINGS 1

/* C library and compiler features the headers test for. */
#define STDC_HEADERS 1
#define HAVE_PROTOTYPES
#define HAVE_STDARG_PROTOTYPES
#define HAVE_STDDEF_H 1
#define HAVE_ERRNO_H 1
#define HAVE_SYS_TYPES_H 1
#define HAVE_SYS_STAT_H 1
#define HAVE_WCHAR_H 1
#define HAVE_HYPOT
#define HAVE_COPYSIGN 1
#define HAVE_DECL_ISINF 1
#define HAVE_DECL_ISNAN 1
#define DOUBLE_IS_LITTLE_ENDIAN_IEEE754 1

#endif /* QUILLET_PYCONFIG_WINDOWS_H */
