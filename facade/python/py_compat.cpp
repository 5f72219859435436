#include "python/py_compat.h"

#include <new>

namespace quillet {

namespace {

#if PY_MAJOR_VERSION >= 3
// "u" left the argument parser in 3.12; "U" takes a str (or subclass) object on every 3.x.
const char kTextCode[] = "U";
const char kTextType[] = "str";
#else
const char kTextCode[] = "u";
const char kTextType[] = "unicode";
#endif

// Copies length units of text (wchar_t, or Py_UNICODE, a distinct type: unit by unit) into out;
// false with MemoryError set when memory runs out.
template <typename Unit>
bool copyText(const Unit* text, Py_ssize_t length, std::wstring& out)
{
    try {
        out.assign(text, text + length);
        return true;
    } catch (const std::bad_alloc&) {
        PyErr_NoMemory();
        return false;
    }
}

// The words of the argument parser's own refusal (2.x's "u" refuses a NUL itself).
bool refuseNul(const char* method)
{
    PyErr_Format(PyExc_TypeError, "%s() argument 1 must be %s without null characters, not %s",
                 method, kTextType, kTextType);
    return false;
}

template <typename Unit>
bool holdsNul(const Unit* text, Py_ssize_t length)
{
    for (Py_ssize_t i = 0; i < length; ++i)
        if (text[i] == 0)
            return true;
    return false;
}

// 2.x takes attribute and method names as char*, 3.x as const char*.
PyObject* getSysObject(const char* name)  // borrowed
{
    return PySys_GetObject(const_cast<char*>(name));
}

// A flush's failure to write, which must not stop the call: the traces go out regardless.
bool isOrdinaryFlushError()
{
    return PyErr_ExceptionMatches(PyExc_EnvironmentError) ||
           PyErr_ExceptionMatches(PyExc_ValueError);
}

// Calls stream.flush() if the stream has one; false with the exception set when it raised
// something other than an ordinary failure to write.
bool flushStream(PyObject* stream)
{
    if (!stream || stream == Py_None)
        return true;
    // flush may run any code, which may replace sys.stdout: keep this one alive.
    Py_INCREF(stream);
    PyObject* flush = PyObject_GetAttrString(stream, const_cast<char*>("flush"));
    PyObject* result = flush ? PyObject_CallObject(flush, NULL) : NULL;
    Py_XDECREF(flush);
    Py_DECREF(stream);
    if (result) {
        Py_DECREF(result);
        return true;
    }
    const bool passOver =
        flush ? isOrdinaryFlushError() : PyErr_ExceptionMatches(PyExc_AttributeError);
    if (!passOver)
        return false;
    PyErr_Clear();
    return true;
}

}  // namespace

#if PY_MAJOR_VERSION >= 3

// The bit that makes a type's attributes read-only (3.10+); earlier interpreters leave it unused.
#ifndef Py_TPFLAGS_IMMUTABLETYPE
#define Py_TPFLAGS_IMMUTABLETYPE (1UL << 8)
#endif

PyObject* createModuleObject(const char* name, PyMethodDef* functions, const char* doc)
{
    static PyModuleDef definition = {
        PyModuleDef_HEAD_INIT, NULL, NULL, -1, NULL, NULL, NULL, NULL, NULL};
    definition.m_name = name;
    definition.m_doc = doc;
    definition.m_methods = functions;
    return PyModule_Create(&definition);
}

PyTypeObject* createType(const TypeDefinition& definition)
{
    PyType_Slot slots[] = {
        {Py_tp_dealloc, reinterpret_cast<void*>(definition.destroy)},
        {Py_tp_doc, const_cast<char*>(definition.doc)},
        {Py_tp_methods, definition.methods},
        {Py_tp_new, reinterpret_cast<void*>(definition.create)},
        {0, NULL},
    };
    // The type keeps pointing at the name; the slots are copied.
    PyType_Spec layout = {definition.name, definition.basicSize, 0,
                          static_cast<unsigned int>(definition.flags | Py_TPFLAGS_IMMUTABLETYPE),
                          slots};
    return reinterpret_cast<PyTypeObject*>(PyType_FromSpec(&layout));
}

PyObject* allocateInstance(PyTypeObject* type)
{
    allocfunc allocate = reinterpret_cast<allocfunc>(PyType_GetSlot(type, Py_tp_alloc));
    return allocate(type, 0);
}

namespace {

void freeMemory(PyObject* object)
{
    freefunc release = reinterpret_cast<freefunc>(PyType_GetSlot(Py_TYPE(object), Py_tp_free));
    release(object);
}

}  // namespace

void freeInstance(PyObject* object)
{
    PyTypeObject* type = Py_TYPE(object);
    freeMemory(object);
#if PY_VERSION_HEX >= 0x03080000
    // Every type met here is a heap type: ours or a Python subclass of it.
    Py_DECREF(type);
#else
    (void)type;
#endif
}

PyObject* pyIntFromLong(long value)
{
    return PyLong_FromLong(value);
}

#else

PyObject* createModuleObject(const char* name, PyMethodDef* functions, const char* doc)
{
    // A borrowed reference: sys.modules holds the module.
    PyObject* module = Py_InitModule4(name, functions, doc, NULL, 1013);
    Py_XINCREF(module);
    return module;
}

PyTypeObject* createType(const TypeDefinition& definition)
{
    // Zero-initialised; PyType_Ready fills tp_alloc and tp_free from the base object type.
    static PyTypeObject type;
    if (!(type.tp_flags & Py_TPFLAGS_READY)) {
        Py_REFCNT(&type) = 1;  // the object's own reference, as PyVarObject_HEAD_INIT gives it
        type.tp_name = definition.name;
        type.tp_basicsize = definition.basicSize;
        type.tp_dealloc = definition.destroy;
        type.tp_flags = definition.flags;
        type.tp_doc = definition.doc;
        type.tp_methods = definition.methods;
        type.tp_new = definition.create;
        if (PyType_Ready(&type) < 0)
            return NULL;
    }
    Py_INCREF(&type);
    return &type;
}

PyObject* allocateInstance(PyTypeObject* type)
{
    return type->tp_alloc(type, 0);
}

namespace {

void freeMemory(PyObject* object)
{
    Py_TYPE(object)->tp_free(object);
}

}  // namespace

void freeInstance(PyObject* object)
{
    freeMemory(object);
}

PyObject* pyIntFromLong(long value)
{
    return PyInt_FromLong(value);
}

#endif

void freeUnfinishedInstance(PyObject* object)
{
    PyTypeObject* type = Py_TYPE(object);
    if (PyType_IS_GC(type))
        PyObject_GC_UnTrack(object);
    freeMemory(object);
    if (PyType_HasFeature(type, Py_TPFLAGS_HEAPTYPE))
        Py_DECREF(type);
}

bool parseTextArgument(PyObject* args, const char* method, std::wstring* text)
{
    char format[80];
    PyOS_snprintf(format, sizeof format, "%s:%s", kTextCode, method);
#if PY_MAJOR_VERSION >= 3
    PyObject* object = NULL;
    if (!PyArg_ParseTuple(args, format, &object))
        return false;
    Py_ssize_t length = 0;
    wchar_t* wide = PyUnicode_AsWideCharString(object, &length);
    if (!wide)
        return false;
    const bool accepted =
        holdsNul(wide, length) ? refuseNul(method) : !text || copyText(wide, length, *text);
    PyMem_Free(wide);
    return accepted;
#else
    Py_UNICODE* wide = NULL;
    if (!PyArg_ParseTuple(args, format, &wide))
        return false;
    // The parser accepted exactly one unicode object: the tuple's only item.
    const Py_ssize_t length = PyUnicode_GET_SIZE(PyTuple_GET_ITEM(args, 0));
    if (holdsNul(wide, length))
        return refuseNul(method);
    return !text || copyText(wide, length, *text);
#endif
}

namespace {

// sys.stdout, and the real stdout when a script redirected its output (text may wait in its
// buffer). False with the exception set as flushStream leaves it.
bool flushStandardOutputs()
{
    PyObject* current = getSysObject("stdout");
    if (!flushStream(current))
        return false;
    PyObject* original = getSysObject("__stdout__");
    return original == current || flushStream(original);
}

}  // namespace

bool flushScriptOutput()
{
    if (!flushStandardOutputs())
        return false;
    // A flush that failed on an interrupted write (2.x reports EINTR as an IOError) leaves
    // Ctrl-C to the handler: it comes before the call too.
    return PyErr_CheckSignals() == 0;
}

void flushScriptOutputInDestructor(PyObject* context)
{
    PyObject* type = NULL;
    PyObject* value = NULL;
    PyObject* traceback = NULL;
    PyErr_Fetch(&type, &value, &traceback);
    // A signal's handler runs once the destruction is over, where its exception can be raised.
    if (!flushStandardOutputs())
        PyErr_WriteUnraisable(context);
    PyErr_Restore(type, value, traceback);
}

}  // namespace quillet
