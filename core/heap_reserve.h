#pragma once

#include <cstddef>

namespace zt {

// While it lives, the main heap grows in steps of at least `bytes`, and the room it grows by
// now is backed with huge pages where the system offers them on request (transparent huge
// pages in "madvise" mode), so building a store of many small records costs a page fault per
// 2 MB rather than per 4 KB. Where the platform offers neither it does nothing. Afterwards the
// growth step is set back, so later frees give unused room back to the system as before.
class HeapReserve final {
public:
    explicit HeapReserve(std::size_t bytes);
    ~HeapReserve();
    HeapReserve(const HeapReserve&) = delete;
    HeapReserve& operator=(const HeapReserve&) = delete;

private:
    bool m_active = false;
};

}  // namespace zt
