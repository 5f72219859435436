// PyRef: owns one Python reference (or none) and drops it when it goes out of scope, so that
// every early return of a conversion releases what was built.
#ifndef QUILLET_PY_REF_H
#define QUILLET_PY_REF_H

#include <Python.h>

namespace quillet {

class PyRef
{
public:
    // Takes over a new reference; NULL (a failed build) is allowed.
    explicit PyRef(PyObject* object = NULL) : m_pObject(object) {}
    ~PyRef() { Py_XDECREF(m_pObject); }
    PyRef(const PyRef&) = delete;
    PyRef& operator=(const PyRef&) = delete;

    PyObject* get() const { return m_pObject; }
    // Hands the reference to the caller.
    PyObject* release()
    {
        PyObject* object = m_pObject;
        m_pObject = NULL;
        return object;
    }
    void reset(PyObject* object)
    {
        PyObject* old = m_pObject;
        m_pObject = object;
        Py_XDECREF(old);
    }

private:
    PyObject* m_pObject;
};

}  // namespace quillet

#endif
