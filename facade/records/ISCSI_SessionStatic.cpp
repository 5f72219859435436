#include "records/ISCSI_SessionStatic.h"

#include <iostream>

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

    PyRef connections(convertObjectArray<ISCSI_ConnectionStatic>(*this, L"ConnectionsList",
                                                                 L"ISCSI_ConnectionStatic"));
    if (connections.get() == NULL)
        return NULL;
    return Py_BuildValue("{s:u,s:u,s:O}",
                         "UniqueSessionId", sessionId.unicode(),
                         "TargetiSCSIName", targetName.unicode(),
                         "ConnectionsList", connections.get());
}
