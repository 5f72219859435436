#include "records/MSiSCSI_HBAInformation.h"

#include <iostream>
#include "python/py_ref.h"
#include "python/py_text.h"
#include "trace/identifier_trace.h"

MSiSCSI_HBAInformation::Values::Values()
    : integratedTCPIP(0), generationalGuid(), versionMin(0), versionMax(0), status(0),
      requiresBinaryIpAddresses(0), numberOfPorts(0), multifunctionDevice(0), maxCDBLength(0),
      functionalitySupported(0), cacheValid(0), biDiScsiCommands(0), active(0)
{}

MSiSCSI_HBAInformation::MSiSCSI_HBAInformation() {}

MSiSCSI_HBAInformation::~MSiSCSI_HBAInformation()
{
    // Released here, so the base destructor always reports "~WMIObject".
    if (m_pclsObject) {
        m_pclsObject->Release();
        m_pclsObject = NULL;
    }
    std::cout << "~MSiSCSI_HBAInformation" << std::endl;
}

void MSiSCSI_HBAInformation::read()
{
    Values& v = m_values;
    // The reads run in this order because their trace lines are the conversion's output.
    v.integratedTCPIP = getBool(L"IntegratedTCPIP") ? 1 : 0;
    std::wcout << L" tcpip = " << v.integratedTCPIP << std::endl;

    getString(L"AsicVersion", v.asicVersion.text);
    getString(L"DriverName", v.driverName.text);
    getString(L"FirmwareVersion", v.firmwareVersion.text);
    getByteArray(L"GenerationalGuid", v.generationalGuid, sizeof v.generationalGuid);
    getString(L"InstanceName", v.instanceName.text);
    getString(L"OptionRomVersion", v.optionRomVersion.text);
    getString(L"SerialNumber", v.serialNumber.text);

    getUInt64String(L"UniqueAdapterId", v.uniqueAdapterId.text);
    quillet::traceIdentifier("UniqueAdapterId", v.uniqueAdapterId.text);

    getString(L"VendorID", v.vendorID.text);
    getString(L"VendorModel", v.vendorModel.text);
    getString(L"VendorVersion", v.vendorVersion.text);
    v.versionMin = getByte(L"VersionMin");
    v.versionMax = getByte(L"VersionMax");
    v.status = static_cast<int>(getLong(L"Status"));
    v.requiresBinaryIpAddresses = getBool(L"RequiresBinaryIpAddresses");
    v.numberOfPorts = static_cast<int>(getLong(L"NumberOfPorts"));
    v.multifunctionDevice = getBool(L"MultifunctionDevice");
    v.maxCDBLength = static_cast<int>(getLong(L"MaxCDBLength"));
    v.functionalitySupported = static_cast<int>(getLong(L"FunctionalitySupported"));
    v.cacheValid = getBool(L"CacheValid");
    v.biDiScsiCommands = getBool(L"BiDiScsiCommands");
    v.active = getBool(L"Active");
}

PyObject* MSiSCSI_HBAInformation::PyGetObject() const
{
    const Values& v = m_values;
    const BYTE* guid = v.generationalGuid;
    quillet::PyRef guidTuple(Py_BuildValue("i,i,i,i,i,i,i,i,i,i,i,i,i,i,i,i", guid[0], guid[1],
                                           guid[2], guid[3], guid[4], guid[5], guid[6], guid[7],
                                           guid[8], guid[9], guid[10], guid[11], guid[12], guid[13],
                                           guid[14], guid[15]));
    if (guidTuple.get() == NULL)
        return NULL;
    // "O": the holder drops our reference, so the dictionary ends up the tuple's only owner.
    return Py_BuildValue(
        "{s:i,s:u,s:i,s:i,s:u,s:u,s:i,s:O,s:u,s:i,s:i,s:i,s:i,s:u,s:i,s:u,s:i,s:u,s:u,s:u,s:u,s:i,s:i}",
        "Active", v.active, "AsicVersion", quillet::PyText(v.asicVersion).unicode(),
        "BiDiScsiCommands", v.biDiScsiCommands, "CacheValid", v.cacheValid, "DriverName",
        quillet::PyText(v.driverName).unicode(), "FirmwareVersion",
        quillet::PyText(v.firmwareVersion).unicode(), "FunctionalitySupported",
        v.functionalitySupported, "GenerationalGuid", guidTuple.get(), "InstanceName",
        quillet::PyText(v.instanceName).unicode(), "IntegratedTCPIP", v.integratedTCPIP,
        "MaxCDBLength", v.maxCDBLength, "MultifunctionDevice", v.multifunctionDevice,
        "NumberOfPorts", v.numberOfPorts, "OptionRomVersion",
        quillet::PyText(v.optionRomVersion).unicode(), "RequiresBinaryIpAddresses",
        v.requiresBinaryIpAddresses, "SerialNumber", quillet::PyText(v.serialNumber).unicode(),
        "Status", v.status, "UniqueAdapterId", quillet::PyText(v.uniqueAdapterId).unicode(),
        "VendorID", quillet::PyText(v.vendorID).unicode(), "VendorModel",
        quillet::PyText(v.vendorModel).unicode(), "VendorVersion",
        quillet::PyText(v.vendorVersion).unicode(), "VersionMax", v.versionMax, "VersionMin",
        v.versionMin);
}
