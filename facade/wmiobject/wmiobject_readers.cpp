// The numeric and text readers. The numeric ones read one member of the value whatever type WMI
// delivered (a 32-bit value read by getShort gives its low 16 bits); a NULL value reads as 0.
#include "wmiobject/wmiobject.h"
#include "wmiobject/property.h"

#include <cstdint>
#include <utility>

using quillet::ScopedVariant;

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

// The frame of the numeric readers: nothing attached or a failed Get reads as 0 without a trace;
// otherwise member picks the reader's member of the value (0 for NULL), traced as Traced.
template <typename Traced, typename Member>
auto readNumber(IWbemClassObject* pObject, const wchar_t* name, Member member)
    -> decltype(member(std::declval<const VARIANT&>()))
{
    typedef decltype(member(std::declval<const VARIANT&>())) Number;
    if (!pObject)
        return Number(0);
    ScopedVariant value;
    if (FAILED(fetchProperty(pObject, name, value)))
        return Number(0);
    Number number = value.hasValue() ? member(value.value()) : Number(0);
    traceProperty(name, static_cast<Traced>(number), value.type());
    return number;
}

}  // namespace

bool WMIObject::getBool(const wchar_t* name)
{
    // Only VARIANT_TRUE is true; the trace shows the 16 bits as a signed number (1 stays 1).
    return readNumber<int>(m_pclsObject, name, [](const VARIANT& v) { return V_BOOL(&v); }) ==
           VARIANT_TRUE;
}

BYTE WMIObject::getByte(const wchar_t* name)
{
    return readNumber<unsigned>(m_pclsObject, name, [](const VARIANT& v) { return V_UI1(&v); });
}

USHORT WMIObject::getShort(const wchar_t* name)
{
    return readNumber<unsigned>(m_pclsObject, name, [](const VARIANT& v) { return V_UI2(&v); });
}

LONG WMIObject::getLong(const wchar_t* name)
{
    // Traced as its unsigned counterpart.
    return readNumber<std::uint32_t>(m_pclsObject, name, [](const VARIANT& v) { return V_I4(&v); });
}

bool WMIObject::getString(const wchar_t* name, wchar_t* buffer)
{
    return readText(m_pclsObject, name, buffer, STRING_BUFFER_SIZE, L"<null>");
}

bool WMIObject::getUInt64String(const wchar_t* name, wchar_t* buffer)
{
    return readText(m_pclsObject, name, buffer, UINT64_BUFFER_SIZE, L"0");
}
