// WMIFacadeObject: the Python instance record of type Quillet.WMIFacade, and callEngine, the one
// place where a method wrapper leaves the interpreter to run an engine operation.
#ifndef QUILLET_FACADE_OBJECT_H
#define QUILLET_FACADE_OBJECT_H

#include <Python.h>
#include <mutex>
#include "engine/wmifacade.h"

struct WMIFacadeObject
{
    PyObject_HEAD
    WMIFacade* m_pFacade;  // owned; non-null in every object whose creation succeeded
    std::mutex* m_pLock;   // owned; serialises calls on this object from several threads
};

extern PyTypeObject WMIFacadeType;

// Runs operation(engine) with the interpreter lock released and the object's lock held, and
// re-acquires the interpreter lock on every path. Nothing in operation may touch Python.
// Returns false with MemoryError set when the operation threw (memory exhausted); the caller
// then releases what it built and returns null.
template <typename Operation>
bool callEngine(WMIFacadeObject* self, Operation operation, int* result)
{
    bool threw = false;
    PyThreadState* state = PyEval_SaveThread();
    try {
        std::lock_guard<std::mutex> guard(*self->m_pLock);
        *result = operation(*self->m_pFacade);
    } catch (...) {
        threw = true;
    }
    PyEval_RestoreThread(state);
    if (threw) {
        PyErr_NoMemory();
        return false;
    }
    return true;
}

#endif
