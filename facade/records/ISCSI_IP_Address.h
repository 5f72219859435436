// ISCSI_IP_Address: one embedded address object of a TCP/IP configuration, as the dictionary
// {"IpV4Address": long, "Type": int}. Lives only inside MSiSCSI_TCPIPConfig's read, whose values
// keep what it read.
#ifndef QUILLET_ISCSI_IP_ADDRESS_H
#define QUILLET_ISCSI_IP_ADDRESS_H

#include <Python.h>
#include "wmiobject/wmiobject.h"

class ISCSI_IP_Address : public WMIObject
{
public:
    struct Values
    {
        Values() : ipV4Address(0), type(0) {}

        unsigned long ipV4Address;  // unsigned: 255.255.255.255 must not come out as -1
        int type;
    };

    ISCSI_IP_Address();
    virtual ~ISCSI_IP_Address();

    // Reads and traces the properties into values(). Touches no Python object.
    void read();
    const Values& values() const { return m_values; }

    // New reference to the address dictionary, or NULL with a Python exception set.
    static PyObject* build(const Values& values);
    PyObject* PyGetObject() const { return build(m_values); }

private:
    Values m_values;
};

#endif
