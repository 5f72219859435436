// ISCSI_SessionStatic: one session of an adapter, an element of the adapter's SessionsList.
// Created on the heap by getObjectArray, converted and deleted by its adapter; it creates,
// converts and deletes its own connection records.
#ifndef QUILLET_ISCSI_SESSIONSTATIC_H
#define QUILLET_ISCSI_SESSIONSTATIC_H

#include <Python.h>
#include "wmiobject/wmiobject.h"

class ISCSI_SessionStatic : public WMIObject
{
public:
    ISCSI_SessionStatic();
    virtual ~ISCSI_SessionStatic();

    // New reference to {"UniqueSessionId": u"...", "TargetiSCSIName": u"...",
    // "ConnectionsList": [connection dicts]}, or NULL with the Python exception set.
    PyObject* PyGetObject();
};

#endif
