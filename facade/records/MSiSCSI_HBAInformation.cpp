#include "records/MSiSCSI_HBAInformation.h"

#include <iostream>
#include "records/identifier_trace.h"
#include "records/py_ref.h"
#include "records/py_text.h"

MSiSCSI_HBAInformation::MSiSCSI_HBAInformation()
{
}

MSiSCSI_HBAInformation::~MSiSCSI_HBAInformation()
{
    // Released here, so the base destructor always reports "~WMIObject".
    if (m_pclsObject) {
        m_pclsObject->Release();
        m_pclsObject = NULL;
    }
    std::cout << "~MSiSCSI_HBAInformation" << std::endl;
}

PyObject* MSiSCSI_HBAInformation::PyGetObject()
{
    typedef PyText<STRING_BUFFER_SIZE> Text;

    // The reads run in this order because their trace lines are the conversion's output.
    const bool integratedTCPIP = getBool(L"IntegratedTCPIP");
    std::wcout << L" tcpip = " << (integratedTCPIP ? 1 : 0) << std::endl;

    Text asicVersion, driverName, firmwareVersion;
    getString(L"AsicVersion", asicVersion.wide());
    getString(L"DriverName", driverName.wide());
    getString(L"FirmwareVersion", firmwareVersion.wide());

    BYTE guid[16] = {0};
    getByteArray(L"GenerationalGuid", guid, sizeof guid);
    PyRef guidTuple(Py_BuildValue("i,i,i,i,i,i,i,i,i,i,i,i,i,i,i,i",
                                  guid[0], guid[1], guid[2], guid[3], guid[4], guid[5], guid[6],
                                  guid[7], guid[8], guid[9], guid[10], guid[11], guid[12],
                                  guid[13], guid[14], guid[15]));

    Text instanceName, optionRomVersion, serialNumber;
    getString(L"InstanceName", instanceName.wide());
    getString(L"OptionRomVersion", optionRomVersion.wide());
    getString(L"SerialNumber", serialNumber.wide());

    PyText<UINT64_BUFFER_SIZE> uniqueAdapterId;
    getUInt64String(L"UniqueAdapterId", uniqueAdapterId.wide());
    traceIdentifier("UniqueAdapterId", uniqueAdapterId.wide());

    Text vendorID, vendorModel, vendorVersion;
    getString(L"VendorID", vendorID.wide());
    getString(L"VendorModel", vendorModel.wide());
    getString(L"VendorVersion", vendorVersion.wide());

    const int versionMin = getByte(L"VersionMin");
    const int versionMax = getByte(L"VersionMax");

    const int status = static_cast<int>(getLong(L"Status"));
    const int requiresBinaryIpAddresses = getBool(L"RequiresBinaryIpAddresses");
    const int numberOfPorts = static_cast<int>(getLong(L"NumberOfPorts"));
    const int multifunctionDevice = getBool(L"MultifunctionDevice");
    const int maxCDBLength = static_cast<int>(getLong(L"MaxCDBLength"));
    const int functionalitySupported = static_cast<int>(getLong(L"FunctionalitySupported"));
    const int cacheValid = getBool(L"CacheValid");
    const int biDiScsiCommands = getBool(L"BiDiScsiCommands");
    const int active = getBool(L"Active");

    // A failed tuple build left its exception set; the dictionary cannot be made without it.
    if (!guidTuple.get())
        return NULL;
    // "O" rather than "N": the holder drops our reference on every path, whether or not the
    // dictionary build got as far as the tuple.
    return Py_BuildValue(
        "{s:i,s:u,s:i,s:i,s:u,s:u,s:i,s:O,s:u,s:i,s:i,s:i,s:i,s:u,s:i,s:u,s:i,s:u,s:u,s:u,s:u,s:i,s:i}",
        "Active", active,
        "AsicVersion", asicVersion.unicode(),
        "BiDiScsiCommands", biDiScsiCommands,
        "CacheValid", cacheValid,
        "DriverName", driverName.unicode(),
        "FirmwareVersion", firmwareVersion.unicode(),
        "FunctionalitySupported", functionalitySupported,
        "GenerationalGuid", guidTuple.get(),
        "InstanceName", instanceName.unicode(),
        "IntegratedTCPIP", integratedTCPIP ? 1 : 0,
        "MaxCDBLength", maxCDBLength,
        "MultifunctionDevice", multifunctionDevice,
        "NumberOfPorts", numberOfPorts,
        "OptionRomVersion", optionRomVersion.unicode(),
        "RequiresBinaryIpAddresses", requiresBinaryIpAddresses,
        "SerialNumber", serialNumber.unicode(),
        "Status", status,
        "UniqueAdapterId", uniqueAdapterId.unicode(),
        "VendorID", vendorID.unicode(),
        "VendorModel", vendorModel.unicode(),
        "VendorVersion", vendorVersion.unicode(),
        "VersionMax", versionMax,
        "VersionMin", versionMin);
}
