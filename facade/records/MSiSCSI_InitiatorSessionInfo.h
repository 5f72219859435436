// MSiSCSI_InitiatorSessionInfo: one adapter's sessions. Created on the heap by the engine's
// queryInitiatorSessionInfo, read, converted and deleted by the Python method; it creates, reads
// and deletes its own session records.
#ifndef QUILLET_MSISCSI_INITIATORSESSIONINFO_H
#define QUILLET_MSISCSI_INITIATORSESSIONINFO_H

#include <Python.h>
#include <vector>
#include "records/ISCSI_SessionStatic.h"
#include "wmiobject/wide_text.h"
#include "wmiobject/wmiobject.h"

class MSiSCSI_InitiatorSessionInfo : public WMIObject
{
public:
    struct Values
    {
        UInt64Text uniqueAdapterId;
        std::vector<ISCSI_SessionStatic::Values> sessions;  // in array order
    };

    MSiSCSI_InitiatorSessionInfo();
    virtual ~MSiSCSI_InitiatorSessionInfo();

    // Reads and traces the identifier and the whole session tree into the record. Touches no
    // Python object. Throws std::bad_alloc when memory runs out; its session records are deleted.
    void read();

    // New reference to {"UniqueAdapterId": u"...", "SessionsList": [session dicts]} built from
    // what read() stored, or NULL with the Python exception set.
    PyObject* PyGetObject() const;

private:
    Values m_values;
};

#endif
