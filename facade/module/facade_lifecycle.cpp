#include "module/facade_lifecycle.h"
#include "module/facade_object.h"
#include "python/py_compat.h"

#include <new>

using quillet::allocateInstance;
using quillet::flushScriptOutput;
using quillet::flushScriptOutputInDestructor;
using quillet::freeInstance;
using quillet::freeUnfinishedInstance;

PyObject* WMIFacade_new(PyTypeObject* type, PyObject*, PyObject*)
{
    // The engine's constructor traces. The flush runs script code, so it comes before the object
    // exists: nothing may meet an object without its engine (gc.get_objects() finds a subclass's).
    if (!flushScriptOutput())
        return NULL;
    // Zero-filled: the engine pointer starts null.
    WMIFacadeObject* self = reinterpret_cast<WMIFacadeObject*>(allocateInstance(type));
    if (!self)
        return NULL;
    new (&self->m_lock) FacadeLock;
    self->m_pFacade = new (std::nothrow) WMIFacade;
    if (!self->m_pFacade) {
        // Without the destruction slot: a Python subclass's __del__ must never meet an object
        // without an engine.
        self->m_lock.~FacadeLock();
        freeUnfinishedInstance(reinterpret_cast<PyObject*>(self));
        return PyErr_NoMemory();
    }
    return reinterpret_cast<PyObject*>(self);
}

void WMIFacade_dealloc(PyObject* object)
{
    WMIFacadeObject* self = reinterpret_cast<WMIFacadeObject*>(object);
    if (self->m_pFacade) {
        // The engine's destructor traces.
        flushScriptOutputInDestructor(reinterpret_cast<PyObject*>(Py_TYPE(object)));
        delete self->m_pFacade;
        self->m_pFacade = NULL;
    }
    self->m_lock.~FacadeLock();
    freeInstance(object);
}
