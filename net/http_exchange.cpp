#include "net/http_exchange.h"

#include "core/cp1251.h"
#include "net/body_inflate.h"
#include "net/format_bytes.h"
#include "net/host_port.h"
#include "net/protocol/compressed_body.h"
#include "net/protocol/text_reply.h"
#include "net/request_head.h"
#include "net/response_head.h"
#include "net/socket_link.h"

namespace zt::net {

namespace {

constexpr std::size_t kChunk = 102399;

using Clock = std::chrono::steady_clock;

std::string percent_text(std::uint64_t done, std::uint64_t total) {
    return std::to_string(total ? done * 100 / total : 100) + " %";
}

// The counters are shared by the exchanges of a run, which may run on two threads at once (a
// download and the news page).
void count(std::uint32_t& counter, std::uint32_t bytes) {
    std::atomic_ref<std::uint32_t>(counter).fetch_add(bytes, std::memory_order_relaxed);
}
std::uint32_t counted(std::uint32_t& counter) {
    return std::atomic_ref<std::uint32_t>(counter).load(std::memory_order_relaxed);
}

// "60 с", "10 мин".
std::string duration_text(std::chrono::milliseconds d) {
    const long long seconds = (d.count() + 999) / 1000;
    if (seconds >= 120 && seconds % 60 == 0) return std::to_string(seconds / 60) + " мин";
    return std::to_string(seconds) + " с";
}

// The running exchange: its labels, its link and how it fails.
class Exchange final {
public:
    Exchange(ExchangeContext& ctx, CallSize size)
        : m_ctx(ctx),
          m_link(ctx.limits.slice, [this] { return idle(); }),
          m_length(size == CallSize::small ? ctx.limits.small_deadline : ctx.limits.large_deadline),
          m_deadline(Clock::now() + m_length),
          m_max_received(size == CallSize::small ? ctx.limits.max_small : ctx.limits.max_received),
          m_max_inflated(size == CallSize::small ? ctx.limits.max_small : ctx.limits.max_inflated) {
    }

    bool run(std::string_view path, std::string_view query, bool post, std::string_view body,
             std::string& response, int part, int parts);

private:
    // Between chunks and waits: false once the user cancelled.
    bool idle() {
        m_ctx.view.tick();
        return !cancel_requested(m_ctx.net_cancel);
    }
    bool past_deadline() const { return Clock::now() >= m_deadline; }
    // An operation's own time-out, shortened to what is left of the exchange's deadline (a
    // little beyond it, so that a wait ended by the deadline finds it passed).
    std::chrono::milliseconds within(std::chrono::milliseconds timeout) const {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(m_deadline - Clock::now()) +
                          std::chrono::milliseconds(1);
        return std::max(std::min(timeout, left), std::chrono::milliseconds(1));
    }
    bool fail_deadline() {
        return fail("Ошибка: обмен с сервером не завершен за " + duration_text(m_length) +
                    " (истекло время ожидания).");
    }
    void repaint() { m_ctx.view.show_labels(m_labels); }
    bool fail(const std::string& message) {
        m_ctx.last_error = message;
        m_ctx.ui.show_msg(MsgKind::Error, message);
        return false;
    }
    // A link status other than ok: a cancel fails without a message.
    bool fail_link(SocketLink::Status s) {
        if (s == SocketLink::Status::cancelled) return false;
        if (s == SocketLink::Status::timeout && past_deadline()) return fail_deadline();
        return fail(m_link.error());
    }
    bool send(std::string_view head, bool post, std::string_view body);
    bool receive(std::string& body, std::size_t& head_size);

    ExchangeContext& m_ctx;
    SocketLink m_link;
    ExchangeLabels m_labels;
    std::chrono::milliseconds m_length;
    Clock::time_point m_deadline;
    std::size_t m_max_received;
    std::size_t m_max_inflated;
};

bool Exchange::run(std::string_view path, std::string_view query, bool post, std::string_view body,
                   std::string& response, int part, int parts) {
    response.clear();
    m_ctx.last_error.clear();
    m_labels.part_up = std::to_string(part) + " из " + std::to_string(parts);
    m_labels.bytes_up = "0 байт";
    m_labels.percent_up = "0 %";
    m_labels.part_down = std::to_string(part - 1) + " из " + std::to_string(parts);
    m_labels.bytes_down = "0 байт";
    m_labels.percent_down = "0 %";
    m_labels.bar = 0;
    repaint();

    const RouteResult route = make_route(m_ctx.service, m_ctx.proxy);
    if (!route.error.empty()) return fail(route.error);
    const SocketLink::Status connected = m_link.connect(
        route.route.connect_host, route.route.connect_port, within(m_ctx.limits.connect_timeout));
    if (connected != SocketLink::Status::ok) return fail_link(connected);

    const bool is_post = post && !body.empty();
    const std::string head = build_request_head(route.route, path, query, is_post, body.size());
    if (!send(head, is_post, body)) return false;

    m_labels.part_down = std::to_string(part) + " из " + std::to_string(parts);
    std::string received;
    std::size_t head_size = 0;
    if (!receive(received, head_size)) return false;
    const std::string_view raw = std::string_view(received).substr(head_size);

    if (protocol::is_compressed_body(raw)) {
        const InflateResult r = inflate_body(raw, response, m_max_inflated,
                                             [this] { return idle() && !past_deadline(); });
        if (r == InflateResult::cancelled) return past_deadline() ? fail_deadline() : false;
        if (r == InflateResult::too_large)
            return fail("Ошибка: распакованный ответ сервера больше " +
                        FormatBytes(m_max_inflated) + ".");
        if (r == InflateResult::damaged) return fail("Ошибка: сжатый ответ сервера поврежден.");
    } else {
        response.assign(raw);
    }
    m_ctx.view.show_traffic(FormatBytes(counted(m_ctx.traffic.bytes_sent)),
                            FormatBytes(counted(m_ctx.traffic.bytes_received)));
    return true;
}

bool Exchange::send(std::string_view head, bool post, std::string_view body) {
    const SocketLink::Status s = m_link.send_all(head, within(m_ctx.limits.send_timeout));
    if (s != SocketLink::Status::ok) return fail_link(s);
    count(m_ctx.traffic.bytes_sent, std::uint32_t(head.size()));
    if (!post) {
        m_labels.bytes_up = FormatBytes(head.size());
        m_labels.percent_up = "100 %";
        m_labels.bar = 100;
        repaint();
        return true;
    }
    count(m_ctx.traffic.bytes_sent, std::uint32_t(body.size()));
    for (std::size_t done = 0; done < body.size();) {
        const std::string_view chunk = body.substr(done, kChunk);
        done += chunk.size();
        m_labels.bytes_up = FormatBytes(done);
        m_labels.percent_up = percent_text(done, body.size());
        m_labels.bar = int(done * 100 / body.size());
        repaint();
        if (!idle()) return false;
        if (past_deadline()) return fail_deadline();
        const SocketLink::Status sent = m_link.send_all(chunk, within(m_ctx.limits.send_timeout));
        // A failed send of the body goes on to the response, which then tells what happened;
        // only the cancel and the time-out end the exchange here.
        if (sent == SocketLink::Status::cancelled) return false;
        if (sent == SocketLink::Status::timeout) return fail_link(sent);
        if (sent != SocketLink::Status::ok) break;
    }
    return true;
}

bool Exchange::receive(std::string& received, std::size_t& head_size) {
    const ExchangeLimits& lim = m_ctx.limits;
    HeadReader head;
    SocketLink::Status s = SocketLink::Status::ok;
    // The head: whatever arrives with it already belongs to the body.
    while (!head.complete() && !head.full()) {
        const std::size_t before = received.size();
        s = m_link.receive(received, kMaxHeadSize, within(lim.receive_timeout));
        if (s == SocketLink::Status::closed) break;
        if (s != SocketLink::Status::ok) return fail_link(s);
        head.feed(std::string_view(received).substr(before));
        if (!head.complete() && past_deadline()) return fail_deadline();
    }
    if (head.full()) return fail("Ошибка: HTTP заголовок не может быть полностью прочитан.");
    head_size = head.head().size();
    count(m_ctx.traffic.bytes_received, std::uint32_t(head_size));

    const ResponseHead parsed = parse_response_head(head.head());
    if (!parsed.ok)
        return fail("Ошибка: Сервер вернул ошибочный ответ (" + to_utf8(parsed.status) + ").");
    if (parsed.length_unreadable) return fail("Ошибка: Сервер вернул неверную длину данных.");
    // A declared length too large for a number is larger than any cap.
    const std::uint64_t expected =
        parsed.content_length
            ? head_size + std::min<std::uint64_t>(*parsed.content_length, UINT64_MAX / 2)
            : 0;
    if (expected > m_max_received)
        return fail("Ошибка: ответ сервера больше " + FormatBytes(m_max_received) + ".");
    if (expected) received.reserve(std::size_t(std::min<std::uint64_t>(expected, 64u << 20)));
    m_labels.percent_down = "100 %";
    m_labels.bar = 100;
    repaint();

    // The body ends at its length: whatever follows it (in the same read or later) is not
    // part of the response and is never read.
    if (expected && received.size() > expected) received.resize(std::size_t(expected));
    // Bytes that came with the head count as the first chunk of the body.
    bool first = received.size() > head_size;
    while (first ||
           (s != SocketLink::Status::closed && !(expected && received.size() >= expected))) {
        const std::size_t before = received.size();
        if (!first) {
            const std::size_t want =
                expected ? std::min<std::size_t>(kChunk, std::size_t(expected) - received.size())
                         : kChunk;
            s = m_link.receive(received, want, within(lim.receive_timeout));
            if (s == SocketLink::Status::closed) break;
            if (s != SocketLink::Status::ok) return fail_link(s);
        }
        const std::size_t got = first ? received.size() - head_size : received.size() - before;
        first = false;
        count(m_ctx.traffic.bytes_received, std::uint32_t(got));
        if (received.size() > m_max_received)
            return fail("Ошибка: ответ сервера больше " + FormatBytes(m_max_received) + ".");
        m_labels.bytes_down = FormatBytes(received.size());
        if (expected) {
            m_labels.percent_down = percent_text(received.size(), expected);
            m_labels.bar = int(std::min<std::uint64_t>(received.size() * 100 / expected, 100));
        }
        repaint();
        if (!idle()) return false;
        if (past_deadline()) return fail_deadline();
    }
    if (expected && received.size() < expected)
        return fail("Ошибка: соединение прервано, ответ сервера получен не полностью (" +
                    std::to_string(received.size() - head_size) + " из " +
                    std::to_string(*parsed.content_length) + " байт).");
    return true;
}

}  // namespace

std::string service_text(const Settings& settings) {
    const HostPort hp = service_host(settings);
    return hp.port == 80 ? hp.host : hp.host + ":" + std::to_string(hp.port);
}

bool HttpExchange(ExchangeContext& ctx, std::string_view path, std::string_view query, bool post,
                  std::string_view body, std::string& response, CallSize size, int part,
                  int parts) {
    Exchange exchange(ctx, size);
    const bool ok = exchange.run(path, query, post, body, response, part, parts);
    if (!ok) response.clear();
    return ok;
}

bool ServerTest(ExchangeContext& ctx, std::vector<std::string>* lines) {
    clear_cancel(ctx.net_cancel);
    std::string response;
    if (!HttpExchange(ctx, "/test.htm", "", false, "", response)) return false;
    const std::vector<std::string> got = protocol::split_reply_lines(response);
    if (lines) *lines = got;
    for (const std::string& line : got)
        if (line.find("TEST OK") != std::string::npos) return true;
    return false;
}

}  // namespace zt::net
