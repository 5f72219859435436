// ISCSI_SessionStatic: one session of an adapter, an element of the adapter's SessionsList.
// Created on the heap by getObjectArray, read and deleted by its adapter, whose values keep what
// it read; it creates, reads and deletes its own connection records.
#ifndef QUILLET_ISCSI_SESSIONSTATIC_H
#define QUILLET_ISCSI_SESSIONSTATIC_H

#include <Python.h>
#include <string>
#include <vector>
#include "records/ISCSI_ConnectionStatic.h"
#include "wmiobject/wide_text.h"
#include "wmiobject/wmiobject.h"

class ISCSI_SessionStatic : public WMIObject
{
public:
    struct Values
    {
        UInt64Text uniqueSessionId;
        // Held to its length: a tree of thousands of sessions is held whole until it is built.
        std::wstring targetiSCSIName;
        std::vector<ISCSI_ConnectionStatic::Values> connections;  // in array order
    };

    ISCSI_SessionStatic();
    virtual ~ISCSI_SessionStatic();

    // Reads and traces the properties and the connections into values(). Touches no Python
    // object. Throws std::bad_alloc when memory runs out; its connection records are deleted.
    void read();
    Values& values() { return m_values; }

    // New reference to {"UniqueSessionId": u"...", "TargetiSCSIName": u"...",
    // "ConnectionsList": [connection dicts]}, or NULL with the Python exception set.
    static PyObject* build(const Values& values);
    PyObject* PyGetObject() const { return build(m_values); }

private:
    Values m_values;
};

#endif
