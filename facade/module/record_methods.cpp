// Placeholder until the record classes land: the record methods return their default result.
#include "module/methods.h"

PyObject* WMIFacade_GetMSiSCSI_HBAInformation(PyObject*, PyObject*) { return PyDict_New(); }
PyObject* WMIFacade_GetMSiSCSI_TCPIPConfig(PyObject*, PyObject*) { return PyDict_New(); }
PyObject* WMIFacade_GetMSiSCSI_NICConfig(PyObject*, PyObject*) { return PyDict_New(); }
