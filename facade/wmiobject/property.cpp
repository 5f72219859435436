#include "wmiobject/property.h"

using quillet::ScopedVariant;

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
    // Where wchar_t is UTF-16, a cut between the halves of a surrogate pair would leave half a
    // character: the pair goes whole.
    if (i > 0 && buffer[i - 1] >= 0xD800 && buffer[i - 1] <= 0xDBFF && text[i] >= 0xDC00 &&
        text[i] <= 0xDFFF)
        --i;
    buffer[i] = L'\0';
}
