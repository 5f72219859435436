// Creation and destruction of WMIFacade objects: the type's tp_new and tp_dealloc slots.
#ifndef QUILLET_FACADE_LIFECYCLE_H
#define QUILLET_FACADE_LIFECYCLE_H

#include <Python.h>

PyObject* WMIFacade_new(PyTypeObject* type, PyObject* args, PyObject* kwds);
void WMIFacade_dealloc(PyObject* object);

#endif
