// The module Quillet: its method tables, the WMIFacade type and its entry point
// (initQuillet on Python 2, PyInit_Quillet on Python 3).
#include <Python.h>

#include "module/facade_lifecycle.h"
#include "module/facade_object.h"
#include "module/methods.h"
#include "python/py_compat.h"
#include "trace/console.h"

using quillet::createModuleObject;
using quillet::createType;
using quillet::installTraceOutput;
using quillet::TypeDefinition;

// The package version, given by every build from the one VERSION file.
#ifndef QUILLET_VERSION
#error "QUILLET_VERSION must be defined by the build (the text of the VERSION file)"
#endif

namespace {

PyMethodDef WMIFacade_methods[] = {
    {"printSomething", WMIFacade_printSomething, METH_NOARGS,
     "This method prints something that the object says"},
    {"GetMSiSCSI_HBAInformation", WMIFacade_GetMSiSCSI_HBAInformation, METH_VARARGS,
     "This method gets HBA Information in a dictionary"},
    {"GetMSiSCSI_TCPIPConfig", WMIFacade_GetMSiSCSI_TCPIPConfig, METH_VARARGS,
     "This method gets HBA TCP/IP configuration information in a dictionary"},
    {"GetMSiSCSI_NICConfig", WMIFacade_GetMSiSCSI_NICConfig, METH_VARARGS,
     "This method gets HBA NIC configuration information in a dictionary"},
    {"GetMSiSCSI_InitiatorSessionInfo", WMIFacade_GetMSiSCSI_InitiatorSessionInfo, METH_VARARGS,
     "This method gets Initiator Session Information in a list/dictionary"},
    {"GetPDORemovePeriod", WMIFacade_GetPDORemovePeriod, METH_NOARGS,
     "This method gets the PDORemovePeriod"},
    {"SetPDORemovePeriod", WMIFacade_SetPDORemovePeriod, METH_VARARGS,
     "This method sets the PDORemovePeriod"},
    {NULL, NULL, 0, NULL}};

PyMethodDef Quillet_methods[] = {{"printSomethingGlobal", Quillet_printSomethingGlobal,
                                  METH_VARARGS, "This global method prints something global"},
                                 {NULL, NULL, 0, NULL}};

// Python classes may derive from WMIFacade. The instances have no dictionary, no weak references
// and no part in cyclic garbage collection.
const TypeDefinition kWMIFacadeDefinition = {
    "Quillet.WMIFacade",     "WMIFacade objects",
    sizeof(WMIFacadeObject), Py_TPFLAGS_DEFAULT | Py_TPFLAGS_BASETYPE,
    WMIFacade_new,           WMIFacade_dealloc,
    WMIFacade_methods};

// Readies the type and makes the module; NULL with the exception set.
PyObject* createQuilletModule()
{
    // Stream setup only; COM waits for the first engine operation.
    installTraceOutput();
    PyObject* type = reinterpret_cast<PyObject*>(createType(kWMIFacadeDefinition));
    if (!type)
        return NULL;
    PyObject* module =
        createModuleObject("Quillet", Quillet_methods, "WMI through COM high level wrapper");
    // PyModule_AddObject takes the type's reference only when it succeeds.
    if (!module || PyModule_AddStringConstant(module, "__version__", QUILLET_VERSION) < 0 ||
        PyModule_AddObject(module, "WMIFacade", type) < 0) {
        Py_DECREF(type);
        Py_XDECREF(module);
        return NULL;
    }
    return module;
}

}  // namespace

QUILLET_MODULE_ENTRY(createQuilletModule)
