#ifdef _WIN32

#include "trace/thread_slot.h"

#include <windows.h>

namespace {

thread_slot::ExitRoutine g_routine = NULL;

// Fiber-local storage calls back as a thread ends, which thread-local storage does not.
VOID WINAPI atThreadExit(PVOID value)
{
    if (value && g_routine)
        g_routine(value);
}

struct Slot
{
    explicit Slot(thread_slot::ExitRoutine routine)
    {
        g_routine = routine;
        index = FlsAlloc(atThreadExit);
    }
    DWORD index;
};

const Slot& slot(thread_slot::ExitRoutine routine)
{
    static const Slot made(routine);
    return made;
}

}  // namespace

namespace thread_slot {

bool make(ExitRoutine routine)
{
    return slot(routine).index != FLS_OUT_OF_INDEXES;
}

void* get()
{
    return FlsGetValue(slot(NULL).index);
}

bool set(void* value)
{
    return FlsSetValue(slot(NULL).index, value) != FALSE;
}

}  // namespace thread_slot

#endif
