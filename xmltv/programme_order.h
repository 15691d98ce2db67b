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
// held in all (tens of thousands of channels interleaved) every channel is brought down to two.
//
// A programme that starts before the end of one already handed on comes from a second copy of the
// channel (a file made by joining two grabbers' outputs, or a channel given twice). Where it
// starts in a gap between what was handed on, it fills the gap: it is handed on late, cut at the
// start of the next programme handed on before, and counted in filled_gaps; where it starts
// inside a programme handed on, the first copy keeps that time and it is skipped (counted in
// late). From then on the same holds for the first copy's programmes still held: the second
// copy fills their gaps only, until it passes their end. For this each channel keeps the spans of
// time already handed on: one span for a schedule without gaps, breaks shorter than kShortBreak
// count as covered, and past kMaxSpans the two spans closest together are joined, so memory stays
// small.
class ProgrammeOrder final {
public:
    using Deliver = std::function<void(Programme&)>;
    static constexpr std::size_t kMaxHeld = 200000;
    static constexpr std::size_t kMaxSpans = 256;
    static constexpr std::int64_t kShortBreak = 10 * 60;  // seconds
    ProgrammeOrder(Deliver deliver, std::size_t window = 8, std::size_t max_held = kMaxHeld);

    // `stop` is the finish the file gives, if any.
    void add(Programme programme, std::optional<DateTime> stop);
    // Hands on everything held. The last programme of a channel without stop has no finish and
    // is skipped (counted in open_ended).
    void finish();

    std::int64_t late() const { return m_late; }
    std::int64_t filled_gaps() const { return m_filled_gaps; }
    std::int64_t open_ended() const { return m_open_ended; }
    std::int64_t replaced() const { return m_replaced; }
    std::int64_t zero_length() const { return m_zero_length; }
    std::int64_t stop_before_start() const { return m_stop_before_start; }

private:
    struct Held {
        Programme programme;
        std::optional<DateTime> stop;
    };
    struct Span {
        DateTime from, to;
    };
    struct Queue {
        std::vector<Held> held;            // sorted by start
        std::vector<Held> gap;             // starting in gaps before `released`, sorted by start
        std::optional<DateTime> released;  // finish of the first copy's last one handed on
        std::vector<Span> spans;           // time handed on, sorted, apart from each other
        bool second_copy = false;          // a programme came from before what was handed on
    };
    enum class Place { Held, Gap, Covered };
    Place place(const Queue& queue, DateTime start) const;
    static std::optional<DateTime> held_after(const Queue& queue, DateTime t);
    void hold(std::vector<Held>& list, Held held);
    void release_front(Queue& queue, std::vector<Held>& list);
    void hand_on(Queue& queue, Held& held, std::optional<DateTime> next, bool filling);
    static const Span* span_after(const Queue& queue, DateTime t);
    static void cover(Queue& queue, DateTime from, DateTime to);
    void compact();

    Deliver m_deliver;
    std::size_t m_window;
    std::vector<Queue> m_queues;  // in the order the channels first appear
    QHash<QString, std::size_t> m_index;
    std::size_t m_held = 0;  // programmes in all windows
    std::size_t m_max_held;
    std::size_t m_compact_at;
    std::int64_t m_late = 0;
    std::int64_t m_filled_gaps = 0;
    std::int64_t m_open_ended = 0;
    std::int64_t m_replaced = 0;
    std::int64_t m_zero_length = 0;
    std::int64_t m_stop_before_start = 0;
};

}  // namespace zt::xmltv
