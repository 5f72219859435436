#include "records/MSiSCSI_TCPIPConfig.h"

#include <iostream>
#include "records/ISCSI_IP_Address.h"
#include "records/py_ref.h"

namespace {

const wchar_t ADDRESS_CLASS[] = L"ISCSI_IP_Address";

}  // namespace

MSiSCSI_TCPIPConfig::MSiSCSI_TCPIPConfig()
{
    std::cout << "MSiSCSI_TCPIPConfig" << std::endl;
}

MSiSCSI_TCPIPConfig::~MSiSCSI_TCPIPConfig()
{
    std::cout << "~MSiSCSI_TCPIPConfig" << std::endl;
}

PyObject* MSiSCSI_TCPIPConfig::PyGetObject()
{
    // Each address record is made just before its GetObject, and the records go in reverse
    // order when this function returns; a failed GetObject leaves the record empty (zeros).
    ISCSI_IP_Address ipAddress;
    GetObject(L"IpAddress", ADDRESS_CLASS, &ipAddress);
    ISCSI_IP_Address preferredDNSServer;
    GetObject(L"PreferredDNSServer", ADDRESS_CLASS, &preferredDNSServer);
    ISCSI_IP_Address alternateDNSServer;
    GetObject(L"AlternateDNSServer", ADDRESS_CLASS, &alternateDNSServer);
    ISCSI_IP_Address defaultGateway;
    GetObject(L"DefaultGateway", ADDRESS_CLASS, &defaultGateway);
    ISCSI_IP_Address subnetMask;
    GetObject(L"SubnetMask", ADDRESS_CLASS, &subnetMask);

    PyRef subnetMaskDict(subnetMask.PyGetObject());
    PyRef defaultGatewayDict(defaultGateway.PyGetObject());
    PyRef preferredDNSServerDict(preferredDNSServer.PyGetObject());
    PyRef alternateDNSServerDict(alternateDNSServer.PyGetObject());
    PyRef ipAddressDict(ipAddress.PyGetObject());

    const int useLinkLocalAddress = getBool(L"UseLinkLocalAddress");
    const int useDHCPForDNS = getBool(L"UseDHCPForDNS");
    const int ipVersions = static_cast<int>(getLong(L"IPVersions"));
    const int enableDHCP = getBool(L"EnableDHCP");
    const int active = getBool(L"Active");

    // A failed address build left its exception set. The holders drop our references on every
    // path, so the configuration dictionary ends up the only owner of each address dictionary.
    if (!subnetMaskDict.get() || !defaultGatewayDict.get() || !preferredDNSServerDict.get() ||
        !alternateDNSServerDict.get() || !ipAddressDict.get())
        return NULL;
    return Py_BuildValue("{s:i,s:i,s:i,s:i,s:i,s:O,s:O,s:O,s:O,s:O}",
                         "Active", active,
                         "EnableDHCP", enableDHCP,
                         "IPVersions", ipVersions,
                         "UseDHCPForDNS", useDHCPForDNS,
                         "UseLinkLocalAddress", useLinkLocalAddress,
                         "IpAddress", ipAddressDict.get(),
                         "AlternateDNSServer", alternateDNSServerDict.get(),
                         "PreferredDNSServer", preferredDNSServerDict.get(),
                         "DefaultGateway", defaultGatewayDict.get(),
                         "SubnetMask", subnetMaskDict.get());
}
