#include "capture/text.h"

namespace quillet::capture {

bool sameName(const std::wstring& a, const std::wstring& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i] >= L'A' && a[i] <= L'Z' ? a[i] + 32 : a[i];
        wchar_t y = b[i] >= L'A' && b[i] <= L'Z' ? b[i] + 32 : b[i];
        if (x != y)
            return false;
    }
    return true;
}

}  // namespace quillet::capture
