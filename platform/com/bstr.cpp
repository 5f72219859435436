// Length-prefixed strings: a 32-bit byte count, the characters, then a NUL character. The
// BSTR points at the characters, so it reads as a plain wide string and may hold NULs.
#include "com/bstr.h"
#include "sim/guarded_call.h"
#include "sim/sim.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace winsim {

namespace {

const size_t kPrefixSize = sizeof(UINT);

UINT* prefixOf(BSTR text)
{
    return reinterpret_cast<UINT*>(reinterpret_cast<char*>(text) - kPrefixSize);
}

// Byte-counted core of every allocation; the characters after `bytes` are zero.
BSTR allocBytes(const void* data, size_t bytes)
{
    if (bytes > UINT_MAX - 2 * sizeof(OLECHAR))
        return nullptr;
    size_t padded = (bytes + sizeof(OLECHAR) - 1) / sizeof(OLECHAR) * sizeof(OLECHAR);
    char* block = static_cast<char*>(std::calloc(1, kPrefixSize + padded + sizeof(OLECHAR)));
    if (block == nullptr)
        return nullptr;
    *reinterpret_cast<UINT*>(block) = static_cast<UINT>(bytes);
    if (data != nullptr)
        std::memcpy(block + kPrefixSize, data, bytes);
    track(Resource::Bstr, +1);
    return reinterpret_cast<BSTR>(block + kPrefixSize);
}

}  // namespace

BSTR allocBstr(const OLECHAR* text, size_t length)
{
    if (length > (UINT_MAX - 2 * sizeof(OLECHAR)) / sizeof(OLECHAR))
        return nullptr;
    return allocBytes(text, length * sizeof(OLECHAR));
}

BSTR copyBstr(BSTR text)
{
    if (text == nullptr)
        return nullptr;
    return allocBytes(text, *prefixOf(text));
}

}  // namespace winsim

using winsim::allocBstr;

extern "C" {

BSTR WINAPI SysAllocString(const OLECHAR* psz)
{
    if (psz == nullptr)
        return nullptr;
    std::wstring_view text(psz);
    bool faulted = winsim::guardedCall(true, [&] {
        HRESULT ignored;
        return winsim::fault("SysAllocString", text, &ignored);
    });
    if (faulted) {
        winsim::logCall([&] { return "SysAllocString " + winsim::toUtf8(text) + " = NULL"; });
        return nullptr;
    }
    return allocBstr(text.data(), text.size());
}

BSTR WINAPI SysAllocStringLen(const OLECHAR* strIn, UINT ui)
{
    return allocBstr(strIn, ui);
}

BSTR WINAPI SysAllocStringByteLen(LPCSTR psz, UINT len)
{
    return winsim::allocBytes(psz, len);
}

INT WINAPI SysReAllocStringLen(BSTR* pbstr, const OLECHAR* psz, UINT len)
{
    if (pbstr == nullptr)
        return FALSE;
    BSTR copy = allocBstr(psz, len);
    if (copy == nullptr)
        return FALSE;
    SysFreeString(*pbstr);
    *pbstr = copy;
    return TRUE;
}

INT WINAPI SysReAllocString(BSTR* pbstr, const OLECHAR* psz)
{
    if (psz == nullptr)
        return SysReAllocStringLen(pbstr, nullptr, 0);
    return SysReAllocStringLen(pbstr, psz, static_cast<UINT>(std::wcslen(psz)));
}

void WINAPI SysFreeString(BSTR bstrString)
{
    if (bstrString == nullptr)
        return;
    std::free(winsim::prefixOf(bstrString));
    winsim::track(winsim::Resource::Bstr, -1);
}

UINT WINAPI SysStringByteLen(BSTR bstr)
{
    return bstr == nullptr ? 0 : *winsim::prefixOf(bstr);
}

UINT WINAPI SysStringLen(BSTR pbstr)
{
    return SysStringByteLen(pbstr) / sizeof(OLECHAR);
}

}  // extern "C"
