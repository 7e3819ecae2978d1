// Injected allocation failure for the GUI tests: this test program replaces
// operator new, so the browser code linked into it can be made to run out of
// memory at any one allocation.
#pragma once

// The n-th allocation from now (1 = the next) throws std::bad_alloc, once.
void failAllocationAfter(long n);

// Whether the armed failure has happened since failAllocationAfter.
bool allocationFailed();

// Disarms the failure.
void stopFailingAllocations();
