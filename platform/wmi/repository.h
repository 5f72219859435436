// The repository the service reads and writes: the classes and instances of one MOF file.
// Shared by every connection of the process and safe to use from several threads.
#ifndef WINSIM_WMI_REPOSITORY_H
#define WINSIM_WMI_REPOSITORY_H

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "wmi/mof_parser.h"

namespace winsim::wmi {

class Repository
{
public:
    Repository() = default;
    explicit Repository(MofContent content);

    struct Entry
    {
        size_t position;  // identifies the instance for a later update
        std::shared_ptr<const Instance> instance;
    };

    // The namespace the repository plays (ROOT\WMI unless its MOF names another).
    const std::wstring& nameSpace() const { return m_nameSpace; }

    // The class of that name (case-insensitive); null when the repository does not know it.
    std::shared_ptr<const ClassDef> findClass(const std::wstring& className) const;

    // Snapshot of the instances of the class and of classes derived from it, in repository order.
    std::vector<Entry> instancesOf(const ClassDef& cls) const;

    // Replaces the instance at `position` (of the same class); false when there is none.
    bool update(size_t position, std::shared_ptr<const Instance> instance);

private:
    std::wstring m_nameSpace = L"ROOT\\WMI";
    mutable std::mutex m_lock;
    std::unordered_map<std::wstring, std::shared_ptr<const ClassDef>> m_classes;  // by folded name
    std::vector<std::shared_ptr<const Instance>> m_instances;
};

// Reads and parses a MOF file. On failure writes one message naming the file (and the line
// and what was expected, for a syntax error) to standard error and returns
// WBEM_E_INVALID_SYNTAX, or WBEM_E_FAILED when the file cannot be read. Throws std::bad_alloc
// when memory runs out.
HRESULT loadRepository(const std::string& path, std::shared_ptr<Repository>* repository);

// The process's repository: WMISIM_REPOSITORY, loaded at the first call (an empty one when the
// variable is unset). Later calls return the same result; after std::bad_alloc the next call
// loads it again.
HRESULT processRepository(std::shared_ptr<Repository>* repository);

}  // namespace winsim::wmi

#endif
