#include "wmi/wql.h"

#include <cwctype>

#include "wmi/cim_model.h"

namespace winsim::wmi {

namespace {

class Scanner
{
public:
    explicit Scanner(const std::wstring& text) : m_text(text) {}

    void skipSpace()
    {
        while (m_pos < m_text.size() && std::iswspace(m_text[m_pos]))
            ++m_pos;
    }

    bool atEnd()
    {
        skipSpace();
        return m_pos == m_text.size();
    }

    bool identifier(std::wstring* name)
    {
        skipSpace();
        size_t start = m_pos;
        while (m_pos < m_text.size() &&
               (m_text[m_pos] == L'_' || (m_text[m_pos] < 0x80 && std::iswalnum(m_text[m_pos])) ||
                m_text[m_pos] >= 0x80))
            ++m_pos;
        if (m_pos == start || (m_text[start] >= L'0' && m_text[start] <= L'9'))
            return false;
        *name = m_text.substr(start, m_pos - start);
        return true;
    }

    bool keyword(const wchar_t* word)
    {
        size_t saved = m_pos;
        std::wstring name;
        if (identifier(&name) && equalsNoCase(name, word))
            return true;
        m_pos = saved;
        return false;
    }

    bool punct(wchar_t c)
    {
        skipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }

    // A quoted literal; a backslash takes the next character literally only for \\, \" and \'.
    // Any other escape is malformed, as in WMI, where an undoubled backslash fails the query.
    bool literal(std::wstring* value)
    {
        skipSpace();
        if (m_pos >= m_text.size() || (m_text[m_pos] != L'"' && m_text[m_pos] != L'\''))
            return false;
        wchar_t quote = m_text[m_pos++];
        value->clear();
        while (m_pos < m_text.size()) {
            wchar_t c = m_text[m_pos++];
            if (c == quote)
                return true;
            if (c == L'\\') {
                if (m_pos >= m_text.size())
                    return false;
                c = m_text[m_pos++];
                if (c != L'\\' && c != L'"' && c != L'\'')
                    return false;
            }
            value->push_back(c);
        }
        return false;  // unterminated
    }

private:
    const std::wstring& m_text;
    size_t m_pos = 0;
};

}  // namespace

bool parseWql(const std::wstring& text, WqlQuery* query)
{
    Scanner scanner(text);
    WqlQuery parsed;
    if (!scanner.keyword(L"SELECT") || !scanner.punct(L'*') || !scanner.keyword(L"FROM") ||
        !scanner.identifier(&parsed.className))
        return false;
    if (scanner.keyword(L"WHERE")) {
        parsed.hasCondition = true;
        if (!scanner.identifier(&parsed.property) || !scanner.punct(L'=') ||
            !scanner.literal(&parsed.literal))
            return false;
    }
    if (!scanner.atEnd())
        return false;
    *query = std::move(parsed);
    return true;
}

}  // namespace winsim::wmi
