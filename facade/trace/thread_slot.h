// The process's one thread-specific slot: a pointer per thread, kept in the system's
// thread-specific storage rather than in thread_local. In a library loaded at run time glibc
// makes a thread's thread_local block on first use, and registers destructors of thread_local
// objects, with allocations that end the process when memory runs out.
#ifndef QUILLET_TRACE_THREAD_SLOT_H
#define QUILLET_TRACE_THREAD_SLOT_H

namespace quillet {

namespace thread_slot {

typedef void (*ExitRoutine)(void* value);

// Makes the slot once; the first call's routine runs with a thread's value, when not null, as
// that thread ends. False when the system has no slot to give.
bool make(ExitRoutine routine);

// The calling thread's value: null before it set one. Only after make succeeded.
void* get();
bool set(void* value);

}  // namespace thread_slot

}  // namespace quillet

#endif
