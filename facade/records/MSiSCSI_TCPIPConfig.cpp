#include "records/MSiSCSI_TCPIPConfig.h"

#include <iostream>
#include "python/py_ref.h"
#include "records/embedded_classes.h"

MSiSCSI_TCPIPConfig::MSiSCSI_TCPIPConfig()
{
    std::cout << "MSiSCSI_TCPIPConfig" << std::endl;
}

MSiSCSI_TCPIPConfig::~MSiSCSI_TCPIPConfig()
{
    std::cout << "~MSiSCSI_TCPIPConfig" << std::endl;
}

void MSiSCSI_TCPIPConfig::read()
{
    // Each address record is made just before its GetObject, the records are read in another
    // order, and they go in reverse order of their making when this function returns; a failed
    // GetObject leaves the record empty (zeros).
    ISCSI_IP_Address ipAddress;
    GetObject(L"IpAddress", &kIpAddressClass, &ipAddress);
    ISCSI_IP_Address preferredDNSServer;
    GetObject(L"PreferredDNSServer", &kIpAddressClass, &preferredDNSServer);
    ISCSI_IP_Address alternateDNSServer;
    GetObject(L"AlternateDNSServer", &kIpAddressClass, &alternateDNSServer);
    ISCSI_IP_Address defaultGateway;
    GetObject(L"DefaultGateway", &kIpAddressClass, &defaultGateway);
    ISCSI_IP_Address subnetMask;
    GetObject(L"SubnetMask", &kIpAddressClass, &subnetMask);

    subnetMask.read();
    defaultGateway.read();
    preferredDNSServer.read();
    alternateDNSServer.read();
    ipAddress.read();
    m_values.subnetMask = subnetMask.values();
    m_values.defaultGateway = defaultGateway.values();
    m_values.preferredDNSServer = preferredDNSServer.values();
    m_values.alternateDNSServer = alternateDNSServer.values();
    m_values.ipAddress = ipAddress.values();

    m_values.useLinkLocalAddress = getBool(L"UseLinkLocalAddress");
    m_values.useDHCPForDNS = getBool(L"UseDHCPForDNS");
    m_values.ipVersions = static_cast<int>(getLong(L"IPVersions"));
    m_values.enableDHCP = getBool(L"EnableDHCP");
    m_values.active = getBool(L"Active");
}

PyObject* MSiSCSI_TCPIPConfig::PyGetObject() const
{
    // In the dictionary's order; the first that cannot be built ends the conversion.
    const ISCSI_IP_Address::Values* addresses[] = {
        &m_values.ipAddress, &m_values.alternateDNSServer, &m_values.preferredDNSServer,
        &m_values.defaultGateway, &m_values.subnetMask};
    const size_t count = sizeof addresses / sizeof addresses[0];
    quillet::PyRef built[count];
    for (size_t i = 0; i < count; ++i) {
        built[i].reset(ISCSI_IP_Address::build(*addresses[i]));
        if (built[i].get() == NULL)
            return NULL;
    }
    // "O": the holders drop our references, so the dictionary ends up the only owner of each.
    return Py_BuildValue("{s:i,s:i,s:i,s:i,s:i,s:O,s:O,s:O,s:O,s:O}", "Active", m_values.active,
                         "EnableDHCP", m_values.enableDHCP, "IPVersions", m_values.ipVersions,
                         "UseDHCPForDNS", m_values.useDHCPForDNS, "UseLinkLocalAddress",
                         m_values.useLinkLocalAddress, "IpAddress", built[0].get(),
                         "AlternateDNSServer", built[1].get(), "PreferredDNSServer", built[2].get(),
                         "DefaultGateway", built[3].get(), "SubnetMask", built[4].get());
}
