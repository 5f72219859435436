#include "capture/value_reader.h"

#include <errno.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "capture/capture_error.h"
#include "capture/text.h"
#include "com/scoped_com_ptr.h"
#include "com/scoped_safearray.h"
#include "com/scoped_variant.h"
#include "variant/integer.h"

namespace quillet::capture {

namespace {

// As deep as the replay's parser accepts.
const int kMaxDepth = 100;

class Reader
{
public:
    explicit Reader(ObjectClasses& classes) : m_classes(classes), m_depth(0) {}

    CapturedInstance instance(IWbemClassObject* object, const CapturedClass& cls)
    {
        if (++m_depth > kMaxDepth)
            throw CaptureError(WBEM_E_FAILED, "embedded objects nested too deep in class " +
                                                  unicode::toUtf8(cls.name));
        CapturedInstance result;
        result.cls = &cls;
        for (size_t i = 0; i < cls.properties.size(); ++i) {
            const CapturedProperty& property = cls.properties[i];
            ScopedVariant value;
            HRESULT hr = object->Get(property.name.c_str(), 0, value.Receive(), NULL, NULL);
            checkCall(hr, "Get", where(cls, property));
            result.values.push_back(variant(value.value(), cls, property));
        }
        --m_depth;
        return result;
    }

private:
    static std::string where(const CapturedClass& cls, const CapturedProperty& property)
    {
        return "class " + unicode::toUtf8(cls.name) + ", property " +
               unicode::toUtf8(property.name);
    }

    [[noreturn]] static void mismatch(const CapturedClass& cls, const CapturedProperty& property,
                                      VARTYPE vt)
    {
        char text[80];
        snprintf(text, sizeof text, ": a VARIANT of type 0x%x does not hold CIM type %ld",
                 static_cast<unsigned>(vt), static_cast<long>(property.type));
        throw CaptureError(WBEM_E_TYPE_MISMATCH, where(cls, property) + text);
    }

    CapturedValue variant(const VARIANT& value, const CapturedClass& cls,
                          const CapturedProperty& property)
    {
        VARTYPE vt = V_VT(&value);
        if (vt == VT_NULL || vt == VT_EMPTY)
            return CapturedValue();
        bool isArray = (vt & VT_ARRAY) != 0;
        if ((vt & VT_BYREF) || isArray != ((property.type & CIM_FLAG_ARRAY) != 0))
            mismatch(cls, property, vt);
        if (!isArray)
            return scalar(static_cast<VARTYPE>(vt & VT_TYPEMASK), &value.llVal, cls, property);
        return array(value.parray, static_cast<VARTYPE>(vt & VT_TYPEMASK), cls, property);
    }

    CapturedValue array(SAFEARRAY* array, VARTYPE vt, const CapturedClass& cls,
                        const CapturedProperty& property)
    {
        CapturedValue result;
        result.kind = CapturedValue::Array;
        LONG lower = 0, upper = -1;
        if (!array || SafeArrayGetDim(array) != 1 || FAILED(SafeArrayGetLBound(array, 1, &lower)) ||
            FAILED(SafeArrayGetUBound(array, 1, &upper)))
            mismatch(cls, property, static_cast<VARTYPE>(VT_ARRAY | vt));
        if (upper < lower)
            return result;
        SafeArrayData data(array);
        checkCall(data.result(), data.data(), "SafeArrayAccessData", where(cls, property));
        const char* elements = static_cast<const char*>(data.data());
        UINT size = SafeArrayGetElemsize(array);
        for (LONG i = 0; i <= upper - lower; ++i)
            result.elements.push_back(
                scalar(vt, elements + static_cast<size_t>(i) * size, cls, property));
        return result;
    }

    CapturedValue scalar(VARTYPE vt, const void* slot, const CapturedClass& cls,
                         const CapturedProperty& property)
    {
        CIMTYPE base = property.type & ~CIM_FLAG_ARRAY;
        CapturedValue result;
        switch (base) {
            case CIM_STRING:
            case CIM_DATETIME: {
                if (vt != VT_BSTR)
                    mismatch(cls, property, vt);
                BSTR text = load<BSTR>(slot);
                result.kind = CapturedValue::Text;
                result.text = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
                return result;
            }
            case CIM_OBJECT:
                return object(vt, slot, cls, property);
            case CIM_REAL32:
            case CIM_REAL64:
                return real(vt, slot, cls, property);
            default:
                result.kind = CapturedValue::Literal;
                result.literal = integer(vt, slot, base, cls, property);
                return result;
        }
    }

    CapturedValue object(VARTYPE vt, const void* slot, const CapturedClass& cls,
                         const CapturedProperty& property)
    {
        if (vt != VT_UNKNOWN && vt != VT_DISPATCH)
            mismatch(cls, property, vt);
        IUnknown* unknown = load<IUnknown*>(slot);
        if (!unknown)
            return CapturedValue();
        ScopedComPtr<IWbemClassObject> embedded;
        HRESULT hr = unknown->QueryInterface(IID_IWbemClassObject,
                                             reinterpret_cast<void**>(embedded.Receive()));
        if (FAILED(hr) || !embedded.Get())
            throw CaptureError(hr,
                               where(cls, property) + ": the embedded object is not a WMI object");
        const CapturedClass& embeddedClass = m_classes.classOfObject(embedded.Get());
        CapturedValue result;
        result.kind = CapturedValue::Object;
        result.object.reset(new CapturedInstance(instance(embedded.Get(), embeddedClass)));
        return result;
    }

    CapturedValue real(VARTYPE vt, const void* slot, const CapturedClass& cls,
                       const CapturedProperty& property)
    {
        double value = 0;
        int digits = 17;  // enough for a double to read back unchanged; 9 for a float
        if (vt == VT_R4) {
            value = load<FLOAT>(slot);
            digits = 9;
        } else if (vt == VT_R8) {
            value = load<DOUBLE>(slot);
        } else {
            mismatch(cls, property, vt);
        }
        CapturedValue result;
        result.kind = CapturedValue::Literal;
        result.literal = realLiteral(value, digits);
        return result;
    }

    // MOF has no literal for infinities and NaN: the replay reads the words `inf`, `-inf` and
    // `nan`, which other MOF readers refuse rather than misread. A NaN's sign and payload are
    // not kept. Finite values in decimal, with enough digits to read back unchanged.
    static std::string realLiteral(double value, int digits)
    {
        if (isnan(value))
            return "nan";
        if (isinf(value))
            return value < 0 ? "-inf" : "inf";
        char text[40];
        snprintf(text, sizeof text, "%.*g", digits, value);
        return text;
    }

    std::string integer(VARTYPE vt, const void* slot, CIMTYPE base, const CapturedClass& cls,
                        const CapturedProperty& property)
    {
        long long value = 0;
        if (vt == VT_BSTR) {
            // 64-bit integers arrive as decimal text; anything else in a string is a mismatch.
            if ((base != CIM_UINT64 && base != CIM_SINT64) ||
                !decimalText(load<BSTR>(slot), base, &value))
                mismatch(cls, property, vt);
        } else if (!integerOf(vt, slot, &value)) {
            mismatch(cls, property, vt);
        }
        char text[32];
        switch (base) {
            case CIM_BOOLEAN: {
                // Any other 16-bit pattern is kept as the number the replay reads back.
                short flag = static_cast<short>(value);
                if (flag == VARIANT_TRUE)
                    return "TRUE";
                if (flag == VARIANT_FALSE)
                    return "FALSE";
                snprintf(text, sizeof text, "%d", flag);
                return text;
            }
            case CIM_UINT8:
                snprintf(text, sizeof text, "%u", static_cast<unsigned>(value & 0xFF));
                break;
            case CIM_SINT8:
                snprintf(text, sizeof text, "%d", static_cast<signed char>(value));
                break;
            case CIM_UINT16:
            case CIM_CHAR16:
                snprintf(text, sizeof text, "%u", static_cast<unsigned>(value & 0xFFFF));
                break;
            case CIM_SINT16:
                snprintf(text, sizeof text, "%d", static_cast<short>(value));
                break;
            // WMI hands out uint32 as VT_I4: the same 32 bits, read unsigned.
            case CIM_UINT32:
                snprintf(text, sizeof text, "%lu",
                         static_cast<unsigned long>(value & 0xFFFFFFFFll));
                break;
            case CIM_SINT32:
                snprintf(text, sizeof text, "%ld", static_cast<long>(static_cast<int>(value)));
                break;
            case CIM_UINT64:
                snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(value));
                break;
            case CIM_SINT64:
                snprintf(text, sizeof text, "%lld", value);
                break;
            default:
                mismatch(cls, property, vt);
        }
        return text;
    }

    static bool decimalText(BSTR text, CIMTYPE base, long long* value)
    {
        if (!text || SysStringLen(text) == 0 || SysStringLen(text) > 20)
            return false;
        std::string digits;
        for (UINT i = 0; i < SysStringLen(text); ++i) {
            wchar_t c = text[i];
            bool sign = i == 0 && c == L'-' && base == CIM_SINT64 && SysStringLen(text) > 1;
            if (!sign && (c < L'0' || c > L'9'))
                return false;
            digits.push_back(static_cast<char>(c));
        }
        errno = 0;
        if (base == CIM_UINT64)
            *value = static_cast<long long>(strtoull(digits.c_str(), NULL, 10));
        else
            *value = strtoll(digits.c_str(), NULL, 10);
        return errno == 0;
    }

    static bool integerOf(VARTYPE vt, const void* slot, long long* value)
    {
        if (vt == VT_BOOL) {  // stored as the 16-bit integer 0 or -1
            *value = load<SHORT>(slot);
            return true;
        }
        int64_t integer = 0;
        if (!variant::integerSlot(vt, slot, &integer))
            return false;
        *value = integer;
        return true;
    }

    template <class T>
    static T load(const void* slot)
    {
        T value;
        memcpy(&value, slot, sizeof value);
        return value;
    }

    ObjectClasses& m_classes;
    int m_depth;
};

}  // namespace

CapturedInstance readInstance(IWbemClassObject* object, const CapturedClass& cls,
                              ObjectClasses& classes)
{
    Reader reader(classes);
    return reader.instance(object, cls);
}

}  // namespace quillet::capture
