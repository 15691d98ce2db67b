#include "app/logic/memory_tuning.h"

#include <sys/mman.h>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace zt {

namespace {

#ifdef __GLIBC__
// Whether the system gives large pages only where a program asks for them.
bool large_pages_on_request() {
    std::FILE* f = std::fopen("/sys/kernel/mm/transparent_hugepage/enabled", "r");
    if (!f) return false;
    char text[128] = {};
    const std::size_t n = std::fread(text, 1, sizeof text - 1, f);
    std::fclose(f);
    text[n] = '\0';
    return std::strstr(text, "[madvise]") != nullptr;
}

// Grows the main heap by about `reserve` bytes at once and asks for large pages on all of it.
// The room costs address space only until it is used; used, it is faulted in 2 MB at a time
// instead of 4 KB, which is what a fresh process mostly pays for when it builds a large store
// (a download, a first load): a fault costs the same whatever the page's size. The blocks
// taken for growing it are given back at once and stay with the heap (the trim threshold is
// above the reserve).
void reserve_heap_with_large_pages(std::size_t reserve, std::size_t block) {
    if (!large_pages_on_request()) return;
    const auto start = reinterpret_cast<std::uintptr_t>(sbrk(0));
    std::vector<void*> blocks;
    blocks.reserve(reserve / block + 1);
    bool contiguous = true;
    for (std::size_t taken = 0; taken < reserve; taken += block) {
        void* b = std::malloc(block);
        if (!b) break;
        blocks.push_back(b);
        const auto at = reinterpret_cast<std::uintptr_t>(b);
        // Each block comes from the top of the heap as it grows (the first may begin in its
        // old top, which was shorter than a block). A heap that cannot grow in place goes on
        // in mappings of its own: those are left alone.
        if (at + block < start || at + block > reinterpret_cast<std::uintptr_t>(sbrk(0)))
            contiguous = false;
    }
    for (void* b : blocks) std::free(b);
    if (!contiguous || blocks.empty()) return;
    constexpr std::uintptr_t kLarge = std::uintptr_t(2) << 20;
    const std::uintptr_t from = (start + kLarge - 1) & ~(kLarge - 1);
    const std::uintptr_t to = reinterpret_cast<std::uintptr_t>(sbrk(0)) & ~(kLarge - 1);
    if (to > from) madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}
#endif

}  // namespace

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
    // Below the trim threshold with the step added, so the heap keeps all of it.
    constexpr std::size_t kReserve = std::size_t(384) << 20;
    reserve_heap_with_large_pages(kReserve, std::size_t(16) << 20);
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
