#include "module/facade_lifecycle.h"
#include "module/facade_object.h"
#include "python/py_compat.h"

#include <new>

namespace {

// Frees an object whose creation failed, without the destruction slot: a Python subclass's
// __del__ must never meet an object without an engine. Undoes by hand what the type's
// allocation did besides the memory: GC tracking for a collected subclass, and the reference
// every instance of a heap type holds to its type.
void freeUnfinished(WMIFacadeObject* self)
{
    PyTypeObject* type = Py_TYPE(self);
    self->m_lock.~FacadeLock();
    if (PyType_IS_GC(type))
        PyObject_GC_UnTrack(self);
    type->tp_free(self);
    if (type->tp_flags & Py_TPFLAGS_HEAPTYPE)
        Py_DECREF(type);
}

}  // namespace

PyObject* WMIFacade_new(PyTypeObject* type, PyObject*, PyObject*)
{
    // tp_alloc zero-fills: the engine pointer starts null.
    WMIFacadeObject* self = reinterpret_cast<WMIFacadeObject*>(type->tp_alloc(type, 0));
    if (!self)
        return NULL;
    new (&self->m_lock) FacadeLock;
    flushScriptOutput();  // the engine's constructor traces
    self->m_pFacade = new (std::nothrow) WMIFacade;
    if (!self->m_pFacade) {
        freeUnfinished(self);
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
    self->m_lock.~FacadeLock();
    Py_TYPE(object)->tp_free(object);
}
