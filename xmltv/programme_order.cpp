#include "xmltv/programme_order.h"

#include <algorithm>

namespace zt::xmltv {

ProgrammeOrder::ProgrammeOrder(Deliver deliver, std::size_t window)
    : m_deliver(std::move(deliver)), m_window(std::max<std::size_t>(window, 1)) {}

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
    if (stop && *stop <= programme.start) stop.reset();  // a stop before the start says nothing
    auto& held = queue.held;
    const auto at = std::lower_bound(
        held.begin(), held.end(), programme.start,
        [](const Held& h, const DateTime& start) { return h.programme.start < start; });
    if (at != held.end() && at->programme.start == programme.start)
        *at = Held{std::move(programme), stop};
    else
        held.insert(at, Held{std::move(programme), stop});
    while (held.size() > m_window + 1) release_front(queue);
}

// Hands on the earliest programme, which has a successor in the queue.
void ProgrammeOrder::release_front(Queue& queue) {
    Held& first = queue.held.front();
    const DateTime next = queue.held[1].programme.start;
    first.programme.finish = first.stop ? std::min(*first.stop, next) : next;
    queue.released = first.programme.finish;
    m_deliver(first.programme);
    queue.held.erase(queue.held.begin());
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
}

}  // namespace zt::xmltv
