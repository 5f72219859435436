#include "wmiobject/wmiobject.h"

#include "trace/variant_type_trace.h"
#include "wmiobject/property.h"

using quillet::ScopedVariant;
using quillet::traceVariantTypeAndFlags;

namespace {

bool holdsObject(VARTYPE type)
{
    return type == VT_UNKNOWN || type == VT_DISPATCH;
}

}  // namespace

bool WMIObject::GetObject(const wchar_t* name, const EmbeddedClass* objectClass, WMIObject* target)
{
    std::cout << "--- GetObject -----------------------------" << std::endl;
    bool result = false;
    if (!m_pclsObject) {
        std::cout << "*** No m_pclsObject!" << std::endl;
    } else {
        ScopedVariant value;
        CIMTYPE cimType = 0;
        if (FAILED(fetchProperty(m_pclsObject, name, value, &cimType))) {
            std::cout << "*** GetObject m_pclsObject->Get failed" << std::endl;
        } else {
            VARTYPE type = value.type();
            std::cout << " _type = " << type << std::endl;
            traceVariantTypeAndFlags(type);
            if (value.isNull()) {
                std::cout << "*** GetObject VT_NULL" << std::endl;
                result = true;
            } else {
                std::cout << "*** GetObject is non-NULL" << std::endl;
                // Any other kind of value holds no interface pointer to hand on.
                if (objectClass == NULL || !holdsObject(type)) {
                    std::cout << "*** GetObject failed" << std::endl;
                } else {
                    IUnknown* pEmbedded = V_UNKNOWN(&value.value());
                    if (pEmbedded)
                        target->attach(static_cast<IWbemClassObject*>(pEmbedded));
                    std::cout << "*** GetObject ok" << std::endl;
                    result = true;
                }
            }
        }
    }
    std::cout << "--- GetObject COMPLETED ret = -----------------------------"
              << static_cast<int>(result) << std::endl;
    return result;
}
