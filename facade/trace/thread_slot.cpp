#include "trace/thread_slot.h"

#include "trace/system_slot.h"

namespace quillet {

namespace {

// Made on the first call, with that call's routine; later routines are ignored.
const SystemSlot& slot(thread_slot::ExitRoutine routine)
{
    static const SystemSlot made(routine);
    return made;
}

}  // namespace

namespace thread_slot {

bool make(ExitRoutine routine)
{
    return slot(routine).made();
}

void* get()
{
    return slot(nullptr).get();
}

bool set(void* value)
{
    return slot(nullptr).set(value);
}

}  // namespace thread_slot

}  // namespace quillet
