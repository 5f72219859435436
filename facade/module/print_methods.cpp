// printSomething and the module function printSomethingGlobal.
#include "module/methods.h"
#include "module/facade_object.h"

PyObject* WMIFacade_printSomething(PyObject* self, PyObject*)
{
    int result = 0;
    if (!callEngine(reinterpret_cast<WMIFacadeObject*>(self),
                    [](WMIFacade& engine) { return engine.printSomething(); }, &result))
        return NULL;
    return PyInt_FromLong(result);
}

PyObject* Quillet_printSomethingGlobal(PyObject*, PyObject* args)
{
    if (!PyArg_ParseTuple(args, ":printSomethingGlobal"))
        return NULL;
    int result;
    Py_BEGIN_ALLOW_THREADS
    result = printSomethingGlobal();
    Py_END_ALLOW_THREADS
    return PyInt_FromLong(result);
}
