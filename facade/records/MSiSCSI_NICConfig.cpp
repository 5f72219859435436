#include "records/MSiSCSI_NICConfig.h"

#include <iostream>
#include "records/py_ref.h"

MSiSCSI_NICConfig::MSiSCSI_NICConfig()
{
    std::cout << "MSiSCSI_NICConfig" << std::endl;
}

MSiSCSI_NICConfig::~MSiSCSI_NICConfig()
{
    std::cout << "~MSiSCSI_NICConfig" << std::endl;
}

PyObject* MSiSCSI_NICConfig::PyGetObject()
{
    std::cout << "MSiSCSI_NICConfig PyGetObject()" << std::endl;

    BYTE mac[6] = {0};
    getByteArray(L"MacAddress", mac, sizeof mac);
    PyRef macTuple(Py_BuildValue("i,i,i,i,i,i", mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]));

    const int maxFrameSize = static_cast<int>(getLong(L"MaxFrameSize"));
    const int linkState = static_cast<int>(getLong(L"LinkState"));
    const int maxLinkSpeed = static_cast<int>(getLong(L"MaxLinkSpeed"));
    const int linkSpeed = static_cast<int>(getLong(L"LinkSpeed"));

    // A failed tuple build left its exception set; the holder drops our reference either way.
    PyObject* result = NULL;
    if (macTuple.get())
        result = Py_BuildValue("{s:i,s:i,s:i,s:i,s:O}",
                               "LinkSpeed", linkSpeed,
                               "MaxLinkSpeed", maxLinkSpeed,
                               "LinkState", linkState,
                               "MaxFrameSize", maxFrameSize,
                               "MacAddress", macTuple.get());
    std::cout << "MSiSCSI_NICConfig PyGetObject() OK" << std::endl;
    return result;
}
