#pragma once
// Counts every heap allocation of the process through a replaced global
// operator new, so tests and benchmarks can check that drawing a frame
// allocates nothing. Linking this in replaces operator new for the whole
// program (one replacement per program).

// Allocations made so far by this process.
unsigned long long heapAllocations();
