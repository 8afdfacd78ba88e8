#pragma once
// Counts every heap allocation of the process through replaced global
// operators new and delete (every form), so tests and benchmarks can check
// that drawing a frame allocates nothing. Linking this in replaces them for
// the whole program (one replacement per program).

// Allocations made so far by this process.
unsigned long long heapAllocations();
