#ifndef _WIN32

#include "trace/thread_slot.h"

#include <pthread.h>

namespace {

struct Slot
{
    explicit Slot(thread_slot::ExitRoutine routine) : made(pthread_key_create(&key, routine) == 0)
    {}
    pthread_key_t key;
    bool made;
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
    return slot(routine).made;
}

void* get()
{
    return pthread_getspecific(slot(nullptr).key);
}

bool set(void* value)
{
    return pthread_setspecific(slot(nullptr).key, value) == 0;
}

}  // namespace thread_slot

#endif
