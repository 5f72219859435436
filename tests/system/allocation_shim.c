/* Preloaded into a scenario process (LD_PRELOAD) to make exactly one heap allocation fail, as
 * exhausted memory would. Every malloc, calloc and realloc is counted while the shim is armed
 * (operator new reaches malloc through libstdc++); the N-th counted one returns NULL.
 * Scenarios drive it through ctypes:
 *   allocation_shim_arm(n)      counts from now on and fails the n-th allocation (0: none)
 *   allocation_shim_disarm()    stops; returns how many allocations were counted
 *   allocation_shim_failed()    1 when the armed allocation was reached and failed
 * Allocations go on to glibc's own allocator, so the shim works only where nothing else
 * (a sanitizer runtime) replaces malloc first; allocation_shim_active() tells. */
#include <errno.h>
#include <stddef.h>
#include <stdlib.h>

/* glibc's allocator under its own names; what the shim hands out is freed by the usual free. */
extern void* __libc_malloc(size_t size);
extern void* __libc_calloc(size_t count, size_t size);
extern void* __libc_realloc(void* memory, size_t size);

static int armed;
static long counted;
static long failing;
static int failed;
static int reached; /* set by the shim's own malloc: the shim is the allocator in use */

/* One more allocation while armed; nonzero when it is the one to fail. */
static int fails_now(void)
{
    reached = 1;
    if (!__atomic_load_n(&armed, __ATOMIC_RELAXED))
        return 0;
    long number = __atomic_add_fetch(&counted, 1, __ATOMIC_RELAXED);
    if (number != failing)
        return 0;
    __atomic_store_n(&failed, 1, __ATOMIC_RELAXED);
    errno = ENOMEM;
    return 1;
}

void* malloc(size_t size)
{
    return fails_now() ? NULL : __libc_malloc(size);
}

void* calloc(size_t count, size_t size)
{
    return fails_now() ? NULL : __libc_calloc(count, size);
}

void* realloc(void* memory, size_t size)
{
    return fails_now() ? NULL : __libc_realloc(memory, size);
}

void allocation_shim_arm(long allocation)
{
    counted = 0;
    failed = 0;
    failing = allocation;
    __atomic_store_n(&armed, 1, __ATOMIC_SEQ_CST);
}

long allocation_shim_disarm(void)
{
    __atomic_store_n(&armed, 0, __ATOMIC_SEQ_CST);
    return counted;
}

int allocation_shim_failed(void)
{
    return failed;
}

/* 1 when the shim is the allocator everyone uses: a malloc through the process's symbol (taken
 * through the global offset table, as any library's call is) reaches the shim. */
int allocation_shim_active(void)
{
    void* (*volatile allocate)(size_t) = malloc;
    reached = 0;
    free(allocate(1));
    return reached;
}
