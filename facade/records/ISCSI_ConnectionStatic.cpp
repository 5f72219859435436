#include "records/ISCSI_ConnectionStatic.h"

#include "python/py_text.h"
#include "trace/identifier_trace.h"

// A connection record traces neither its construction nor its destruction: only the base's
// release line marks it.
ISCSI_ConnectionStatic::ISCSI_ConnectionStatic() {}

ISCSI_ConnectionStatic::~ISCSI_ConnectionStatic() {}

void ISCSI_ConnectionStatic::read()
{
    getUInt64String(L"UniqueConnectionId", m_values.uniqueConnectionId.text);
    quillet::traceIdentifier("UniqueConnectionId", m_values.uniqueConnectionId.text);
    m_values.cid = getShort(L"CID");
    m_values.authType = static_cast<int>(getLong(L"AuthType"));
}

PyObject* ISCSI_ConnectionStatic::build(const Values& values)
{
    return Py_BuildValue("{s:u,s:i,s:i}", "UniqueConnectionId",
                         quillet::PyText(values.uniqueConnectionId).unicode(), "AuthType",
                         values.authType, "CID", values.cid);
}
