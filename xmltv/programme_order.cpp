#include "xmltv/programme_order.h"

#include <algorithm>

namespace zt::xmltv {

ProgrammeOrder::ProgrammeOrder(Deliver deliver, std::size_t window, std::size_t max_held)
    : m_deliver(std::move(deliver)),
      m_window(std::max<std::size_t>(window, 1)),
      m_max_held(max_held),
      m_compact_at(max_held) {}

void ProgrammeOrder::add(Programme programme, std::optional<DateTime> stop) {
    auto slot = m_index.constFind(programme.channel_id);
    if (slot == m_index.constEnd()) {
        slot = m_index.insert(programme.channel_id, m_queues.size());
        m_queues.emplace_back();
    }
    Queue& queue = m_queues[*slot];
    // Before what was handed on (and, once that happened, among the first copy's programmes
    // still held), only a start in a gap can still be placed; such programmes wait in a window of
    // their own, so that each learns its successor from its own copy, and are cut where the
    // first copy's next programme starts.
    if (queue.released && programme.start < *queue.released) queue.second_copy = true;
    const Place where = place(queue, programme.start);
    if (where == Place::Covered) {
        ++m_late;
        return;
    }
    const bool in_gap = where == Place::Gap;
    // A stop at or before the start says nothing: the programme is taken as one without stop.
    if (stop && *stop == programme.start) {
        ++m_zero_length;
        stop.reset();
    } else if (stop && *stop < programme.start) {
        ++m_stop_before_start;
        stop.reset();
    }
    auto& list = in_gap ? queue.gap : queue.held;
    hold(list, Held{std::move(programme), stop});
    while (list.size() > m_window + 1) release_front(queue, list);
    if (m_held > m_compact_at) compact();
}

ProgrammeOrder::Place ProgrammeOrder::place(const Queue& queue, DateTime start) const {
    if (!queue.second_copy) return Place::Held;
    if (const Span* span = span_after(queue, start); span && span->from <= start)
        return Place::Covered;
    if (queue.released && start < *queue.released) return Place::Gap;
    // Among the first copy's programmes still held, each taken to end at its stop or at the
    // next one's start; the last one without stop ends where a later programme starts.
    const auto& held = queue.held;
    auto after =
        std::upper_bound(held.begin(), held.end(), start,
                         [](const DateTime& t, const Held& h) { return t < h.programme.start; });
    if (after == held.begin()) return held.empty() ? Place::Held : Place::Gap;
    const Held& before = *std::prev(after);
    if (before.programme.start == start) return Place::Covered;
    std::optional<DateTime> end = before.stop;
    if (after != held.end() && (!end || after->programme.start < *end))
        end = after->programme.start;
    if (!end) return Place::Held;  // past the last one, which has no stop
    if (start < *end) return Place::Covered;
    return after == held.end() ? Place::Held : Place::Gap;
}

// The start of the first held programme of the first copy after t.
std::optional<DateTime> ProgrammeOrder::held_after(const Queue& queue, DateTime t) {
    const auto it =
        std::upper_bound(queue.held.begin(), queue.held.end(), t,
                         [](const DateTime& v, const Held& h) { return v < h.programme.start; });
    if (it == queue.held.end()) return std::nullopt;
    return it->programme.start;
}

void ProgrammeOrder::hold(std::vector<Held>& list, Held held) {
    const auto at = std::lower_bound(
        list.begin(), list.end(), held.programme.start,
        [](const Held& h, const DateTime& start) { return h.programme.start < start; });
    if (at != list.end() && at->programme.start == held.programme.start) {
        *at = std::move(held);
        ++m_replaced;
        return;
    }
    list.insert(at, std::move(held));
    ++m_held;
}

// With very many channels the windows together grow large: each channel is brought down to the
// smallest window (the programme that waits for its successor and one more, so that neighbours
// in the wrong order are still put right). The next compaction waits until as many
// again are held, so a file with more channels than the limit does not compact at every step.
void ProgrammeOrder::compact() {
    for (auto& queue : m_queues) {
        for (auto* list : {&queue.held, &queue.gap}) {
            while (list->size() > 2) release_front(queue, *list);
            list->shrink_to_fit();
        }
    }
    m_compact_at = std::max(m_max_held, 2 * m_held);
}

// Hands on the earliest programme of the list, which has a successor there.
void ProgrammeOrder::release_front(Queue& queue, std::vector<Held>& list) {
    const bool gap = &list == &queue.gap;
    DateTime next = list[1].programme.start;
    if (gap)
        if (const auto held = held_after(queue, list.front().programme.start))
            next = std::min(next, *held);
    hand_on(queue, list.front(), next, gap);
    list.erase(list.begin());
    --m_held;
}

// The finish is the earliest of the programme's stop, the next start in the queue and the start
// of the next span already handed on (a programme filling a gap ends where the gap ends).
void ProgrammeOrder::hand_on(Queue& queue, Held& held, std::optional<DateTime> next, bool filling) {
    Programme& p = held.programme;
    std::optional<DateTime> finish = held.stop;
    if (next && (!finish || *next < *finish)) finish = next;
    if (const Span* span = span_after(queue, p.start)) {
        if (span->from <= p.start) {  // covered meanwhile by another programme of the gap
            ++m_late;
            return;
        }
        if (!finish || span->from < *finish) finish = span->from;
    }
    if (!finish) {
        ++m_open_ended;
        return;
    }
    p.finish = *finish;
    // `released` follows the first copy only, whose programmes are handed on in order.
    if (filling)
        ++m_filled_gaps;
    else
        queue.released = p.finish;
    cover(queue, p.start, p.finish);
    m_deliver(p);
}

// The first span that ends after t (t lies inside it when it starts at or before t).
const ProgrammeOrder::Span* ProgrammeOrder::span_after(const Queue& queue, DateTime t) {
    const auto it = std::upper_bound(queue.spans.begin(), queue.spans.end(), t,
                                     [](DateTime v, const Span& s) { return v < s.to; });
    return it == queue.spans.end() ? nullptr : &*it;
}

void ProgrammeOrder::cover(Queue& queue, DateTime from, DateTime to) {
    auto& spans = queue.spans;
    auto near = [](DateTime a, DateTime b) { return b.seconds() - a.seconds() < kShortBreak; };
    // The usual case: the programme continues the latest span.
    if (!spans.empty() && spans.back().from <= from && near(spans.back().to, from)) {
        spans.back().to = std::max(spans.back().to, to);
        return;
    }
    auto at = std::lower_bound(spans.begin(), spans.end(), from,
                               [](const Span& s, DateTime v) { return s.from < v; });
    at = spans.insert(at, Span{from, to});
    // Join the neighbours it touches or comes close to.
    while (at != spans.begin() && near(std::prev(at)->to, at->from)) {
        std::prev(at)->to = std::max(std::prev(at)->to, at->to);
        at = std::prev(spans.erase(at));
    }
    while (std::next(at) != spans.end() && near(at->to, std::next(at)->from)) {
        at->to = std::max(at->to, std::next(at)->to);
        spans.erase(std::next(at));
    }
    if (spans.size() <= kMaxSpans) return;
    // Too many gaps to remember: the narrowest one is taken as covered.
    std::size_t narrowest = 0;
    for (std::size_t i = 1; i + 1 < spans.size(); ++i)
        if (spans[i + 1].from.seconds() - spans[i].to.seconds() <
            spans[narrowest + 1].from.seconds() - spans[narrowest].to.seconds())
            narrowest = i;
    spans[narrowest].to = std::max(spans[narrowest].to, spans[narrowest + 1].to);
    spans.erase(spans.begin() + std::ptrdiff_t(narrowest) + 1);
}

void ProgrammeOrder::finish() {
    for (auto& queue : m_queues) {
        for (auto* list : {&queue.held, &queue.gap}) {
            while (list->size() > 1) release_front(queue, *list);
            if (!list->empty())
                hand_on(queue, list->front(), held_after(queue, list->front().programme.start),
                        list == &queue.gap);
            list->clear();
        }
        queue.spans.clear();
        queue.spans.shrink_to_fit();
    }
    m_held = 0;
}

}  // namespace zt::xmltv
