#include "records/ISCSI_IP_Address.h"

#include <iostream>
#include "records/py_ref.h"

ISCSI_IP_Address::ISCSI_IP_Address()
{
    std::cout << "ISCSI_IP_Address" << std::endl;
}

ISCSI_IP_Address::~ISCSI_IP_Address()
{
    std::cout << "~ISCSI_IP_Address" << std::endl;
}

PyObject* ISCSI_IP_Address::PyGetObject()
{
    std::cout << "ISCSI_IP_Address PyGetObject()" << std::endl;
    // An IPv4 address is unsigned: 255.255.255.255 must not come out as -1.
    const unsigned long ipV4Address = static_cast<ULONG>(getLong(L"IpV4Address"));
    PyRef address(PyLong_FromUnsignedLong(ipV4Address));
    const int type = static_cast<int>(getLong(L"Type"));

    PyObject* result = NULL;
    if (address.get())
        result = Py_BuildValue("{s:O,s:i}", "IpV4Address", address.get(), "Type", type);
    std::cout << "ISCSI_IP_Address PyGetObject() OK" << std::endl;
    return result;
}
