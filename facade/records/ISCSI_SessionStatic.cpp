#include "records/ISCSI_SessionStatic.h"

#include <iostream>

#include "python/py_ref.h"
#include "python/py_text.h"
#include "python/record_list.h"
#include "records/embedded_classes.h"
#include "trace/identifier_trace.h"

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
    quillet::traceIdentifier("UniqueSessionId", m_values.uniqueSessionId.text);
    StringText targetName;
    getString(L"TargetiSCSIName", targetName.text);
    m_values.targetiSCSIName = targetName.text;
    quillet::readObjectArray<ISCSI_ConnectionStatic>(*this, L"ConnectionsList",
                                                     &kConnectionStaticClass, m_values.connections);
}

PyObject* ISCSI_SessionStatic::build(const Values& values)
{
    quillet::PyRef connections(quillet::buildList<ISCSI_ConnectionStatic>(values.connections));
    if (connections.get() == NULL)
        return NULL;
    quillet::PyText<STRING_BUFFER_SIZE> targetName(values.targetiSCSIName);
    return Py_BuildValue("{s:u,s:u,s:O}", "UniqueSessionId",
                         quillet::PyText(values.uniqueSessionId).unicode(), "TargetiSCSIName",
                         targetName.unicode(), "ConnectionsList", connections.get());
}
