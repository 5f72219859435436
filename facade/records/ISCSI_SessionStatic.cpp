#include "records/ISCSI_SessionStatic.h"

#include <iostream>

#include "python/py_ref.h"
#include "python/py_text.h"
#include "python/record_list.h"
#include "records/embedded_classes.h"
#include "trace/identifier_trace.h"

using quillet::buildList;
using quillet::PyRef;
using quillet::PyText;
using quillet::readObjectArray;
using quillet::traceIdentifier;

ISCSI_SessionStatic::ISCSI_SessionStatic()
{
    std::cout << "ISCSI_SessionStatic" << std::endl;
}

ISCSI_SessionStatic::~ISCSI_SessionStatic()
{
    std::cout << "~ISCSI_SessionStatic" << std::endl;
}

void ISCSI_SessionStatic::read()
{
    getUInt64String(L"UniqueSessionId", m_values.uniqueSessionId.text);
    traceIdentifier("UniqueSessionId", m_values.uniqueSessionId.text);
    StringText targetName;
    getString(L"TargetiSCSIName", targetName.text);
    m_values.targetiSCSIName = targetName.text;
    readObjectArray<ISCSI_ConnectionStatic>(*this, L"ConnectionsList", &kConnectionStaticClass,
                                            m_values.connections);
}

PyObject* ISCSI_SessionStatic::build(const Values& values)
{
    PyRef connections(buildList<ISCSI_ConnectionStatic>(values.connections));
    if (connections.get() == NULL)
        return NULL;
    PyText<STRING_BUFFER_SIZE> targetName(values.targetiSCSIName);
    return Py_BuildValue("{s:u,s:u,s:O}", "UniqueSessionId",
                         PyText(values.uniqueSessionId).unicode(), "TargetiSCSIName",
                         targetName.unicode(), "ConnectionsList", connections.get());
}
