// Helpers for the WMI service tests: owners of COM resources and a services object over a
// repository made from a fixture or from inline MOF text.
#ifndef WINSIM_WMI_TEST_SUPPORT_H
#define WINSIM_WMI_TEST_SUPPORT_H

#include <windows.h>
#include <wbemidl.h>

#include <memory>
#include <string>

#include "counted_unknown.h"
#include "temp_files.h"

#include "wmi/mof_parser.h"
#include "wmi/repository.h"
#include "wmi/services.h"

// Owns one interface reference.
template <typename T>
class Ref
{
public:
    Ref() = default;
    explicit Ref(T* p) : m_p(p) {}
    ~Ref() { reset(); }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    T** out()
    {
        reset();
        return &m_p;
    }
    void reset()
    {
        if (m_p)
            m_p->Release();
        m_p = nullptr;
    }

private:
    T* m_p = nullptr;
};

// Owns one VARIANT, cleared on destruction.
class Variant
{
public:
    Variant() { VariantInit(&m_v); }
    ~Variant() { VariantClear(&m_v); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    VARIANT* operator&() { return &m_v; }
    VARIANT* operator->() { return &m_v; }
    VARIANT* out()
    {
        VariantClear(&m_v);
        return &m_v;
    }

private:
    VARIANT m_v;
};

class Bstr
{
public:
    explicit Bstr(const wchar_t* text) : m_b(SysAllocString(text)) {}
    ~Bstr() { SysFreeString(m_b); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    operator BSTR() const { return m_b; }

private:
    BSTR m_b;
};

inline std::shared_ptr<winsim::wmi::Repository> repositoryFromMof(const std::string& text)
{
    return std::make_shared<winsim::wmi::Repository>(winsim::wmi::parseMof(text));
}

inline IWbemServices* servicesOver(std::shared_ptr<winsim::wmi::Repository> repository)
{
    return new winsim::wmi::Services(std::move(repository));
}

inline HRESULT query(IWbemServices* services, const wchar_t* text, IEnumWbemClassObject** result)
{
    Bstr language(L"WQL");
    Bstr queryText(text);
    return services->ExecQuery(language, queryText,
                               WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                               result);
}

#endif
