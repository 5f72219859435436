#include "sim/fault_rules.h"
#include "sim/sim.h"
#include "sim/utf8.h"

#include <cctype>
#include <cstdlib>
#include <cwctype>

namespace winsim {

namespace {

const char* const kFaultSites[] = {
    "CoInitializeEx",
    "CoInitializeSecurity",
    "CoCreateInstance",
    "ConnectServer",
    "CoSetProxyBlanket",
    "ExecQuery",
    "Next",
    "Get",
    "Put",
    "PutInstance",
    "SafeArrayGetElement",
    "SafeArrayAccessData",
    "SysAllocString",
};

bool isFaultSite(const std::string& site)
{
    for (const char* known : kFaultSites)
        if (site == known)
            return true;
    return false;
}

std::string trimmed(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool parseCount(const std::string& digits, unsigned long* value)
{
    return parseDigits(digits, 10, 9, value);
}

bool sameText(const std::wstring& a, std::wstring_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i])))
            return false;
    return true;
}

// Parses one entry; returns an empty string or what is wrong with it.
std::string parseEntry(const std::string& entry, FaultRule* rule)
{
    // The result never holds '=', a selector might: split at the last one.
    size_t equals = entry.rfind('=');
    if (equals == std::string::npos)
        return "missing '=Result'";
    std::string left = trimmed(entry.substr(0, equals));
    std::string result = trimmed(entry.substr(equals + 1));

    size_t hash = left.rfind('#');
    if (hash != std::string::npos) {
        if (!parseCount(left.substr(hash + 1), &rule->nth) || rule->nth == 0)
            return "'#" + left.substr(hash + 1) + "' is not a call number (1, 2, ...)";
        left = left.substr(0, hash);
    }
    size_t colon = left.find(':');
    std::string site = left.substr(0, colon);
    if (colon != std::string::npos) {
        rule->hasSelector = true;
        rule->selector = fromUtf8(left.substr(colon + 1));
    }

    if (site == "Delay") {
        rule->isDelay = true;
        rule->site = toUtf8(rule->selector);
        rule->hasSelector = false;
        rule->selector.clear();
        if (!isFaultSite(rule->site))
            return "Delay needs the site to delay as its selector (Delay:ExecQuery=50)";
        if (!parseCount(result, &rule->milliseconds))
            return "'" + result + "' is not a number of milliseconds";
        return std::string();
    }
    rule->site = site;
    if (!isFaultSite(site))
        return "unknown site '" + site + "'";
    if (!parseHresult(result, &rule->result))
        return "'" + result +
               "' is not an HRESULT (hex such as 0x80041001, or a name such as WBEM_E_FAILED)";
    return std::string();
}

}  // namespace

bool parseDigits(const std::string& digits, int base, size_t maxDigits, unsigned long* value)
{
    if (digits.empty() || digits.size() > maxDigits)
        return false;
    for (char c : digits) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (!(base == 16 ? std::isxdigit(byte) : std::isdigit(byte)))
            return false;
    }
    *value = std::strtoul(digits.c_str(), nullptr, base);
    return true;
}

ParsedFaults parseFaults(const std::string& text)
{
    ParsedFaults parsed;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos)
            comma = text.size();
        std::string entry = trimmed(text.substr(start, comma - start));
        start = comma + 1;
        if (entry.empty())
            continue;
        FaultRule rule;
        std::string problem = parseEntry(entry, &rule);
        if (problem.empty())
            parsed.rules.push_back(rule);
        else
            parsed.errors.push_back("WMISIM_FAULTS entry '" + entry + "' ignored: " + problem);
    }
    return parsed;
}

FaultSelector::FaultSelector(std::vector<FaultRule> rules)
    : m_rules(std::move(rules)), m_seen(m_rules.size(), 0)
{}

const FaultRule* FaultSelector::next(bool isDelay, std::string_view site,
                                     std::wstring_view selector)
{
    // Every matching rule counts the call, whether or not an earlier rule fires for it.
    const FaultRule* firing = nullptr;
    for (size_t i = 0; i < m_rules.size(); ++i) {
        const FaultRule& rule = m_rules[i];
        if (rule.isDelay != isDelay || rule.site != site)
            continue;
        if (rule.hasSelector && !sameText(rule.selector, selector))
            continue;
        unsigned long call = ++m_seen[i];
        if (firing == nullptr && (rule.nth == 0 || rule.nth == call))
            firing = &rule;
    }
    return firing;
}

bool FaultSelector::fault(std::string_view site, std::wstring_view selector, HRESULT* result)
{
    const FaultRule* rule = next(false, site, selector);
    if (rule == nullptr)
        return false;
    *result = rule->result;
    return true;
}

unsigned long FaultSelector::delay(std::string_view site)
{
    const FaultRule* rule = next(true, site, std::wstring_view());
    return rule == nullptr ? 0 : rule->milliseconds;
}

}  // namespace winsim
