// The WQL the service understands: SELECT * FROM <class> [WHERE <property> = <string literal>],
// keywords in any case, literals in double or single quotes with backslash escapes.
#ifndef WINSIM_WMI_WQL_H
#define WINSIM_WMI_WQL_H

#include <string>

namespace winsim::wmi {

struct WqlQuery
{
    std::wstring className;
    bool hasCondition = false;
    std::wstring property;  // of the WHERE clause
    std::wstring literal;   // with its escapes decoded
};

// False for any other query text (WBEM_E_INVALID_QUERY).
bool parseWql(const std::wstring& text, WqlQuery* query);

}  // namespace winsim::wmi

#endif
