// MSiSCSI_HBAInformation: the description of one iSCSI adapter (WMI class of the same name) as a
// 23-key Python dictionary. Lives as a local object of one method call.
#ifndef QUILLET_MSISCSI_HBAINFORMATION_H
#define QUILLET_MSISCSI_HBAINFORMATION_H

#include <Python.h>
#include "wmiobject/wmiobject.h"

class MSiSCSI_HBAInformation : public WMIObject
{
public:
    MSiSCSI_HBAInformation();
    virtual ~MSiSCSI_HBAInformation();

    // New reference to the dictionary, or NULL with a Python exception set.
    PyObject* PyGetObject();
};

#endif
