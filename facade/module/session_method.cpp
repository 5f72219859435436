// Placeholder until the session records land: the method returns its default result.
#include "module/methods.h"

PyObject* WMIFacade_GetMSiSCSI_InitiatorSessionInfo(PyObject*, PyObject*) { return PyList_New(0); }
