// The differences between the Python 2.7 and 3.x C interfaces that the module meets, kept in
// one place: module creation and its entry point, integers, text arguments, text results and
// the script's own buffered output.
#ifndef QUILLET_PY_COMPAT_H
#define QUILLET_PY_COMPAT_H

#include <Python.h>
#include <string>

// Text as Py_BuildValue's "u" code takes it: Py_UNICODE on 2.x (not wchar_t: 32 bits on the
// Linux builds, 16 on Windows), wchar_t on 3.x, where Py_UNICODE is a deprecated alias of it.
#if PY_MAJOR_VERSION >= 3
typedef wchar_t PyTextUnit;
#else
typedef Py_UNICODE PyTextUnit;
#endif

// The module's entry point: initQuillet returns nothing on 2.x, PyInit_Quillet returns the
// module (or NULL with the exception set) on 3.x. `create` makes and fills the module and
// returns a new reference to it (on 2.x sys.modules keeps the module alive).
#if PY_MAJOR_VERSION >= 3
#define QUILLET_MODULE_ENTRY(create) \
    PyMODINIT_FUNC PyInit_Quillet(void) { return create(); }
#else
#define QUILLET_MODULE_ENTRY(create) \
    PyMODINIT_FUNC initQuillet(void) { Py_XDECREF(create()); }
#endif

// A new reference to a module object with these functions and doc string (interface version
// 1013 on 2.x); NULL with the exception set. The 3.x definition lives as long as the process.
PyObject* createModuleObject(const char* name, PyMethodDef* functions, const char* doc);

// A Python integer: int on 2.x and on 3.x alike.
PyObject* pyIntFromLong(long value);

// Parses args as exactly one text argument of method (unicode on 2.x, str or a subclass on 3.x;
// byte strings are refused with a TypeError naming the method) and, when text is not NULL,
// copies it there unchanged, NUL characters included. Returns false with the exception set.
bool parseTextArgument(PyObject* args, const char* method, std::wstring* text);

// Writes out what the script printed into sys.stdout's own buffer, so that it precedes the trace
// lines that follow on standard output. Never fails and never disturbs an exception in flight.
// Needed on 3.x, whose print buffers apart from C stdout, and on Windows 2.7, where the
// interpreter's C runtime (msvcr90) is not the module's and has a stdout of its own. On other
// 2.x builds print and the traces share C stdout: nothing to do.
void flushScriptOutput();

#endif
