#include "module/instance_name.h"

#include <new>

bool parseInstanceName(PyObject* args, const char* format, const char* method, std::wstring& name)
{
    Py_UNICODE* text = NULL;
    if (!PyArg_ParseTuple(args, format, &text))
        return false;
    // The parser accepted exactly one unicode object: the tuple's only item.
    Py_ssize_t length = PyUnicode_GET_SIZE(PyTuple_GET_ITEM(args, 0));
    for (Py_ssize_t i = 0; i < length; ++i) {
        if (text[i] == 0) {
            PyErr_Format(PyExc_TypeError, "%s() argument 1 must not contain a NUL character", method);
            return false;
        }
    }
    try {
        name.assign(text, text + length);
    } catch (const std::bad_alloc&) {
        PyErr_NoMemory();
        return false;
    }
    return true;
}
