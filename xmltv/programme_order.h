#pragma once

#include <QHash>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "xmltv/xmltv_reader.h"

namespace zt::xmltv {

// Puts each channel's programmes in rising start order and settles their finish before they
// are handed on:
// - a programme without stop ends where the channel's next programme starts;
// - when programmes overlap, the later start wins and the earlier programme ends there; of two
//   with the same start the one later in the file replaces the other (counted in replaced);
// - a stop at the start (zero length) or before it is read as no stop (each counted).
// Each channel keeps a small window of programmes sorted by start (files are normally sorted
// within a channel, but channels may be interleaved); the earliest one is handed on once the
// window holds more than `window` after it, so memory is bounded by channels x window however
// long the file is, and local disorder inside the window is sorted out. Past `max_held` programmes
// held in all (tens of thousands of channels interleaved) every channel is brought down to two. A
// programme that starts before the end of one already handed on cannot be placed any more: it is
// skipped and counted.
class ProgrammeOrder final {
public:
    using Deliver = std::function<void(Programme&)>;
    static constexpr std::size_t kMaxHeld = 200000;
    ProgrammeOrder(Deliver deliver, std::size_t window = 8, std::size_t max_held = kMaxHeld);

    // `stop` is the finish the file gives, if any.
    void add(Programme programme, std::optional<DateTime> stop);
    // Hands on everything held. The last programme of a channel without stop has no finish and
    // is skipped (counted in open_ended).
    void finish();

    std::int64_t late() const { return m_late; }
    std::int64_t open_ended() const { return m_open_ended; }
    std::int64_t replaced() const { return m_replaced; }
    std::int64_t zero_length() const { return m_zero_length; }
    std::int64_t stop_before_start() const { return m_stop_before_start; }

private:
    struct Held {
        Programme programme;
        std::optional<DateTime> stop;
    };
    struct Queue {
        std::vector<Held> held;            // sorted by start
        std::optional<DateTime> released;  // finish of the last programme handed on
    };
    void release_front(Queue& queue);
    void compact();

    Deliver m_deliver;
    std::size_t m_window;
    std::vector<Queue> m_queues;  // in the order the channels first appear
    QHash<QString, std::size_t> m_index;
    std::size_t m_held = 0;  // programmes in all windows
    std::size_t m_max_held;
    std::size_t m_compact_at;
    std::int64_t m_late = 0;
    std::int64_t m_open_ended = 0;
    std::int64_t m_replaced = 0;
    std::int64_t m_zero_length = 0;
    std::int64_t m_stop_before_start = 0;
};

}  // namespace zt::xmltv
