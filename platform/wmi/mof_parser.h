// Parses the MOF subset the repository is written in: class declarations (optional qualifier
// lists, a superclass, typed properties, `[]` arrays, embedded classes and `object`) and
// `instance of` declarations whose values are checked against the declared types.
// `#pragma namespace("\\\\.\\root\\cimv2")` names the namespace the repository plays; other
// pragmas are ignored.
#ifndef WINSIM_WMI_MOF_PARSER_H
#define WINSIM_WMI_MOF_PARSER_H

#include <memory>
#include <string>
#include <vector>

#include "wmi/cim_model.h"
#include "wmi/mof_lexer.h"

namespace winsim::wmi {

struct MofContent
{
    std::wstring nameSpace = L"ROOT\\WMI";                   // as named by #pragma namespace
    std::vector<std::shared_ptr<const ClassDef>> classes;    // in declaration order
    std::vector<std::shared_ptr<const Instance>> instances;  // top-level ones, in file order
};

// A namespace path as WMI compares it: "\\\\.\\" or "//./" (the local machine) dropped,
// slashes as backslashes.
std::wstring namespacePath(std::wstring path);

// Throws MofError (with the line) when the text does not parse.
MofContent parseMof(const std::string& utf8);

}  // namespace winsim::wmi

#endif
