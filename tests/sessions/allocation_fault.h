// Makes the N-th operator new of this test program, counted from the moment it is armed, throw
// std::bad_alloc, as memory exhaustion would.
#ifndef QUILLET_TESTS_ALLOCATION_FAULT_H
#define QUILLET_TESTS_ALLOCATION_FAULT_H

// 0 disarms.
void armAllocationFault(int allocation);
// True when the armed allocation has failed since the last arming.
bool allocationFaultFired();

#endif
