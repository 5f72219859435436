#include "records/MSiSCSI_InitiatorSessionInfo.h"

#include <iostream>

#include "records/ISCSI_SessionStatic.h"
#include "records/identifier_trace.h"
#include "records/py_ref.h"
#include "records/py_text.h"
#include "records/record_list.h"

MSiSCSI_InitiatorSessionInfo::MSiSCSI_InitiatorSessionInfo()
{
    std::cout << "MSiSCSI_InitiatorSessionInfo" << std::endl;
}

MSiSCSI_InitiatorSessionInfo::~MSiSCSI_InitiatorSessionInfo()
{
    std::cout << "~MSiSCSI_InitiatorSessionInfo" << std::endl;
}

PyObject* MSiSCSI_InitiatorSessionInfo::PyGetObject()
{
    PyText<UINT64_BUFFER_SIZE> adapterId;
    getUInt64String(L"UniqueAdapterId", adapterId.wide());
    traceIdentifier("UniqueAdapterId", adapterId.wide());

    PyRef sessions(
        convertObjectArray<ISCSI_SessionStatic>(*this, L"SessionsList", L"ISCSI_SessionStatic"));
    if (sessions.get() == NULL)
        return NULL;
    // The builder skips ',' and ':' alike between items: two entries.
    return Py_BuildValue("{s:u,s,O}",
                         "UniqueAdapterId", adapterId.unicode(),
                         "SessionsList", sessions.get());
}
