#include "wmi/cim_variant.h"

#include <cerrno>
#include <cstring>
#include <new>
#include <cwchar>

#include "com/bstr.h"
#include "variant/integer.h"
#include "wmi/class_object.h"

namespace winsim::wmi {

namespace {

VARTYPE elementType(CimKind kind)
{
    switch (kind) {
        case CimKind::Boolean:
            return VT_BOOL;
        case CimKind::UInt8:
            return VT_UI1;
        case CimKind::SInt8:
        case CimKind::SInt16:
        case CimKind::Char16:
            return VT_I2;
        case CimKind::UInt16:
        case CimKind::UInt32:
        case CimKind::SInt32:
            return VT_I4;
        case CimKind::Real32:
            return VT_R4;
        case CimKind::Real64:
            return VT_R8;
        case CimKind::Object:
            return VT_UNKNOWN;
        default:
            return VT_BSTR;  // string, datetime and the 64-bit integers
    }
}

template <typename T>
void store(void* slot, T value)
{
    std::memcpy(slot, &value, sizeof value);
}

template <typename T>
T load(const void* slot)
{
    T value;
    std::memcpy(&value, slot, sizeof value);
    return value;
}

// Writes one value into storage of the kind's element type: a VARIANT's value member or a
// SAFEARRAY element. What it allocates (a BSTR, an object) is owned by that storage.
HRESULT storeScalar(const CimValue& value, CimKind kind, void* slot)
{
    switch (elementType(kind)) {
        case VT_BOOL:
            store(slot, static_cast<VARIANT_BOOL>(value.integer));
            return S_OK;
        case VT_UI1:
            store(slot, static_cast<BYTE>(value.integer));
            return S_OK;
        case VT_I2:
            store(slot, static_cast<SHORT>(value.integer));
            return S_OK;
        case VT_I4:
            store(slot, static_cast<LONG>(static_cast<uint32_t>(value.integer)));
            return S_OK;
        case VT_R4:
            store(slot, static_cast<FLOAT>(value.real));
            return S_OK;
        case VT_R8:
            store(slot, static_cast<DOUBLE>(value.real));
            return S_OK;
        case VT_UNKNOWN: {
            IUnknown* object = nullptr;
            try {
                if (value.object)
                    object = static_cast<IWbemClassObject*>(
                        new ClassObject(*value.object, ClassObject::kNoOrigin));
            } catch (const std::bad_alloc&) {
                store(slot, object);
                return E_OUTOFMEMORY;
            }
            store(slot, object);
            return S_OK;
        }
        default: {
            std::wstring text = kind == CimKind::UInt64   ? std::to_wstring(value.unsignedValue())
                                : kind == CimKind::SInt64 ? std::to_wstring(value.integer)
                                                          : value.text;
            BSTR bstr = allocBstr(text.data(), text.size());
            store(slot, bstr);
            return bstr ? S_OK : E_OUTOFMEMORY;
        }
    }
}

HRESULT arrayToVariant(const CimValue& value, CimKind kind, VARIANT* out)
{
    VARTYPE vt = elementType(kind);
    SAFEARRAY* array = SafeArrayCreateVector(vt, 0, static_cast<ULONG>(value.elements.size()));
    if (!array)
        return E_OUTOFMEMORY;
    // Filled in place: the array owns what each element holds, so destroying it after a failed
    // allocation frees the elements made so far.
    char* data = static_cast<char*>(array->pvData);
    for (size_t i = 0; i < value.elements.size(); ++i) {
        if (storeScalar(value.elements[i], kind, data + i * array->cbElements) != S_OK) {
            SafeArrayDestroy(array);
            return E_OUTOFMEMORY;
        }
    }
    out->vt = static_cast<VARTYPE>(VT_ARRAY | vt);
    out->parray = array;
    return S_OK;
}

bool inRange(CimKind kind, int64_t value)
{
    IntegerRange range{};
    integerRange(kind, &range);
    return value < 0 ? static_cast<uint64_t>(0 - static_cast<uint64_t>(value)) <= range.maxNegative
                     : static_cast<uint64_t>(value) <= range.maxPositive;
}

// Integer content of a scalar VARIANT type; false when the type holds no integer.
bool loadInteger(VARTYPE vt, const void* slot, int64_t* value, bool* isUnsigned64)
{
    *isUnsigned64 = vt == VT_UI8;
    if (variant::integerSlot(vt, slot, value))
        return true;
    if (vt != VT_BSTR)
        return false;
    BSTR text = load<BSTR>(slot);
    if (!text || !*text)
        return false;
    wchar_t* end = nullptr;
    errno = 0;
    if (text[0] == L'-') {
        *value = std::wcstoll(text, &end, 10);
    } else {
        *value = static_cast<int64_t>(std::wcstoull(text, &end, 10));
        *isUnsigned64 = true;
    }
    return errno == 0 && end && *end == 0;
}

HRESULT loadScalar(VARTYPE vt, const void* slot, const CimType& type, CimValue* out)
{
    switch (type.kind) {
        case CimKind::Boolean:
            if (vt != VT_BOOL)
                return WBEM_E_TYPE_MISMATCH;
            *out = CimValue::ofInteger(load<VARIANT_BOOL>(slot));
            return S_OK;
        case CimKind::Real32:
        case CimKind::Real64: {
            int64_t integer = 0;
            bool unsigned64 = false;
            if (vt == VT_R4)
                *out = CimValue::ofReal(load<FLOAT>(slot));
            else if (vt == VT_R8)
                *out = CimValue::ofReal(load<DOUBLE>(slot));
            else if (vt != VT_BSTR && loadInteger(vt, slot, &integer, &unsigned64))
                *out = CimValue::ofReal(unsigned64 ? double(uint64_t(integer)) : double(integer));
            else
                return WBEM_E_TYPE_MISMATCH;
            return S_OK;
        }
        case CimKind::String:
        case CimKind::DateTime: {
            if (vt != VT_BSTR)
                return WBEM_E_TYPE_MISMATCH;
            BSTR text = load<BSTR>(slot);
            *out = CimValue::ofText(text ? std::wstring(text, SysStringLen(text)) : std::wstring());
            return S_OK;
        }
        case CimKind::Object: {
            if (vt != VT_UNKNOWN)
                return WBEM_E_TYPE_MISMATCH;
            IUnknown* unknown = load<IUnknown*>(slot);
            if (!unknown) {
                *out = CimValue::null();
                return S_OK;
            }
            ClassObject* object = ClassObject::from(unknown);
            if (!object || (type.objectClass && !object->instance().cls->isA(*type.objectClass)))
                return WBEM_E_TYPE_MISMATCH;
            *out = CimValue::ofObject(std::make_shared<Instance>(object->instance()));
            return S_OK;
        }
        default: {
            int64_t integer = 0;
            bool unsigned64 = false;
            if (!loadInteger(vt, slot, &integer, &unsigned64))
                return WBEM_E_TYPE_MISMATCH;
            // WMI hands out uint32 as VT_I4, so a VT_I4 put back carries the same 32 bits.
            if (type.kind == CimKind::UInt32 && vt == VT_I4)
                integer = static_cast<uint32_t>(integer);
            bool fits = type.kind == CimKind::UInt64 ? (unsigned64 || integer >= 0)
                        : type.kind == CimKind::SInt64
                            ? (!unsigned64 || integer >= 0)
                            : (!unsigned64 || integer >= 0) && inRange(type.kind, integer);
            if (!fits)
                return WBEM_E_TYPE_MISMATCH;
            *out = CimValue::ofInteger(integer);
            return S_OK;
        }
    }
}

HRESULT arrayFromVariant(const VARIANT& in, const CimType& type, CimValue* out)
{
    SAFEARRAY* array = in.parray;
    if (!array || SafeArrayGetDim(array) != 1)
        return WBEM_E_TYPE_MISMATCH;
    VARTYPE vt = static_cast<VARTYPE>(in.vt & VT_TYPEMASK);
    CimType elementType = type;
    elementType.array = false;
    ULONG count = array->rgsabound[0].cElements;
    const char* data = static_cast<const char*>(array->pvData);
    std::vector<CimValue> elements(count);
    for (ULONG i = 0; i < count; ++i) {
        HRESULT hr =
            loadScalar(vt, data + size_t(i) * array->cbElements, elementType, &elements[i]);
        if (FAILED(hr))
            return hr;
    }
    *out = CimValue::ofArray(std::move(elements));
    return S_OK;
}

}  // namespace

CIMTYPE cimTypeOf(const CimType& type)
{
    CIMTYPE base = CIM_STRING;
    switch (type.kind) {
        case CimKind::Boolean:
            base = CIM_BOOLEAN;
            break;
        case CimKind::UInt8:
            base = CIM_UINT8;
            break;
        case CimKind::SInt8:
            base = CIM_SINT8;
            break;
        case CimKind::UInt16:
            base = CIM_UINT16;
            break;
        case CimKind::SInt16:
            base = CIM_SINT16;
            break;
        case CimKind::UInt32:
            base = CIM_UINT32;
            break;
        case CimKind::SInt32:
            base = CIM_SINT32;
            break;
        case CimKind::UInt64:
            base = CIM_UINT64;
            break;
        case CimKind::SInt64:
            base = CIM_SINT64;
            break;
        case CimKind::Real32:
            base = CIM_REAL32;
            break;
        case CimKind::Real64:
            base = CIM_REAL64;
            break;
        case CimKind::Char16:
            base = CIM_CHAR16;
            break;
        case CimKind::String:
            base = CIM_STRING;
            break;
        case CimKind::DateTime:
            base = CIM_DATETIME;
            break;
        case CimKind::Object:
            base = CIM_OBJECT;
            break;
    }
    return type.array ? (base | CIM_FLAG_ARRAY) : base;
}

HRESULT toVariant(const CimValue& value, const CimType& type, VARIANT* out)
{
    out->vt = VT_EMPTY;
    if (value.isNull()) {
        out->vt = VT_NULL;
        return S_OK;
    }
    if (type.array)
        return arrayToVariant(value, type.kind, out);
    HRESULT hr = storeScalar(value, type.kind, &out->llVal);
    if (SUCCEEDED(hr))
        out->vt = elementType(type.kind);
    return hr;
}

HRESULT fromVariant(const VARIANT& in, const CimType& type, CimValue* out)
{
    if (in.vt == VT_NULL || in.vt == VT_EMPTY) {
        *out = CimValue::null();
        return S_OK;
    }
    if (in.vt & VT_BYREF)
        return WBEM_E_TYPE_MISMATCH;
    bool isArray = (in.vt & VT_ARRAY) != 0;
    if (isArray != type.array)
        return WBEM_E_TYPE_MISMATCH;
    if (isArray)
        return arrayFromVariant(in, type, out);
    return loadScalar(in.vt, &in.llVal, type, out);
}

}  // namespace winsim::wmi
