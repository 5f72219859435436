#include "records/MSiSCSI_NICConfig.h"

#include <iostream>
#include "python/py_ref.h"

MSiSCSI_NICConfig::MSiSCSI_NICConfig()
{
    std::cout << "MSiSCSI_NICConfig" << std::endl;
}

MSiSCSI_NICConfig::~MSiSCSI_NICConfig()
{
    std::cout << "~MSiSCSI_NICConfig" << std::endl;
}

void MSiSCSI_NICConfig::read()
{
    // The lines keep the names they had when reading and building were one step.
    std::cout << "MSiSCSI_NICConfig PyGetObject()" << std::endl;
    getByteArray(L"MacAddress", m_values.macAddress, sizeof m_values.macAddress);
    m_values.maxFrameSize = static_cast<int>(getLong(L"MaxFrameSize"));
    m_values.linkState = static_cast<int>(getLong(L"LinkState"));
    m_values.maxLinkSpeed = static_cast<int>(getLong(L"MaxLinkSpeed"));
    m_values.linkSpeed = static_cast<int>(getLong(L"LinkSpeed"));
    std::cout << "MSiSCSI_NICConfig PyGetObject() OK" << std::endl;
}

PyObject* MSiSCSI_NICConfig::PyGetObject() const
{
    const BYTE* mac = m_values.macAddress;
    quillet::PyRef macTuple(
        Py_BuildValue("i,i,i,i,i,i", mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]));
    if (macTuple.get() == NULL)
        return NULL;
    // "O": the holder drops our reference, so the dictionary ends up the tuple's only owner.
    return Py_BuildValue("{s:i,s:i,s:i,s:i,s:O}", "LinkSpeed", m_values.linkSpeed, "MaxLinkSpeed",
                         m_values.maxLinkSpeed, "LinkState", m_values.linkState, "MaxFrameSize",
                         m_values.maxFrameSize, "MacAddress", macTuple.get());
}
