#include "app/logic/memory_tuning.h"

#include <sys/mman.h>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <algorithm>

namespace zt {

void tune_allocator(bool one_heap) {
#ifdef __GLIBC__
    constexpr int kHeapStep = 64 << 20;
    // The largest the allocator accepts on 64-bit systems; larger blocks are always mapped.
    constexpr int kMapFrom = 32 << 20;
    constexpr int kKeep = 512 << 20;
    if (one_heap) mallopt(M_ARENA_MAX, 1);
    mallopt(M_TOP_PAD, kHeapStep);
    mallopt(M_MMAP_THRESHOLD, kMapFrom);
    mallopt(M_TRIM_THRESHOLD, kKeep);
#else
    (void)one_heap;
#endif
}

bool HeapPrefault::supported() {
#ifdef MADV_POPULATE_WRITE
    return true;
#else
    return false;
#endif
}

bool HeapPrefault::step(std::uintptr_t frontier) {
#ifdef MADV_POPULATE_WRITE
    // Faulting in never changes a page's contents, so pages the allocator already uses, gives
    // back or has not yet made usable are all harmless (the call fails for the last two, and is
    // tried again later). The pages prepared stay within the 64 MB-aligned block of the latest
    // record, the size and alignment of the allocator's heaps for threads, so no mapping beyond
    // a heap is ever touched.
    constexpr std::uintptr_t kPage = 4096, kStep = std::uintptr_t(1) << 20;
    constexpr std::uintptr_t kAhead = std::uintptr_t(24) << 20;
    constexpr std::uintptr_t kHeapBlock = std::uintptr_t(64) << 20;
    frontier &= ~(kPage - 1);
    const std::uintptr_t limit = std::min(frontier + kAhead, (frontier | (kHeapBlock - 1)) + 1);
    // The heap moved elsewhere (or no record was made yet): start afresh at the latest record.
    if (m_prepared_to < frontier || m_prepared_to > limit) m_prepared_to = frontier;
    if (frontier == 0 || m_prepared_to >= limit) return false;
    const std::uintptr_t n = std::min(kStep, limit - m_prepared_to);
    if (madvise(reinterpret_cast<void*>(m_prepared_to), n, MADV_POPULATE_WRITE) != 0) return false;
    m_prepared_to += n;
    return true;
#else
    (void)frontier;
    return false;
#endif
}

}  // namespace zt
