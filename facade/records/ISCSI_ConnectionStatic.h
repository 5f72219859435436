// ISCSI_ConnectionStatic: one connection of a session, an element of the session's
// ConnectionsList. Created on the heap by getObjectArray, converted and deleted by its session.
#ifndef QUILLET_ISCSI_CONNECTIONSTATIC_H
#define QUILLET_ISCSI_CONNECTIONSTATIC_H

#include <Python.h>
#include "wmiobject/wmiobject.h"

class ISCSI_ConnectionStatic : public WMIObject
{
public:
    ISCSI_ConnectionStatic();
    virtual ~ISCSI_ConnectionStatic();

    // New reference to {"UniqueConnectionId": u"...", "AuthType": int, "CID": int}, or NULL with
    // the Python exception set.
    PyObject* PyGetObject();
};

#endif
