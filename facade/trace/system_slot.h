// One slot of the system's thread-specific storage (a POSIX key, a Windows fiber-local index),
// made by the constructor and never freed: the trace uses it until the process ends. Each
// platform's source defines it; thread_slot makes the process's one instance.
#ifndef QUILLET_TRACE_SYSTEM_SLOT_H
#define QUILLET_TRACE_SYSTEM_SLOT_H

#include "trace/thread_slot.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#endif

namespace quillet {

class SystemSlot
{
public:
    // routine runs with a thread's value, when not null, as that thread ends.
    explicit SystemSlot(thread_slot::ExitRoutine routine);
    SystemSlot(const SystemSlot&) = delete;
    SystemSlot& operator=(const SystemSlot&) = delete;

    // False when the system had no slot to give; the others are then not to be called.
    bool made() const;
    void* get() const;
    bool set(void* value) const;

private:
#ifdef _WIN32
    DWORD m_index;
#else
    pthread_key_t m_key;
    bool m_made;
#endif
};

}  // namespace quillet

#endif
