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
    if (queue.released && programme.start < *queue.released) {
        ++m_late;
        return;
    }
    // A stop at or before the start says nothing: the programme is taken as one without stop.
    if (stop && *stop == programme.start) {
        ++m_zero_length;
        stop.reset();
    } else if (stop && *stop < programme.start) {
        ++m_stop_before_start;
        stop.reset();
    }
    auto& held = queue.held;
    const auto at = std::lower_bound(
        held.begin(), held.end(), programme.start,
        [](const Held& h, const DateTime& start) { return h.programme.start < start; });
    if (at != held.end() && at->programme.start == programme.start) {
        *at = Held{std::move(programme), stop};
        ++m_replaced;
        return;
    }
    held.insert(at, Held{std::move(programme), stop});
    ++m_held;
    while (held.size() > m_window + 1) release_front(queue);
    if (m_held > m_compact_at) compact();
}

// With very many channels the windows together grow large: each channel is brought down to the
// smallest window (the programme that waits for its successor and one more, so that neighbours
// in the wrong order are still put right). The next compaction waits until as many
// again are held, so a file with more channels than the limit does not compact at every step.
void ProgrammeOrder::compact() {
    for (auto& queue : m_queues) {
        while (queue.held.size() > 2) release_front(queue);
        queue.held.shrink_to_fit();
    }
    m_compact_at = std::max(m_max_held, 2 * m_held);
}

// Hands on the earliest programme, which has a successor in the queue.
void ProgrammeOrder::release_front(Queue& queue) {
    Held& first = queue.held.front();
    const DateTime next = queue.held[1].programme.start;
    first.programme.finish = first.stop ? std::min(*first.stop, next) : next;
    queue.released = first.programme.finish;
    m_deliver(first.programme);
    queue.held.erase(queue.held.begin());
    --m_held;
}

void ProgrammeOrder::finish() {
    for (auto& queue : m_queues) {
        while (queue.held.size() > 1) release_front(queue);
        if (queue.held.empty()) continue;
        Held& last = queue.held.front();
        if (last.stop) {
            last.programme.finish = *last.stop;
            queue.released = last.programme.finish;
            m_deliver(last.programme);
        } else {
            ++m_open_ended;
        }
        queue.held.clear();
    }
    m_held = 0;
}

}  // namespace zt::xmltv
