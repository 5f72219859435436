// MSiSCSI_TCPIPConfig: the TCP/IP settings of one iSCSI adapter (WMI class of the same name) as
// a ten-key Python dictionary whose five addresses are nested ISCSI_IP_Address dictionaries.
// Lives as a local object of one method call.
#ifndef QUILLET_MSISCSI_TCPIPCONFIG_H
#define QUILLET_MSISCSI_TCPIPCONFIG_H

#include <Python.h>
#include "records/ISCSI_IP_Address.h"
#include "wmiobject/wmiobject.h"

class MSiSCSI_TCPIPConfig : public WMIObject
{
public:
    struct Values
    {
        Values() : active(0), enableDHCP(0), ipVersions(0), useDHCPForDNS(0), useLinkLocalAddress(0)
        {}

        int active;
        int enableDHCP;
        int ipVersions;
        int useDHCPForDNS;
        int useLinkLocalAddress;
        ISCSI_IP_Address::Values ipAddress;
        ISCSI_IP_Address::Values alternateDNSServer;
        ISCSI_IP_Address::Values preferredDNSServer;
        ISCSI_IP_Address::Values defaultGateway;
        ISCSI_IP_Address::Values subnetMask;
    };

    MSiSCSI_TCPIPConfig();
    virtual ~MSiSCSI_TCPIPConfig();

    // Reads and traces every property, the five addresses included, into the record. Touches no
    // Python object.
    void read();

    // New reference to the dictionary built from what read() stored, or NULL with a Python
    // exception set.
    PyObject* PyGetObject() const;

private:
    Values m_values;
};

#endif
