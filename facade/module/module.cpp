// The module Quillet: its method tables, the WMIFacade type object and its entry point
// (initQuillet on Python 2, PyInit_Quillet on Python 3).
#include <Python.h>

#include "module/facade_lifecycle.h"
#include "module/facade_object.h"
#include "module/methods.h"
#include "python/py_compat.h"
#include "trace/console.h"

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
    {NULL, NULL, 0, NULL}
};

PyMethodDef Quillet_methods[] = {
    {"printSomethingGlobal", Quillet_printSomethingGlobal, METH_VARARGS,
     "This global method prints something global"},
    {NULL, NULL, 0, NULL}
};

}  // namespace

// Every slot up to tp_version_tag is given; the slots later versions add after it (tp_finalize,
// tp_vectorcall, ...) are meant to be zero, so their missing initializers are no mistake.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
PyTypeObject WMIFacadeType = {
    PyVarObject_HEAD_INIT(NULL, 0)
    "Quillet.WMIFacade",                       // tp_name
    sizeof(WMIFacadeObject),                   // tp_basicsize
    0,                                         // tp_itemsize
    WMIFacade_dealloc,                         // tp_dealloc
    0,                                         // tp_print; tp_vectorcall_offset on 3.8+
    0,                                         // tp_getattr
    0,                                         // tp_setattr
    0,                                         // tp_compare; tp_as_async on 3.5+
    0,                                         // tp_repr
    0,                                         // tp_as_number
    0,                                         // tp_as_sequence
    0,                                         // tp_as_mapping
    0,                                         // tp_hash
    0,                                         // tp_call
    0,                                         // tp_str
    0,                                         // tp_getattro
    0,                                         // tp_setattro
    0,                                         // tp_as_buffer
    Py_TPFLAGS_DEFAULT | Py_TPFLAGS_BASETYPE,  // tp_flags: Python classes may derive from it
    "WMIFacade objects",                       // tp_doc
    0,                                         // tp_traverse
    0,                                         // tp_clear
    0,                                         // tp_richcompare
    0,                                         // tp_weaklistoffset
    0,                                         // tp_iter
    0,                                         // tp_iternext
    WMIFacade_methods,                         // tp_methods
    0,                                         // tp_members: none
    0,                                         // tp_getset
    0,                                         // tp_base
    0,                                         // tp_dict
    0,                                         // tp_descr_get
    0,                                         // tp_descr_set
    0,                                         // tp_dictoffset
    0,                                         // tp_init
    0,                                         // tp_alloc: the generic one, set by PyType_Ready
    WMIFacade_new,                             // tp_new
    0,                                         // tp_free: the default, set by PyType_Ready
    0,                                         // tp_is_gc
    0,                                         // tp_bases
    0,                                         // tp_mro
    0,                                         // tp_cache
    0,                                         // tp_subclasses
    0,                                         // tp_weaklist
    0,                                         // tp_del
    0,                                         // tp_version_tag
};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace {

// Readies the type and makes the module; NULL with the exception set.
PyObject* createQuilletModule()
{
    // Stream setup only; COM waits for the first engine operation.
    installTraceOutput();
    if (PyType_Ready(&WMIFacadeType) < 0)
        return NULL;
    PyObject* module =
        createModuleObject("Quillet", Quillet_methods, "WMI through COM high level wrapper");
    if (!module)
        return NULL;
    if (PyModule_AddStringConstant(module, "__version__", QUILLET_VERSION) < 0) {
        Py_DECREF(module);
        return NULL;
    }
    // PyModule_AddObject takes the type's reference only when it succeeds.
    Py_INCREF(&WMIFacadeType);
    if (PyModule_AddObject(module, "WMIFacade", reinterpret_cast<PyObject*>(&WMIFacadeType)) < 0) {
        Py_DECREF(&WMIFacadeType);
        Py_DECREF(module);
        return NULL;
    }
    return module;
}

}  // namespace

QUILLET_MODULE_ENTRY(createQuilletModule)
