#ifdef _WIN32

#include "trace/system_slot.h"

namespace quillet {

namespace {

thread_slot::ExitRoutine g_routine = NULL;

// Fiber-local storage calls back as a thread ends, which thread-local storage does not.
VOID WINAPI atThreadExit(PVOID value)
{
    if (value && g_routine)
        g_routine(value);
}

}  // namespace

SystemSlot::SystemSlot(thread_slot::ExitRoutine routine)
{
    g_routine = routine;
    m_index = FlsAlloc(atThreadExit);
}

bool SystemSlot::made() const
{
    return m_index != FLS_OUT_OF_INDEXES;
}

void* SystemSlot::get() const
{
    return FlsGetValue(m_index);
}

bool SystemSlot::set(void* value) const
{
    return FlsSetValue(m_index, value) != FALSE;
}

}  // namespace quillet

#endif
