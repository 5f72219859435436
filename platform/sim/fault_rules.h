// WMISIM_FAULTS: parsing of "Site[:Selector][#N]=Result" entries and their selection.
//   Site      a platform call (ExecQuery, Get, ...) or Delay, whose selector is the site to
//             delay and whose result is a number of milliseconds.
//   Selector  the class, property, InstanceName or index the call is about; compared without
//             regard to case. Without one, every call of the site matches.
//   #N        only the N-th matching call (1-based) fails; without it every matching call does.
//   Result    an HRESULT in hex (0x80041001) or by name (WBEM_E_FAILED).
// A bad entry is reported and ignored; the others still apply.
#ifndef WINSIM_FAULT_RULES_H
#define WINSIM_FAULT_RULES_H

#include <windows.h>
#include <string>
#include <string_view>
#include <vector>

namespace winsim {

struct FaultRule
{
    std::string site;  // for a delay, the site being delayed
    bool isDelay = false;
    bool hasSelector = false;
    std::wstring selector;
    unsigned long nth = 0;  // 0: every matching call
    HRESULT result = S_OK;
    unsigned long milliseconds = 0;
};

struct ParsedFaults
{
    std::vector<FaultRule> rules;
    std::vector<std::string> errors;  // one message per rejected entry, naming it
};

ParsedFaults parseFaults(const std::string& text);

// Digits alone (no sign, space or prefix), at most maxDigits of them, in base 10 or 16; the
// callers' limits keep the value within 32 bits.
bool parseDigits(const std::string& digits, int base, size_t maxDigits, unsigned long* value);

// "0x" and up to eight hex digits, or a known name (S_OK, E_FAIL, WBEM_E_NOT_FOUND, ...).
bool parseHresult(const std::string& text, HRESULT* value);

// Picks the rule for each call and counts the matching calls of every rule for "#N".
class FaultSelector
{
public:
    explicit FaultSelector(std::vector<FaultRule> rules = {});

    // The first rule whose call it is; false when none fires.
    bool fault(std::string_view site, std::wstring_view selector, HRESULT* result);
    // Milliseconds to wait before this call of site; 0 when none.
    unsigned long delay(std::string_view site);

private:
    const FaultRule* next(bool isDelay, std::string_view site, std::wstring_view selector);

    std::vector<FaultRule> m_rules;
    std::vector<unsigned long> m_seen;
};

}  // namespace winsim

#endif
