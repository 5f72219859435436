#include "wmiobject/property.h"

HRESULT fetchProperty(IWbemClassObject* pObject, const wchar_t* name, ScopedVariant& value,
                      CIMTYPE* cimType)
{
    return pObject->Get(name, 0, value.Receive(), cimType, NULL);
}

void copyText(const wchar_t* text, wchar_t* buffer, size_t size)
{
    if (size == 0)
        return;
    size_t i = 0;
    for (; i + 1 < size && text[i] != L'\0'; ++i)
        buffer[i] = text[i];
    buffer[i] = L'\0';
}
