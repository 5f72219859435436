// MSiSCSI_NICConfig: the network interface settings of one iSCSI adapter (WMI class of the same
// name) as a five-key Python dictionary. Lives as a local object of one method call.
#ifndef QUILLET_MSISCSI_NICCONFIG_H
#define QUILLET_MSISCSI_NICCONFIG_H

#include <Python.h>
#include "wmiobject/wmiobject.h"

class MSiSCSI_NICConfig : public WMIObject
{
public:
    MSiSCSI_NICConfig();
    virtual ~MSiSCSI_NICConfig();

    // New reference to the dictionary, or NULL with a Python exception set.
    PyObject* PyGetObject();
};

#endif
