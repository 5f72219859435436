// MSiSCSI_InitiatorSessionInfo: one adapter's sessions. Created on the heap by the engine's
// queryInitiatorSessionInfo, converted and deleted by the Python method; it creates, converts and
// deletes its own session records.
#ifndef QUILLET_MSISCSI_INITIATORSESSIONINFO_H
#define QUILLET_MSISCSI_INITIATORSESSIONINFO_H

#include <Python.h>
#include "wmiobject/wmiobject.h"

class MSiSCSI_InitiatorSessionInfo : public WMIObject
{
public:
    MSiSCSI_InitiatorSessionInfo();
    virtual ~MSiSCSI_InitiatorSessionInfo();

    // New reference to {"UniqueAdapterId": u"...", "SessionsList": [session dicts]}, or NULL
    // with the Python exception set.
    PyObject* PyGetObject();
};

#endif
