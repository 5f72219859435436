// ISCSI_ConnectionStatic: one connection of a session, an element of the session's
// ConnectionsList. Created on the heap by getObjectArray, read and deleted by its session, whose
// values keep what it read.
#ifndef QUILLET_ISCSI_CONNECTIONSTATIC_H
#define QUILLET_ISCSI_CONNECTIONSTATIC_H

#include <Python.h>
#include "wmiobject/wide_text.h"
#include "wmiobject/wmiobject.h"

class ISCSI_ConnectionStatic : public WMIObject
{
public:
    struct Values
    {
        Values() : cid(0), authType(0) {}

        UInt64Text uniqueConnectionId;
        int cid;  // 16 bits without sign
        int authType;
    };

    ISCSI_ConnectionStatic();
    virtual ~ISCSI_ConnectionStatic();

    // Reads and traces the properties into values(). Touches no Python object.
    void read();
    Values& values() { return m_values; }

    // New reference to {"UniqueConnectionId": u"...", "AuthType": int, "CID": int}, or NULL with
    // the Python exception set.
    static PyObject* build(const Values& values);
    PyObject* PyGetObject() const { return build(m_values); }

private:
    Values m_values;
};

#endif
