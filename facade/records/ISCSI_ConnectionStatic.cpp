#include "records/ISCSI_ConnectionStatic.h"

#include "python/py_text.h"
#include "trace/identifier_trace.h"

using quillet::PyText;
using quillet::traceIdentifier;

// A connection record traces neither its construction nor its destruction: only the base's
// release line marks it.
ISCSI_ConnectionStatic::ISCSI_ConnectionStatic() {}

ISCSI_ConnectionStatic::~ISCSI_ConnectionStatic() {}

void ISCSI_ConnectionStatic::read()
{
    getUInt64String(L"UniqueConnectionId", m_values.uniqueConnectionId.text);
    traceIdentifier("UniqueConnectionId", m_values.uniqueConnectionId.text);
    m_values.cid = getShort(L"CID");
    m_values.authType = static_cast<int>(getLong(L"AuthType"));
}

PyObject* ISCSI_ConnectionStatic::build(const Values& values)
{
    return Py_BuildValue("{s:u,s:i,s:i}", "UniqueConnectionId",
                         PyText(values.uniqueConnectionId).unicode(), "AuthType", values.authType,
                         "CID", values.cid);
}
