// WMIFacadeObject: the Python instance record of type Quillet.WMIFacade, and callEngine, the one
// place where a method wrapper leaves the interpreter to run an engine operation.
#ifndef QUILLET_FACADE_OBJECT_H
#define QUILLET_FACADE_OBJECT_H

#include <Python.h>
#include <windows.h>
#include <mutex>
#include <new>
#include "engine/wmifacade.h"

#ifndef _WIN32
#include <unistd.h>
#endif

// Serialises calls on one object from several threads. fork() copies the lock in whatever state
// the parent's threads left it, and a thread that held it does not exist in the child: so the
// lock belongs to the process that made it, and the first call in another process makes it anew.
class FacadeLock
{
public:
    FacadeLock() : m_owner(currentProcess()) {}
    FacadeLock(const FacadeLock&) = delete;
    FacadeLock& operator=(const FacadeLock&) = delete;

    // The lock for a call from this process. Call with the interpreter lock held: the threads
    // of a child then cannot both renew the lock.
    std::mutex& forThisProcess()
    {
        const unsigned long process = currentProcess();
        if (process != m_owner) {
            // The inherited lock may be held for ever; a held mutex must not be destroyed, so
            // its storage is simply made a new, free one.
            new (&m_mutex) std::mutex;
            m_owner = process;
        }
        return m_mutex;
    }

private:
    static unsigned long currentProcess()
    {
#ifdef _WIN32
        return GetCurrentProcessId();
#else
        // Only here can a process be forked, and the id tells the child from its parent.
        return static_cast<unsigned long>(getpid());
#endif
    }

    std::mutex m_mutex;
    unsigned long m_owner;
};

struct WMIFacadeObject
{
    PyObject_HEAD WMIFacade* m_pFacade;  // owned; non-null in every object whose creation succeeded
    FacadeLock m_lock;  // constructed in place by creation, destroyed by destruction
};

// Runs operation(engine) with the interpreter lock released and the object's lock held, and
// re-acquires the interpreter lock on every path. Nothing in operation may touch Python.
// Returns false with MemoryError set when the operation threw (memory exhausted); the caller
// then releases what it built and returns null.
template <typename Operation>
bool callEngine(WMIFacadeObject* self, Operation operation, int* result)
{
    bool threw = false;
    std::mutex& lock = self->m_lock.forThisProcess();
    PyThreadState* state = PyEval_SaveThread();
    try {
        std::lock_guard<std::mutex> guard(lock);
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
