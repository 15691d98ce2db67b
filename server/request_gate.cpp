#include "server/request_gate.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "server/access_log.h"

namespace zt::server {

namespace {

long long now_ms() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

const char* reason(int status) {
    switch (status) {
        case 400:
            return "Bad Request";
        case 408:
            return "Request Timeout";
        case 413:
            return "Payload Too Large";
        case 415:
            return "Unsupported Media Type";
        case 431:
            return "Request Header Fields Too Large";
        case 501:
            return "Not Implemented";
        default:
            return "Service Unavailable";
    }
}

// The client's address as accept gave it.
std::string peer_address(const sockaddr_storage& addr, socklen_t len) {
    // The usual case without the resolver library's general path.
    if (addr.ss_family == AF_INET) {
        char host[INET_ADDRSTRLEN];
        const auto& in = reinterpret_cast<const sockaddr_in&>(addr);
        if (::inet_ntop(AF_INET, &in.sin_addr, host, sizeof host)) return host;
    }
    char host[NI_MAXHOST];
    if (getnameinfo(reinterpret_cast<const sockaddr*>(&addr), len, host, sizeof host, nullptr, 0,
                    NI_NUMERICHOST) != 0)
        return "-";
    return host;
}

void close_connection(int fd) {
    ::shutdown(fd, SHUT_RDWR);
    ::close(fd);
}

}  // namespace

struct RequestGate::Conn final {
    int fd = -1;
    RequestReader reader;
    long long accepted = 0;
    long long head_done = 0;  // when the head was complete
    long long last = 0;       // the last byte received
    std::size_t counted = 0;  // bytes of the reader counted in m_reading_bytes
    std::string address;
};

RequestGate::RequestGate(int listen_fd, GateLimits limits, Dispatch dispatch, bool log)
    : m_listen(listen_fd),
      m_wake(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)),
      m_limits(limits),
      m_dispatch(std::move(dispatch)),
      m_log(log) {}

RequestGate::~RequestGate() {
    if (m_wake >= 0) ::close(m_wake);
}

void RequestGate::stop() {
    m_stopping = true;
    const std::uint64_t one = 1;
    if (m_wake >= 0) [[maybe_unused]]
        auto n = ::write(m_wake, &one, sizeof one);
}

void RequestGate::refuse(Conn& c, int status) {
    const std::string reply = "HTTP/1.0 " + std::to_string(status) + " " + reason(status) +
                              "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    // One try: a client that does not take a few bytes gets nothing more.
    [[maybe_unused]] const auto n =
        ::send(c.fd, reply.data(), reply.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (m_log) {
        const std::string& line = c.reader.request_line();
        log_request(c.address, line.empty() ? std::string_view("-") : line, status, 0,
                    now_ms() - c.accepted);
    }
    close_connection(c.fd);
    c.fd = -1;
}

void RequestGate::forget(Conn& c) {
    m_reading_bytes -= c.counted;
    c.counted = 0;
}

// Reads what has arrived; false when the connection has gone (closed, refused or dispatched).
bool RequestGate::read_from(Conn& c) {
    char buf[65536];
    const ssize_t n = ::recv(c.fd, buf, sizeof buf, MSG_DONTWAIT);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return true;
    if (n <= 0) {
        forget(c);
        close_connection(c.fd);
        c.fd = -1;
        return false;
    }
    c.last = now_ms();
    const auto before = c.reader.state();
    const auto state = c.reader.feed({buf, std::size_t(n)});
    if (before == RequestReader::State::Head && state != RequestReader::State::Head)
        c.head_done = c.last;
    m_reading_bytes -= c.counted;
    c.counted = c.reader.held();
    m_reading_bytes += c.counted;
    if (state == RequestReader::State::Refused) {
        forget(c);
        refuse(c, c.reader.status());
        return false;
    }
    if (m_reading_bytes + m_dispatched > m_limits.budget) {
        forget(c);
        refuse(c, 503);
        return false;
    }
    if (state != RequestReader::State::Done) return true;
    ReadyRequest ready;
    ready.fd = c.fd;
    ready.address = c.address;
    ready.held = c.counted;
    ready.accepted_ms = c.accepted;
    forget(c);
    ready.request = c.reader.take();
    m_dispatched += ready.held;
    if (!m_dispatch(ready)) {
        m_dispatched -= ready.held;
        refuse(c, 503);
        return false;
    }
    c.fd = -1;
    return false;
}

void RequestGate::accept_new(std::vector<Conn>& conns) {
    for (int i = 0; i < 64; ++i) {
        sockaddr_storage addr{};
        socklen_t len = sizeof addr;
        const int fd = ::accept4(m_listen, reinterpret_cast<sockaddr*>(&addr), &len,
                                 SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                // Out of descriptors: the quietest connection makes room, else accepting rests.
                if (conns.empty())
                    m_pause_accept_until = now_ms() + 100;
                else {
                    auto quietest = std::min_element(
                        conns.begin(), conns.end(),
                        [](const Conn& a, const Conn& b) { return a.last < b.last; });
                    forget(*quietest);
                    close_connection(quietest->fd);
                    conns.erase(quietest);
                    continue;
                }
            }
            return;
        }
        if (conns.size() >= m_limits.max_reading) {
            auto quietest =
                std::min_element(conns.begin(), conns.end(),
                                 [](const Conn& a, const Conn& b) { return a.last < b.last; });
            forget(*quietest);
            close_connection(quietest->fd);
            conns.erase(quietest);
        }
        Conn c;
        c.fd = fd;
        c.reader = RequestReader(m_limits.request);
        c.accepted = c.last = now_ms();
        c.address = len > 0 ? peer_address(addr, len) : std::string("-");
        // A client sends its request as soon as it is connected: what has come is read at
        // once, and a whole request goes to a worker without waiting for the next poll.
        if (!read_from(c)) continue;
        conns.push_back(std::move(c));
    }
}

bool RequestGate::run() {
    if (m_listen < 0 || m_wake < 0) return false;
    ::fcntl(m_listen, F_SETFL, ::fcntl(m_listen, F_GETFL) | O_NONBLOCK);
    std::vector<Conn> conns;
    std::vector<pollfd> fds;
    while (!m_stopping) {
        const long long now = now_ms();
        const bool accepting = now >= m_pause_accept_until;
        fds.clear();
        fds.push_back({m_wake, POLLIN, 0});
        fds.push_back({accepting ? m_listen : -1, POLLIN, 0});
        long long next = now + 1000;
        for (const Conn& c : conns) {
            fds.push_back({c.fd, POLLIN, 0});
            const bool head = c.reader.state() == RequestReader::State::Head;
            next = std::min(next,
                            head ? c.accepted + m_limits.head_ms : c.head_done + m_limits.body_ms);
            next = std::min(next, c.last + m_limits.idle_ms);
        }
        if (!accepting) next = std::min(next, m_pause_accept_until);
        const int rc = ::poll(fds.data(), fds.size(), int(std::max(0LL, next - now)));
        if (rc < 0 && errno != EINTR) return false;
        if (m_stopping) break;
        if (fds[0].revents) {
            std::uint64_t v;
            [[maybe_unused]] auto n = ::read(m_wake, &v, sizeof v);
        }
        for (std::size_t i = 0; i < conns.size(); ++i) {
            Conn& c = conns[i];
            if (fds[i + 2].revents == 0) continue;
            read_from(c);
        }
        // Deadlines: the whole head, the whole body, silence.
        const long long after = now_ms();
        for (Conn& c : conns) {
            if (c.fd < 0) continue;
            const bool head = c.reader.state() == RequestReader::State::Head;
            const long long deadline =
                head ? c.accepted + m_limits.head_ms : c.head_done + m_limits.body_ms;
            if (after >= deadline || after >= c.last + m_limits.idle_ms) {
                forget(c);
                refuse(c, 408);
            }
        }
        conns.erase(
            std::remove_if(conns.begin(), conns.end(), [](const Conn& c) { return c.fd < 0; }),
            conns.end());
        if (accepting && fds[1].revents) accept_new(conns);
    }
    for (Conn& c : conns) close_connection(c.fd);
    m_reading_bytes = 0;
    return true;
}

}  // namespace zt::server
