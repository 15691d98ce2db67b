#pragma once

#include <cstddef>
#include <cstdint>

namespace zt {

// How the program and zorvan-cli use the allocator, set in one place at start, before any
// data is read.
//
// A large store is hundreds of thousands of records, and every save builds and frees bodies
// of tens of megabytes. With the allocator's defaults the heap grows in 128 KB steps (a
// system call each) and is given back to the system after every save, so the next save or
// download faults the same pages in again. Tuned, the heap grows in 64 MB steps and keeps
// what it has once grown; allocations up to 32 MB come from it instead of mappings of their
// own. Room taken but not used costs address space only, never memory.
//
// Where the system gives large pages on request, the first 384 MB of the heap are taken at
// once and asked to be backed by 2 MB pages: a fresh process building a large store (a
// download, the first load) otherwise spends most of its time faulting in 4 KB pages one by
// one, and a fault costs about the same whatever the page's size.
//
// `one_heap`: every thread allocates from the main heap (the program, where the data files
// are read on a thread of their own while the waiting thread prepares the memory ahead of it:
// a heap of a thread of its own grows a page at a time, leaving nothing to prepare).
void tune_allocator(bool one_heap);

// Faults in the memory just beyond the records a reading thread is making, a step at a time,
// so that thread finds the pages ready instead of stopping for each. The records are made one
// after the other at the top of the main heap.
class HeapPrefault final {
public:
    // One step for the latest record at `frontier`: faults in up to 1 MB of the pages up to
    // 24 MB beyond it. False when there is nothing to do for now (no record yet, far enough
    // ahead, or beyond the heap's usable part): the caller waits a moment and tries again.
    bool step(std::uintptr_t frontier);
    // Whether this system can fault pages in ahead at all.
    static bool supported();

private:
    std::uintptr_t m_prepared_to = 0;
};

}  // namespace zt
