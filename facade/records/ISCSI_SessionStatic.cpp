#include "records/ISCSI_SessionStatic.h"

#include <iostream>
#include <new>

#include "records/ISCSI_ConnectionStatic.h"
#include "records/identifier_trace.h"
#include "records/py_ref.h"
#include "records/py_text.h"
#include "records/record_list.h"

ISCSI_SessionStatic::ISCSI_SessionStatic()
{
    std::cout << "ISCSI_SessionStatic" << std::endl;
}

ISCSI_SessionStatic::~ISCSI_SessionStatic()
{
    std::cout << "~ISCSI_SessionStatic" << std::endl;
}

PyObject* ISCSI_SessionStatic::PyGetObject()
{
    PyText<UINT64_BUFFER_SIZE> sessionId;
    getUInt64String(L"UniqueSessionId", sessionId.wide());
    traceIdentifier("UniqueSessionId", sessionId.wide());
    PyText<STRING_BUFFER_SIZE> targetName;
    getString(L"TargetiSCSIName", targetName.wide());

    PyRef connections(PyList_New(0));
    if (connections.get() == NULL)
        return NULL;
    // Declared after the list: the records are deleted first, once everything is converted.
    RecordList<WMIObject> records;
    try {
        // Whatever was appended is converted, also when the array could not be read whole.
        getObjectArray(L"ConnectionsList", L"ISCSI_ConnectionStatic", records.items());
    } catch (const std::bad_alloc&) {
        return PyErr_NoMemory();
    }
    if (!records.convertInto<ISCSI_ConnectionStatic>(connections.get()))
        return NULL;
    return Py_BuildValue("{s:u,s:u,s:O}",
                         "UniqueSessionId", sessionId.unicode(),
                         "TargetiSCSIName", targetName.unicode(),
                         "ConnectionsList", connections.get());
}
