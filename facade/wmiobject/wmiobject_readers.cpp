// The numeric and text readers. The numeric ones read one member of the value whatever type WMI
// delivered (a 32-bit value read by getShort gives its low 16 bits); a NULL value reads as 0.
#include "wmiobject/wmiobject.h"
#include "wmiobject/property.h"

#include <cstdint>

namespace {

// Fetches and traces a text property into buffer; a NULL property gives the fallback text.
bool readText(IWbemClassObject* pObject, const wchar_t* name, wchar_t* buffer, size_t size,
              const wchar_t* fallback)
{
    if (!pObject)
        return false;
    ScopedVariant value;
    if (FAILED(fetchProperty(pObject, name, value)))
        return false;
    if (value.isNull()) {
        copyText(fallback, buffer, size);
        return true;
    }
    // Anything but a string holds no text pointer: reading it as one would crash.
    if (value.type() != VT_BSTR)
        return false;
    const wchar_t* text = V_BSTR(&value.value()) ? V_BSTR(&value.value()) : L"";
    traceProperty(name, text, value.type());
    copyText(text, buffer, size);
    return true;
}

}  // namespace

bool WMIObject::getBool(const wchar_t* name)
{
    if (!m_pclsObject)
        return false;
    ScopedVariant value;
    if (FAILED(fetchProperty(m_pclsObject, name, value)))
        return false;
    VARIANT_BOOL flag = value.hasValue() ? V_BOOL(&value.value()) : VARIANT_BOOL(0);
    traceProperty(name, static_cast<int>(flag), value.type());
    return flag == VARIANT_TRUE;
}

BYTE WMIObject::getByte(const wchar_t* name)
{
    if (!m_pclsObject)
        return 0;
    ScopedVariant value;
    if (FAILED(fetchProperty(m_pclsObject, name, value)))
        return 0;
    BYTE byte = value.hasValue() ? V_UI1(&value.value()) : BYTE(0);
    traceProperty(name, static_cast<unsigned>(byte), value.type());
    return byte;
}

USHORT WMIObject::getShort(const wchar_t* name)
{
    if (!m_pclsObject)
        return 0;
    ScopedVariant value;
    if (FAILED(fetchProperty(m_pclsObject, name, value)))
        return 0;
    USHORT number = value.hasValue() ? V_UI2(&value.value()) : USHORT(0);
    traceProperty(name, static_cast<unsigned>(number), value.type());
    return number;
}

LONG WMIObject::getLong(const wchar_t* name)
{
    if (!m_pclsObject)
        return 0;
    ScopedVariant value;
    if (FAILED(fetchProperty(m_pclsObject, name, value)))
        return 0;
    LONG number = value.hasValue() ? V_I4(&value.value()) : LONG(0);
    traceProperty(name, static_cast<std::uint32_t>(number), value.type());
    return number;
}

bool WMIObject::getString(const wchar_t* name, wchar_t* buffer)
{
    return readText(m_pclsObject, name, buffer, STRING_BUFFER_SIZE, L"<null>");
}

bool WMIObject::getUInt64String(const wchar_t* name, wchar_t* buffer)
{
    return readText(m_pclsObject, name, buffer, UINT64_BUFFER_SIZE, L"0");
}
