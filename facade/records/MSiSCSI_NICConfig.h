// MSiSCSI_NICConfig: the network interface settings of one iSCSI adapter (WMI class of the same
// name) as a five-key Python dictionary. Lives as a local object of one method call.
#ifndef QUILLET_MSISCSI_NICCONFIG_H
#define QUILLET_MSISCSI_NICCONFIG_H

#include <Python.h>
#include "wmiobject/wmiobject.h"

class MSiSCSI_NICConfig : public WMIObject
{
public:
    struct Values
    {
        Values() : linkSpeed(0), maxLinkSpeed(0), linkState(0), maxFrameSize(0), macAddress() {}

        int linkSpeed;
        int maxLinkSpeed;
        int linkState;
        int maxFrameSize;
        BYTE macAddress[6];  // bytes the read does not deliver stay 0
    };

    MSiSCSI_NICConfig();
    virtual ~MSiSCSI_NICConfig();

    // Reads and traces every property into the record. Touches no Python object.
    void read();

    // New reference to the dictionary built from what read() stored, or NULL with a Python
    // exception set.
    PyObject* PyGetObject() const;

private:
    Values m_values;
};

#endif
