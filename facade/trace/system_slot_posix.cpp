#ifndef _WIN32

#include "trace/system_slot.h"

namespace quillet {

SystemSlot::SystemSlot(thread_slot::ExitRoutine routine)
    : m_made(pthread_key_create(&m_key, routine) == 0)
{}

bool SystemSlot::made() const
{
    return m_made;
}

void* SystemSlot::get() const
{
    return pthread_getspecific(m_key);
}

bool SystemSlot::set(void* value) const
{
    return pthread_setspecific(m_key, value) == 0;
}

}  // namespace quillet

#endif
