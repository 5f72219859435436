#include "module/instance_name.h"

#include "python/py_compat.h"

bool parseInstanceName(PyObject* args, const char* method, std::wstring& name)
{
    if (!parseTextArgument(args, method, &name))
        return false;
    if (name.find(L'\0') != std::wstring::npos) {
        PyErr_Format(PyExc_TypeError, "%s() argument 1 must not contain a NUL character", method);
        return false;
    }
    return true;
}
