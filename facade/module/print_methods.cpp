// printSomething and the module function printSomethingGlobal.
#include "module/facade_object.h"
#include "module/methods.h"
#include "python/py_compat.h"

using quillet::flushScriptOutput;
using quillet::pyIntFromLong;

PyObject* WMIFacade_printSomething(PyObject* self, PyObject*)
{
    int result = 0;
    if (!flushScriptOutput())
        return NULL;
    if (!callEngine(
            reinterpret_cast<WMIFacadeObject*>(self),
            [](WMIFacade& engine) { return engine.printSomething(); }, &result))
        return NULL;
    return pyIntFromLong(result);
}

PyObject* Quillet_printSomethingGlobal(PyObject*, PyObject* args)
{
    if (!PyArg_ParseTuple(args, ":printSomethingGlobal"))
        return NULL;
    if (!flushScriptOutput())
        return NULL;
    int result;
    Py_BEGIN_ALLOW_THREADS result = printSomethingGlobal();
    Py_END_ALLOW_THREADS return pyIntFromLong(result);
}
