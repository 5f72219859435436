// ISCSI_IP_Address: one embedded address object of a TCP/IP configuration as the dictionary
// {"IpV4Address": long, "Type": int}. Lives only inside MSiSCSI_TCPIPConfig's conversion.
#ifndef QUILLET_ISCSI_IP_ADDRESS_H
#define QUILLET_ISCSI_IP_ADDRESS_H

#include <Python.h>
#include "wmiobject/wmiobject.h"

class ISCSI_IP_Address : public WMIObject
{
public:
    ISCSI_IP_Address();
    virtual ~ISCSI_IP_Address();

    // New reference to the address dictionary, or NULL with a Python exception set.
    PyObject* PyGetObject();
};

#endif
