#include "wmi/repository.h"

#include <wbemidl.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <new>

#include "sim/diagnostics.h"

namespace winsim::wmi {

Repository::Repository(MofContent content)
    : m_nameSpace(std::move(content.nameSpace)), m_instances(std::move(content.instances))
{
    for (auto& cls : content.classes)
        m_classes.emplace(foldCase(cls->name), std::move(cls));
}

std::shared_ptr<const ClassDef> Repository::findClass(const std::wstring& className) const
{
    auto it = m_classes.find(foldCase(className));  // classes never change after loading
    return it == m_classes.end() ? nullptr : it->second;
}

std::vector<Repository::Entry> Repository::instancesOf(const ClassDef& cls) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    std::vector<Entry> entries;
    for (size_t i = 0; i < m_instances.size(); ++i)
        if (m_instances[i]->cls->isA(cls))
            entries.push_back({i, m_instances[i]});
    return entries;
}

bool Repository::update(size_t position, std::shared_ptr<const Instance> instance)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (position >= m_instances.size() || m_instances[position]->cls != instance->cls)
        return false;
    m_instances[position] = std::move(instance);
    return true;
}

HRESULT loadRepository(const std::string& path, std::shared_ptr<Repository>* repository)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        if (errno == ENOMEM)
            throw std::bad_alloc();  // not the file's fault
        warn("cannot read the repository '" + path +
             "' (WMISIM_REPOSITORY): " + std::strerror(errno));
        return WBEM_E_FAILED;
    }
    // Read through iterators: a stream operator would turn a failed allocation into a short read.
    std::string content;
    try {
        content.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    } catch (const std::ios_base::failure& error) {
        warn("cannot read the repository '" + path + "' (WMISIM_REPOSITORY): " + error.what());
        return WBEM_E_FAILED;
    }
    try {
        *repository = std::make_shared<Repository>(parseMof(content));
    } catch (const MofError& error) {
        warn(path + ":" + std::to_string(error.line) + ": " + error.what());
        return WBEM_E_INVALID_SYNTAX;
    }
    return S_OK;
}

HRESULT processRepository(std::shared_ptr<Repository>* repository)
{
    struct Loaded
    {
        std::mutex lock;
        bool done = false;
        HRESULT result = S_OK;
        std::shared_ptr<Repository> repository;
    };
    // Loaded once, at the first connection, whatever later calls find in the environment; a
    // load that runs out of memory throws, and the next connection tries again.
    static Loaded* loaded = new Loaded;  // never destroyed: objects may outlive static destructors
    std::lock_guard<std::mutex> guard(loaded->lock);
    if (!loaded->done) {
        const char* path = std::getenv("WMISIM_REPOSITORY");
        if (path && *path)
            loaded->result = loadRepository(path, &loaded->repository);
        else
            loaded->repository = std::make_shared<Repository>();
        loaded->done = true;
    }
    *repository = loaded->repository;
    return loaded->result;
}

}  // namespace winsim::wmi
