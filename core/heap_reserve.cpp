#include "core/heap_reserve.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#if defined(__GLIBC__) && defined(__linux__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#define ZT_HEAP_RESERVE 1
#endif

namespace zt {

#ifdef ZT_HEAP_RESERVE
namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;
constexpr std::size_t kMaxReserve = std::size_t(1) << 30;
// glibc's own growth step of the heap.
constexpr int kDefaultTopPad = 128 * 1024;

char* heap_end() {
    return static_cast<char*>(sbrk(0));
}

}  // namespace

HeapReserve::HeapReserve(std::size_t bytes) {
    if (bytes < 4 * kHugePage) return;
    bytes = std::min(bytes, kMaxReserve);
    if (mallopt(M_TOP_PAD, int(bytes)) != 1) return;
    m_active = true;
    // Small blocks come from the top of the heap; taking a few until it grows makes it grow
    // now, by the whole step. Freed again they leave the room at the top (a trim keeps the
    // step), untouched.
    char* const before = heap_end();
    constexpr int kMaxBlocks = 16;
    void* blocks[kMaxBlocks];
    int taken = 0;
    while (taken < kMaxBlocks && heap_end() == before) {
        blocks[taken] = std::malloc(64 * 1024);
        if (!blocks[taken]) break;
        ++taken;
    }
    char* const after = heap_end();
    for (int i = 0; i < taken; ++i) std::free(blocks[i]);
    if (before == reinterpret_cast<char*>(-1) || after <= before) return;
    const auto from = (reinterpret_cast<std::uintptr_t>(before) + kHugePage - 1) & ~(kHugePage - 1);
    const auto to = reinterpret_cast<std::uintptr_t>(after) & ~(kHugePage - 1);
    // A refusal (huge pages switched off) only leaves the ordinary pages.
    if (to > from) madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}

HeapReserve::~HeapReserve() {
    if (m_active) mallopt(M_TOP_PAD, kDefaultTopPad);
}

#else

HeapReserve::HeapReserve(std::size_t) {}
HeapReserve::~HeapReserve() = default;

#endif

}  // namespace zt
