#include "engine/wmifacade.h"

#include <objbase.h>
#include <iostream>

WMIFacade::WMIFacade() : m_pLocator(NULL), m_pServices(NULL), m_bUninitializeCOM(false)
{
    std::cout << "WMIFacade" << std::endl;
}

WMIFacade::~WMIFacade()
{
    std::cout << "~WMIFacade" << std::endl;
    if (m_pServices) {
        m_pServices->Release();
        m_pServices = NULL;
    }
    if (m_pLocator) {
        m_pLocator->Release();
        m_pLocator = NULL;
    }
    if (m_bUninitializeCOM)
        CoUninitialize();
}

bool WMIFacade::isConnected() const
{
    return m_pLocator != NULL && m_pServices != NULL;
}

int WMIFacade::printSomething()
{
    std::cout << "Hola World!!!" << std::endl;
    return 0;
}

int printSomethingGlobal()
{
    std::cout << "Hola Universe!!!" << std::endl;
    return 0;
}
