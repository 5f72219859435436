// GetPDORemovePeriod and SetPDORemovePeriod: the engine reads or writes the timer of every
// MPIO_TIMERS_COUNTERS instance (null name); a failure answers None.
#include "module/facade_object.h"
#include "module/methods.h"
#include "python/py_compat.h"
#include "trace/console.h"

using quillet::flushScriptOutput;
using quillet::pyIntFromLong;
using quillet::traceWprintf;

PyObject* WMIFacade_GetPDORemovePeriod(PyObject* self, PyObject*)
{
    LONG period = 0;
    int result = 0;
    if (!flushScriptOutput())
        return NULL;
    if (!callEngine(
            reinterpret_cast<WMIFacadeObject*>(self),
            [&period](WMIFacade& engine) { return engine.getPDORemovePeriod(NULL, &period); },
            &result))
        return NULL;
    if (!result)
        Py_RETURN_NONE;
    return pyIntFromLong(period);
}

PyObject* WMIFacade_SetPDORemovePeriod(PyObject* self, PyObject* args)
{
    int period = 0;
    if (!PyArg_ParseTuple(args, "i:SetPDORemovePeriod", &period))
        return NULL;
    if (!flushScriptOutput())
        return NULL;
    if (!traceWprintf(L"period = %d\n", period))
        return PyErr_NoMemory();
    int result = 0;
    if (!callEngine(
            reinterpret_cast<WMIFacadeObject*>(self),
            [period](WMIFacade& engine) { return engine.setPDORemovePeriod(NULL, period); },
            &result))
        return NULL;
    if (!result)
        Py_RETURN_NONE;
    return pyIntFromLong(result);
}
