// MSiSCSI_HBAInformation: the description of one iSCSI adapter (WMI class of the same name) as a
// 23-key Python dictionary. Lives as a local object of one method call.
#ifndef QUILLET_MSISCSI_HBAINFORMATION_H
#define QUILLET_MSISCSI_HBAINFORMATION_H

#include <Python.h>
#include "wmiobject/wide_text.h"
#include "wmiobject/wmiobject.h"

class MSiSCSI_HBAInformation : public WMIObject
{
public:
    // Flags are 0 or 1; bytes 0 to 255; 32-bit values as signed.
    struct Values
    {
        Values();

        int integratedTCPIP;
        StringText asicVersion;
        StringText driverName;
        StringText firmwareVersion;
        BYTE generationalGuid[16];  // bytes the read does not deliver stay 0
        StringText instanceName;
        StringText optionRomVersion;
        StringText serialNumber;
        UInt64Text uniqueAdapterId;
        StringText vendorID;
        StringText vendorModel;
        StringText vendorVersion;
        int versionMin;
        int versionMax;
        int status;
        int requiresBinaryIpAddresses;
        int numberOfPorts;
        int multifunctionDevice;
        int maxCDBLength;
        int functionalitySupported;
        int cacheValid;
        int biDiScsiCommands;
        int active;
    };

    MSiSCSI_HBAInformation();
    virtual ~MSiSCSI_HBAInformation();

    // Reads and traces every property into the record. Touches no Python object.
    void read();

    // New reference to the dictionary built from what read() stored, or NULL with a Python
    // exception set.
    PyObject* PyGetObject() const;

private:
    Values m_values;
};

#endif
