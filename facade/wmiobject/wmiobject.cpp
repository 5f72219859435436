#include "wmiobject/wmiobject.h"

#include <iostream>

WMIObject::WMIObject() : m_pclsObject(NULL) {}

WMIObject::~WMIObject()
{
    if (m_pclsObject) {
        std::cout << "~WMIObject - releasing" << std::endl;
        m_pclsObject->Release();
        m_pclsObject = NULL;
    } else {
        std::cout << "~WMIObject" << std::endl;
    }
}

void WMIObject::attach(IWbemClassObject* pObject)
{
    if (!pObject)
        return;
    // Reference the new object before releasing the old: they may be the same.
    pObject->AddRef();
    if (m_pclsObject)
        m_pclsObject->Release();
    m_pclsObject = pObject;
}
