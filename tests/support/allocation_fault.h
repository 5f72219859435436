// Makes the N-th operator new of this test program, counted from the moment it is armed, throw
// std::bad_alloc, as memory exhaustion would.
#ifndef QUILLET_TESTS_ALLOCATION_FAULT_H
#define QUILLET_TESTS_ALLOCATION_FAULT_H

void armAllocationFault(int allocation);
// Stops the countdown; allocationFaultFired keeps its answer.
void disarmAllocationFault();
// True when the armed allocation has failed since the last arming.
bool allocationFaultFired();

#endif
