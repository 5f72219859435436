#include "python/py_compat.h"

#include <new>

namespace {

#if PY_MAJOR_VERSION >= 3
// "u" left the argument parser in 3.12; "U" takes a str (or subclass) object on every 3.x.
const char TEXT_CODE[] = "U";
#else
const char TEXT_CODE[] = "u";
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

}  // namespace

#if PY_MAJOR_VERSION >= 3

PyObject* createModuleObject(const char* name, PyMethodDef* functions, const char* doc)
{
    static PyModuleDef definition = {PyModuleDef_HEAD_INIT, NULL, NULL, -1, NULL,
                                     NULL, NULL, NULL, NULL};
    definition.m_name = name;
    definition.m_doc = doc;
    definition.m_methods = functions;
    return PyModule_Create(&definition);
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

PyObject* pyIntFromLong(long value)
{
    return PyInt_FromLong(value);
}

#endif

bool parseTextArgument(PyObject* args, const char* method, std::wstring* text)
{
    char format[80];
    PyOS_snprintf(format, sizeof format, "%s:%s", TEXT_CODE, method);
#if PY_MAJOR_VERSION >= 3
    PyObject* object = NULL;
    if (!PyArg_ParseTuple(args, format, &object))
        return false;
    if (!text)
        return true;
    Py_ssize_t length = 0;
    wchar_t* wide = PyUnicode_AsWideCharString(object, &length);
    if (!wide)
        return false;
    const bool copied = copyText(wide, length, *text);
    PyMem_Free(wide);
    return copied;
#else
    Py_UNICODE* wide = NULL;
    if (!PyArg_ParseTuple(args, format, &wide))
        return false;
    if (!text)
        return true;
    // The parser accepted exactly one unicode object: the tuple's only item.
    return copyText(wide, PyUnicode_GET_SIZE(PyTuple_GET_ITEM(args, 0)), *text);
#endif
}

void flushScriptOutput()
{
#if PY_MAJOR_VERSION >= 3 || defined(MS_WINDOWS)
    PyObject* type = NULL;
    PyObject* value = NULL;
    PyObject* traceback = NULL;
    PyErr_Fetch(&type, &value, &traceback);
    // 2.x takes the names as char*, 3.x as const char*.
    PyObject* out = PySys_GetObject(const_cast<char*>("stdout"));  // borrowed
    if (out && out != Py_None) {
        // flush may run any code, which may replace sys.stdout: keep this one alive.
        Py_INCREF(out);
        PyObject* result = PyObject_CallMethod(out, const_cast<char*>("flush"), NULL);
        if (result)
            Py_DECREF(result);
        else
            PyErr_Clear();
        Py_DECREF(out);
    }
    PyErr_Restore(type, value, traceback);
#endif
}
