// ScopedBstr: owns one COM string (BSTR) and frees it with SysFreeString when it goes out of
// scope. Not copyable. Allocation failure is memory exhaustion and is thrown as std::bad_alloc,
// so a caller never passes a NULL string to COM by accident.
#ifndef QUILLET_SCOPED_BSTR_H
#define QUILLET_SCOPED_BSTR_H

#include <windows.h>
#include <oleauto.h>
#include <new>

namespace quillet {

class ScopedBstr
{
public:
    explicit ScopedBstr(const OLECHAR* text) : m_bstr(SysAllocString(text))
    {
        if (!m_bstr)
            throw std::bad_alloc();
    }
    ~ScopedBstr() { SysFreeString(m_bstr); }
    ScopedBstr(const ScopedBstr&) = delete;
    ScopedBstr& operator=(const ScopedBstr&) = delete;

    BSTR Get() const { return m_bstr; }

private:
    BSTR m_bstr;
};

}  // namespace quillet

#endif
