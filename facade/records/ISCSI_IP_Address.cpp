#include "records/ISCSI_IP_Address.h"

#include <iostream>
#include "python/py_ref.h"

ISCSI_IP_Address::ISCSI_IP_Address()
{
    std::cout << "ISCSI_IP_Address" << std::endl;
}

ISCSI_IP_Address::~ISCSI_IP_Address()
{
    std::cout << "~ISCSI_IP_Address" << std::endl;
}

void ISCSI_IP_Address::read()
{
    // The lines keep the names they had when reading and building were one step.
    std::cout << "ISCSI_IP_Address PyGetObject()" << std::endl;
    m_values.ipV4Address = static_cast<ULONG>(getLong(L"IpV4Address"));
    m_values.type = static_cast<int>(getLong(L"Type"));
    std::cout << "ISCSI_IP_Address PyGetObject() OK" << std::endl;
}

PyObject* ISCSI_IP_Address::build(const Values& values)
{
    // A long even when small, as the address is always unsigned.
    quillet::PyRef address(PyLong_FromUnsignedLong(values.ipV4Address));
    if (address.get() == NULL)
        return NULL;
    return Py_BuildValue("{s:O,s:i}", "IpV4Address", address.get(), "Type", values.type);
}
