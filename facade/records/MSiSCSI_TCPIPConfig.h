// MSiSCSI_TCPIPConfig: the TCP/IP settings of one iSCSI adapter (WMI class of the same name) as
// a ten-key Python dictionary whose five addresses are nested ISCSI_IP_Address dictionaries.
// Lives as a local object of one method call.
#ifndef QUILLET_MSISCSI_TCPIPCONFIG_H
#define QUILLET_MSISCSI_TCPIPCONFIG_H

#include <Python.h>
#include "wmiobject/wmiobject.h"

class MSiSCSI_TCPIPConfig : public WMIObject
{
public:
    MSiSCSI_TCPIPConfig();
    virtual ~MSiSCSI_TCPIPConfig();

    // New reference to the dictionary, or NULL with a Python exception set.
    PyObject* PyGetObject();
};

#endif
