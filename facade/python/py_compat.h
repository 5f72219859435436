// The differences between the Python 2.7 and 3.x C interfaces that the module meets, kept in
// one place: module creation and its entry point, the type object and its instances, integers,
// text arguments, text results and the script's own buffered output. On 3.8 and later the module
// keeps to the limited API (Py_LIMITED_API), so that one build serves every later 3.x.
#ifndef QUILLET_PY_COMPAT_H
#define QUILLET_PY_COMPAT_H

#include <Python.h>
#include <string>

namespace quillet {

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
#define QUILLET_MODULE_ENTRY(create)                                                               \
    PyMODINIT_FUNC PyInit_Quillet(void)                                                            \
    {                                                                                              \
        return create();                                                                           \
    }
#else
#define QUILLET_MODULE_ENTRY(create)                                                               \
    PyMODINIT_FUNC initQuillet(void)                                                               \
    {                                                                                              \
        Py_XDECREF(create());                                                                      \
    }
#endif

// A new reference to a module object with these functions and doc string (interface version
// 1013 on 2.x); NULL with the exception set. The 3.x definition lives as long as the process.
PyObject* createModuleObject(const char* name, PyMethodDef* functions, const char* doc);

// What a type of the module is made of. The strings and the method table must outlive the type.
struct TypeDefinition
{
    const char* name;  // "module.Type": __module__ and __name__ come from it
    const char* doc;
    int basicSize;        // the instance record
    unsigned long flags;  // Py_TPFLAGS_DEFAULT and the type's own
    newfunc create;       // tp_new
    destructor destroy;   // tp_dealloc: ends with freeInstance
    PyMethodDef* methods;
};

// The readied type: a new reference, or NULL with the exception set. On 2.x a static type
// object (the generic allocator and free come from the base object type); on 3.x a heap type
// from PyType_FromSpec, made immutable where the interpreter knows how (3.10+), as a static
// type is. A type is made once per module object.
PyTypeObject* createType(const TypeDefinition& definition);

// A zero-filled instance of type (which may be a Python subclass) from the type's allocator;
// NULL with the exception set.
PyObject* allocateInstance(PyTypeObject* type);

// The end of tp_dealloc: frees the instance through its type's free and drops the reference
// that an instance of a heap type holds to its type where the base type's deallocation must
// (3.8+; for 2.x subclasses the interpreter does).
void freeInstance(PyObject* object);

// Frees an instance whose creation failed, without the destruction slot: undoes by hand what
// the type's allocator did besides the memory (GC tracking for a collected subclass, the
// reference every instance of a heap type holds to its type).
void freeUnfinishedInstance(PyObject* object);

// A Python integer: int on 2.x and on 3.x alike.
PyObject* pyIntFromLong(long value);

// Parses args as exactly one text argument of method (unicode on 2.x, str or a subclass on 3.x;
// byte strings are refused with a TypeError naming the method) and, when text is not NULL,
// copies it there unchanged. Text holding a NUL character is refused with a TypeError naming
// the method, with or without a copy: it cannot pass as the zero-terminated text the engine
// takes. Returns false with the exception set.
bool parseTextArgument(PyObject* args, const char* method, std::wstring* text);

// Writes out what the script printed into the buffers of sys.stdout and, when the script
// replaced it (contextlib.redirect_stdout, say), of sys.__stdout__ too, so that it precedes the
// trace lines that follow on standard output. Call before a call traces, with no exception set.
// A stdout that is missing, has no flush, or fails to write (OSError, IOError, ValueError of a
// closed file) is passed over. Anything else a flush raises (KeyboardInterrupt from Ctrl-C
// while the flush was blocked, among others) and a signal handler's exception are the script's
// to see: false with that exception set, and the caller must not go on with its call.
bool flushScriptOutput();

// flushScriptOutput for a destruction slot, which can raise nothing: an exception in flight is
// kept, and what a flush raised is reported as an exception a destructor ignored (sys.stderr).
void flushScriptOutputInDestructor(PyObject* context);

}  // namespace quillet

#endif
