// ScopedVariant: owns one VARIANT and clears it with VariantClear on every path, which releases
// whatever it holds (string, interface, array). Not copyable. The value union starts zeroed so
// that reading a member WMI did not fill (a NULL property) gives 0 rather than stale stack bytes.
#ifndef QUILLET_SCOPED_VARIANT_H
#define QUILLET_SCOPED_VARIANT_H

#include <windows.h>
#include <oleauto.h>
#include <cassert>
#include <cstring>

namespace quillet {

class ScopedVariant
{
public:
    ScopedVariant()
    {
        std::memset(&m_var, 0, sizeof(m_var));
        VariantInit(&m_var);
    }
    ~ScopedVariant() { VariantClear(&m_var); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;

    // For out-parameters: refuses to let a held value be overwritten (it would leak).
    VARIANT* Receive()
    {
        assert(V_VT(&m_var) == VT_EMPTY);
        return &m_var;
    }

    void SetLong(LONG value)
    {
        VariantClear(&m_var);
        V_VT(&m_var) = VT_I4;
        V_I4(&m_var) = value;
    }

    VARIANT* Get() { return &m_var; }
    const VARIANT& value() const { return m_var; }
    VARTYPE type() const { return V_VT(&m_var); }
    bool isNull() const { return (V_VT(&m_var) & VT_TYPEMASK) == VT_NULL; }
    // VT_EMPTY and VT_NULL carry no value: their value member holds nothing defined.
    bool hasValue() const { return V_VT(&m_var) != VT_EMPTY && !isNull(); }

private:
    VARIANT m_var;
};

}  // namespace quillet

#endif
