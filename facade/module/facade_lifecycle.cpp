#include "module/facade_lifecycle.h"
#include "module/facade_object.h"
#include "module/py_compat.h"

#include <new>

PyObject* WMIFacade_new(PyTypeObject* type, PyObject*, PyObject*)
{
    // tp_alloc zero-fills: both owned pointers start null.
    WMIFacadeObject* self = reinterpret_cast<WMIFacadeObject*>(type->tp_alloc(type, 0));
    if (!self)
        return NULL;
    self->m_pLock = new (std::nothrow) std::mutex;
    flushScriptOutput();  // the engine's constructor traces
    if (self->m_pLock)
        self->m_pFacade = new (std::nothrow) WMIFacade;
    if (!self->m_pFacade) {
        // Without an engine the destruction slot writes nothing; going through it also releases
        // what a Python subclass's allocation took (its type reference, GC tracking).
        Py_DECREF(self);
        return PyErr_NoMemory();
    }
    return reinterpret_cast<PyObject*>(self);
}

void WMIFacade_dealloc(PyObject* object)
{
    WMIFacadeObject* self = reinterpret_cast<WMIFacadeObject*>(object);
    if (self->m_pFacade) {
        flushScriptOutput();  // the engine's destructor traces
        delete self->m_pFacade;
        self->m_pFacade = NULL;
    }
    delete self->m_pLock;
    self->m_pLock = NULL;
    Py_TYPE(object)->tp_free(object);
}
