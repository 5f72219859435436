// The method wrappers of the WMIFacade type and the module function, as the method tables
// reference them. Each follows the common pattern: parse, trace, one engine call with the
// interpreter lock released, build the result.
#ifndef QUILLET_METHODS_H
#define QUILLET_METHODS_H

#include <Python.h>

PyObject* WMIFacade_printSomething(PyObject* self, PyObject* unused);
PyObject* WMIFacade_GetMSiSCSI_HBAInformation(PyObject* self, PyObject* args);
PyObject* WMIFacade_GetMSiSCSI_TCPIPConfig(PyObject* self, PyObject* args);
PyObject* WMIFacade_GetMSiSCSI_NICConfig(PyObject* self, PyObject* args);
PyObject* WMIFacade_GetMSiSCSI_InitiatorSessionInfo(PyObject* self, PyObject* args);
PyObject* WMIFacade_GetPDORemovePeriod(PyObject* self, PyObject* unused);
PyObject* WMIFacade_SetPDORemovePeriod(PyObject* self, PyObject* args);
PyObject* Quillet_printSomethingGlobal(PyObject* self, PyObject* args);

#endif
