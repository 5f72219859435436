#include "allocation_fault.h"

#include <cstdlib>
#include <new>

namespace {
int g_countdown = 0;
bool g_fired = false;
}  // namespace

void armAllocationFault(int allocation)
{
    g_countdown = allocation;
    g_fired = false;
}

void disarmAllocationFault()
{
    g_countdown = 0;
}

bool allocationFaultFired()
{
    return g_fired;
}

void* operator new(std::size_t size)
{
    if (g_countdown > 0 && --g_countdown == 0) {
        g_fired = true;
        throw std::bad_alloc();
    }
    void* memory = std::malloc(size != 0 ? size : 1);
    if (memory == NULL)
        throw std::bad_alloc();
    return memory;
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}
