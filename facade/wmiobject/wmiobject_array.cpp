#include "wmiobject/wmiobject.h"

#include <oleauto.h>
#include <iostream>
#include <memory>

#include "com/scoped_com_ptr.h"
#include "com/scoped_variant.h"
#include "trace/variant_type_trace.h"
#include "wmiobject/property.h"

using quillet::ScopedComPtr;
using quillet::ScopedVariant;
using quillet::traceVariantTypeAndFlags;

namespace {

// Only an array of interface pointers can be read element by element as objects; anything else
// (a scalar, a by-reference value, an array of another type, a missing array) is not read.
bool holdsObjectArray(const VARIANT* value)
{
    VARTYPE type = V_VT(value);
    VARTYPE base = type & VT_TYPEMASK;
    return (type & VT_ARRAY) != 0 && (type & VT_BYREF) == 0 &&
           (base == VT_UNKNOWN || base == VT_DISPATCH) && V_ARRAY(value) != NULL;
}

}  // namespace

bool WMIObject::getObjectArray(const wchar_t* name, const EmbeddedClass* elementClass,
                               std::vector<WMIObject*>& records)
{
    if (m_pclsObject == NULL)
        return false;

    ScopedVariant value;
    CIMTYPE cimType = 0;
    if (FAILED(fetchProperty(m_pclsObject, name, value, &cimType))) {
        std::cout << "Get failed" << std::endl;
        return false;
    }
    VARTYPE type = value.type();
    traceVariantTypeAndFlags(type);
    if (value.isNull()) {
        std::cout << "VT_NULL" << std::endl;
        return true;
    }
    if (!holdsObjectArray(value.Get()))
        return false;

    SAFEARRAY* pArray = V_ARRAY(value.Get());
    UINT dimensions = SafeArrayGetDim(pArray);
    std::cout << "num dims? " << dimensions << std::endl;
    // Dimension 1 only, at the bounds the array states. Both bounds must be known, or a range
    // made of one read bound and one default would visit indexes the array may not have.
    LONG lower = 0;
    LONG upper = -1;
    bool result = SUCCEEDED(SafeArrayGetLBound(pArray, 1, &lower)) &&
                  SUCCEEDED(SafeArrayGetUBound(pArray, 1, &upper));
    // SafeArrayGetElement reads one index per dimension: any further dimension stays at its
    // lower bound, so the walk covers dimension 1 without reading past the index.
    std::vector<LONG> indexes(dimensions > 0 ? dimensions : 1, 0);
    for (UINT dimension = 2; result && dimension <= dimensions; ++dimension)
        result = SUCCEEDED(SafeArrayGetLBound(pArray, dimension, &indexes[dimension - 1]));
    if (!result) {
        lower = 0;
        upper = -1;
    }
    // A wider counter, so that an upper bound at the top of LONG's range still ends the loop.
    for (long long index = lower; index <= upper; ++index) {
        // An unknown class fails only once there is an element to build.
        if (elementClass == NULL)
            return false;
        ScopedComPtr<IUnknown> element;
        indexes[0] = static_cast<LONG>(index);
        if (FAILED(SafeArrayGetElement(pArray, &indexes[0], element.Receive()))) {
            std::cout << "SafeArrayGetElement " << elementClass->traceName << " failed"
                      << std::endl;
            return false;
        }
        std::unique_ptr<WMIObject> record(elementClass->createRecord());
        // The element is used as the class object it is in WMI's arrays, without QueryInterface.
        record->attach(static_cast<IWbemClassObject*>(element.Get()));
        records.push_back(record.get());
        record.release();
        result = true;
    }
    return result;
}
