// ScopedSafeArray: owns one SAFEARRAY (or none) and destroys it when it goes out of scope, with
// whatever its elements own. Not copyable. Receive() refuses to overwrite a held array.
#ifndef QUILLET_SCOPED_SAFEARRAY_H
#define QUILLET_SCOPED_SAFEARRAY_H

#include <windows.h>
#include <oleauto.h>
#include <cassert>

namespace quillet {

class ScopedSafeArray
{
public:
    ScopedSafeArray() : m_array(NULL) {}
    ~ScopedSafeArray()
    {
        if (m_array)
            SafeArrayDestroy(m_array);
    }
    ScopedSafeArray(const ScopedSafeArray&) = delete;
    ScopedSafeArray& operator=(const ScopedSafeArray&) = delete;

    SAFEARRAY* Get() const { return m_array; }
    SAFEARRAY** Receive()
    {
        assert(m_array == NULL);
        return &m_array;
    }

private:
    SAFEARRAY* m_array;
};

// SafeArrayAccessData for the holder's lifetime: data() points at the elements until
// destruction calls SafeArrayUnaccessData.
class SafeArrayData
{
public:
    explicit SafeArrayData(SAFEARRAY* array) : m_array(array), m_data(NULL)
    {
        m_hr = SafeArrayAccessData(array, &m_data);
    }
    ~SafeArrayData()
    {
        if (SUCCEEDED(m_hr))
            SafeArrayUnaccessData(m_array);
    }
    SafeArrayData(const SafeArrayData&) = delete;
    SafeArrayData& operator=(const SafeArrayData&) = delete;

    HRESULT result() const { return m_hr; }
    const void* data() const { return m_data; }

private:
    SAFEARRAY* m_array;
    void* m_data;
    HRESULT m_hr;
};

}  // namespace quillet

#endif
