#include "records/ISCSI_ConnectionStatic.h"

#include "records/identifier_trace.h"
#include "records/py_text.h"

// A connection record traces neither its construction nor its destruction: only the base's
// release line marks it.
ISCSI_ConnectionStatic::ISCSI_ConnectionStatic() {}

ISCSI_ConnectionStatic::~ISCSI_ConnectionStatic() {}

PyObject* ISCSI_ConnectionStatic::PyGetObject()
{
    PyText<UINT64_BUFFER_SIZE> connectionId;
    getUInt64String(L"UniqueConnectionId", connectionId.wide());
    traceIdentifier("UniqueConnectionId", connectionId.wide());
    // The CID is 16 bits without sign; AuthType keeps its 32 bits as a signed int.
    int cid = getShort(L"CID");
    int authType = static_cast<int>(getLong(L"AuthType"));
    return Py_BuildValue("{s:u,s:i,s:i}",
                         "UniqueConnectionId", connectionId.unicode(),
                         "AuthType", authType,
                         "CID", cid);
}
