#include "server/http_front.h"

#include <httplib.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

#include <climits>
#include <vector>

#include <netdb.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "server/access_log.h"
#include "server/database.h"
#include "server/pages.h"
#include "server/request_gate.h"

namespace zt::server {

namespace {

constexpr const char* kScript = "/cgi-bin/soft.cgi";
// Connections the system holds until the gate accepts them: as many as it allows (Linux caps a
// larger backlog at net.core.somaxconn without an error).
constexpr int kBacklog = 65535;

long long now_ms() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Waits until the socket is ready for `events`; false on time-out, error or stop.
bool wait_for(int fd, short events, int timeout_ms, const std::atomic<bool>& stopping) {
    for (int waited = 0; waited < timeout_ms && !stopping; waited += 100) {
        pollfd p{fd, events, 0};
        const int rc = ::poll(&p, 1, std::min(100, timeout_ms - waited));
        if (rc > 0) return (p.revents & (events | POLLHUP | POLLERR)) != 0;
        if (rc < 0 && errno != EINTR) return false;
    }
    return false;
}

// The connection is non-blocking: each write waits for room, so that a client that stops
// reading costs a worker at most the time-out, and a stop at once.
bool send_all(int fd, std::string_view data, int timeout_ms, const std::atomic<bool>& stopping) {
    while (!data.empty()) {
        const ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            data.remove_prefix(std::size_t(n));
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return false;
        if (!wait_for(fd, POLLOUT, timeout_ms, stopping)) return false;
    }
    return true;
}

// Pieces of memory to the connection in as few calls as the system allows.
bool send_gathered(int fd, std::vector<iovec> parts, int timeout_ms,
                   const std::atomic<bool>& stopping) {
    std::size_t first = 0;
    while (first < parts.size()) {
        if (parts[first].iov_len == 0) {
            ++first;
            continue;
        }
        msghdr message{};
        message.msg_iov = parts.data() + first;
        message.msg_iovlen = std::min<std::size_t>(parts.size() - first, IOV_MAX);
        const ssize_t n = ::sendmsg(fd, &message, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0) {
            if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return false;
            if (!wait_for(fd, POLLOUT, timeout_ms, stopping)) return false;
            continue;
        }
        for (std::size_t left = std::size_t(n); left > 0;) {
            iovec& part = parts[first];
            const std::size_t taken = std::min(left, part.iov_len);
            part.iov_base = static_cast<char*>(part.iov_base) + taken;
            part.iov_len -= taken;
            left -= taken;
            if (part.iov_len == 0) ++first;
        }
    }
    return true;
}

// The connection as the library sees it: the request the gate has read (head and whole body,
// each freed once the library has read it), then the socket for the reply. Writing ends at the
// reply's deadline. In the slow mode every write trickles out a few bytes a second.
class ClientStream final : public httplib::Stream {
public:
    ClientStream(int fd, ReadRequest request, int timeout_ms, long long deadline_ms, bool slow,
                 const std::atomic<bool>& stopping)
        : m_fd(fd),
          m_request(std::move(request)),
          m_timeout_ms(timeout_ms),
          m_deadline_ms(deadline_ms),
          m_slow(slow),
          m_stopping(stopping) {}

    bool is_readable() const override {
        return m_pos < m_request.head.size() + m_request.body.size();
    }
    bool is_writable() const override {
        return left_ms() > 0 && wait_for(m_fd, POLLOUT, left_ms(), m_stopping);
    }
    // Nothing beyond the request: the library has been told its exact length.
    ssize_t read(char* ptr, size_t size) override {
        const std::size_t head = m_request.head.size();
        std::string_view part = m_pos < head
                                    ? std::string_view(m_request.head).substr(m_pos)
                                    : std::string_view(m_request.body)
                                          .substr(std::min(m_pos - head, m_request.body.size()));
        if (part.empty()) return -1;
        const std::size_t n = std::min(size, part.size());
        std::memcpy(ptr, part.data(), n);
        m_pos += n;
        // The library keeps its own copy of the body: ours goes as soon as it has been read.
        if (m_pos == head + m_request.body.size()) m_request.body = std::string();
        return ssize_t(n);
    }
    ssize_t write(const char* ptr, size_t size) override {
        // The reply has gone out by send_reply: what the library writes after it is dropped.
        if (m_answered) return ssize_t(size);
        if (!m_slow) return send_all(m_fd, {ptr, size}, left_ms(), m_stopping) ? ssize_t(size) : -1;
        for (std::size_t done = 0; done < size; done += 4) {
            if (m_stopping || !send_all(m_fd, {ptr + done, std::min<std::size_t>(4, size - done)},
                                        left_ms(), m_stopping))
                return -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
        }
        return ssize_t(size);
    }
    // The gate has the client's address already (the request sets it); the port is not used.
    void get_remote_ip_and_port(std::string& ip, int& port) const override {
        ip.clear();
        port = 0;
    }
    void get_local_ip_and_port(std::string& ip, int& port) const override {
        address(::getsockname, ip, port);
    }
    socket_t socket() const override { return m_fd; }

    // Writes the whole response, head and body, itself: the head as the library writes it, the
    // body from where it is held (a schedule reply's pieces straight from the snapshot's
    // blocks), all in as few calls as the system allows. The library's own writing of the
    // response is dropped after it.
    bool send_reply(const Reply& reply) {
        m_answered = true;
        const std::string head = "HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: " +
                                 std::to_string(reply.size()) +
                                 "\r\nContent-Type: " + reply.content_type + "\r\n\r\n";
        std::vector<iovec> parts;
        parts.reserve(reply.pieces.size() + 2);
        parts.push_back({const_cast<char*>(head.data()), head.size()});
        if (reply.stored)
            for (const Span& piece : reply.pieces)
                parts.push_back(
                    {const_cast<char*>(reply.stored->data() + piece.offset), piece.size});
        else
            parts.push_back({const_cast<char*>(reply.body.data()), reply.body.size()});
        return send_gathered(m_fd, std::move(parts), left_ms(), m_stopping);
    }

private:
    // What a wait may take: the time-out, or less as the deadline nears.
    int left_ms() const {
        return int(std::max(0LL, std::min<long long>(m_timeout_ms, m_deadline_ms - now_ms())));
    }

    template <class Fn>
    void address(Fn fn, std::string& ip, int& port) const {
        sockaddr_storage addr{};
        socklen_t len = sizeof addr;
        if (fn(m_fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) return;
        char host[NI_MAXHOST];
        char serv[NI_MAXSERV];
        if (getnameinfo(reinterpret_cast<sockaddr*>(&addr), len, host, sizeof host, serv,
                        sizeof serv, NI_NUMERICHOST | NI_NUMERICSERV) == 0) {
            ip = host;
            port = std::atoi(serv);
        }
    }

    int m_fd;
    ReadRequest m_request;
    std::size_t m_pos = 0;
    int m_timeout_ms;
    long long m_deadline_ms;
    bool m_slow;
    const std::atomic<bool>& m_stopping;
    bool m_answered = false;
};

// The body of the request the worker thread is serving: the gate's copy, handed to the service
// directly rather than copied into the library's request once more.
thread_local const std::string* t_body = nullptr;
// When the gate accepted the connection the worker thread is serving (the access log's time).
thread_local long long t_accepted_ms = 0;
// The connection the worker thread is serving, and the body bytes of a reply it wrote itself
// (-1: the library wrote the reply).
thread_local ClientStream* t_stream = nullptr;
thread_local long long t_sent_body = -1;

// The database connection of the worker thread (Qt SQL connections belong to one thread),
// opened at its first use and dropped after a failure, so that the next use connects anew (a
// restarted database server, a dropped connection).
std::unique_ptr<Database>& thread_connection() {
    thread_local std::unique_ptr<Database> db;
    return db;
}

Database& thread_database(const QString& path) {
    auto& db = thread_connection();
    if (!db || db->path() != path) {
        db.reset();
        db = std::make_unique<Database>(path);
    }
    return *db;
}

const char* kDatabaseDown =
    "Сервер временно не может прочитать свою базу данных. Повторите попытку через несколько "
    "минут.";

}  // namespace

class HttpFront::Impl final : public httplib::Server {
public:
    Impl(QString db_path, Service service, FrontOptions options)
        : m_db_path(std::move(db_path)), m_service(std::move(service)), m_options(options) {
        // The gate has read the whole request already and within its limits.
        set_payload_max_length(options.gate.request.body_cap);
        set_read_timeout(options.timeout_seconds);
        set_write_timeout(options.timeout_seconds);
        if (options.access_log)
            set_logger([](const httplib::Request& req, const httplib::Response& res) {
                log_request(req.remote_addr, req.method + " " + req.target + " " + req.version,
                            res.status,
                            t_sent_body >= 0 ? std::size_t(t_sent_body) : res.body.size(),
                            now_ms() - t_accepted_ms);
            });
        auto handler = [this](const httplib::Request& req, httplib::Response& res) {
            handle(req, res);
        };
        Get(".*", handler);
        Post(".*", handler);
        set_exception_handler(
            [](const httplib::Request&, httplib::Response& res, std::exception_ptr ep) {
                try {
                    std::rethrow_exception(ep);
                } catch (const std::exception& e) {
                    std::fprintf(stderr, "zorvan-server: %s\n", e.what());
                } catch (...) {
                }
                res.status = 500;
                res.set_content("Internal error\n", "text/plain");
            });
    }

    std::atomic<bool> stopping{false};

    int bind_socket(const std::string& host, int port) {
        const int bound = port == 0 ? bind_to_any_port(host) : bind_to_port(host, port) ? port : -1;
        if (bound < 0) return -1;
        // The library listens with a backlog of 5: a burst of connections would wait seconds
        // for the client's SYN to be retried. Listening again only sets the backlog.
        ::listen(svr_sock_, kBacklog);
        m_gate = std::make_unique<RequestGate>(
            svr_sock_, m_options.gate, [this](ReadyRequest& r) { return dispatch(r); },
            m_options.access_log);
        return bound;
    }

    bool serve() {
        if (!m_gate) return false;
        m_pool = std::make_unique<httplib::ThreadPool>(std::size_t(std::max(1, m_options.threads)));
        if (stopping) m_gate->stop();
        const bool ok = m_gate->run();
        // The requests in hand are answered (or given up at the stop) before returning.
        m_pool->shutdown();
        ::close(svr_sock_);
        svr_sock_ = INVALID_SOCKET;
        return ok;
    }

    void end() {
        stopping = true;
        if (m_gate) m_gate->stop();
    }

private:
    bool dispatch(ReadyRequest& r) {
        if (m_waiting >= m_options.max_waiting) return false;
        ++m_waiting;
        // A copyable job for the library's pool: the request moves into a shared holder.
        auto held = std::make_shared<ReadyRequest>(std::move(r));
        m_pool->enqueue([this, held] {
            --m_waiting;
            // Requests still waiting at a stop are closed unanswered.
            if (!stopping) serve_connection(*held);
            ::shutdown(held->fd, SHUT_RDWR);
            ::close(held->fd);
            m_gate->release(held->held);
        });
        return true;
    }

    void serve_connection(ReadyRequest& r) {
        const int fd = r.fd;
        // A reply goes out as head and body in separate writes: without this the body's last
        // segment waits for the client's delayed acknowledgement.
        const int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        if (raw_fault(fd)) return;
        // The library is given the head alone (its length made 0); the handler reads the body
        // from the gate's copy.
        ReadRequest head_only{std::move(r.request.head), {}};
        head_only.head.resize(r.request.length_line);
        head_only.head += "Content-Length: 0\r\n\r\n";
        const std::string body = std::move(r.request.body);
        t_body = &body;
        t_accepted_ms = r.accepted_ms;
        ClientStream stream(fd, std::move(head_only), m_options.timeout_seconds * 1000,
                            now_ms() + m_options.reply_seconds * 1000LL,
                            m_options.fault == Fault::Slow, stopping);
        bool closed = false;
        const std::string address = std::move(r.address);
        t_stream = &stream;
        t_sent_body = -1;
        process_request(stream, true, closed,
                        [&address](httplib::Request& req) { req.remote_addr = address; });
        t_body = nullptr;
        t_stream = nullptr;
    }

    // Faults below the HTTP library: true when the connection has been dealt with.
    bool raw_fault(int fd) {
        switch (m_options.fault) {
            case Fault::Silent:
                // Wait for the client to give up (or the server to end) without a byte.
                while (!stopping) {
                    pollfd p{fd, POLLIN, 0};
                    if (::poll(&p, 1, 100) > 0) {
                        char c;
                        const ssize_t n = ::recv(fd, &c, 1, MSG_PEEK | MSG_DONTWAIT);
                        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) break;
                        std::this_thread::sleep_for(std::chrono::milliseconds(100));
                    }
                }
                return true;
            case Fault::Head5k: {
                std::string head = "HTTP/1.0 200 OK\nX-Padding: ";
                head.resize(5120, 'x');
                send_all(fd, head, m_options.timeout_seconds * 1000, stopping);
                return true;
            }
            case Fault::Truncated:
                send_all(fd, "HTTP/1.0 200 OK\nContent-Length: 4096\n\n" + std::string(100, 'x'),
                         m_options.timeout_seconds * 1000, stopping);
                return true;
            default:
                return false;
        }
    }

    void handle(const httplib::Request& req, httplib::Response& res) {
        const bool script = req.path == kScript;
        switch (m_options.fault) {
            case Fault::Status302:
                res.status = 302;
                res.set_header("Location", "/");
                return;
            case Fault::CorruptZlib:
                res.set_content(corrupt_zlib_body(), "application/octet-stream");
                return;
            case Fault::Bomb:
                res.set_content(bomb_body(), "application/octet-stream");
                return;
            case Fault::Error:
                if (!script) break;
                set_reply(res, error_reply("Сервер временно недоступен."));
                return;
            default:
                break;
        }
        if (script) {
            const std::string_view body = t_body ? std::string_view(*t_body) : req.body;
            Reply reply = call_service(req, body);
            if (m_options.fault == Fault::CutBlock && req.get_param_value("func") == "get_tvprog" &&
                reply.status == 200)
                reply = Reply(200, cut_last_block(reply.flat()), reply.content_type);
            if (writes_itself(req, reply)) {
                res.status = reply.status;
                t_sent_body = (long long)(reply.size());
                t_stream->send_reply(reply);
                return;
            }
            if (reply.stored) reply.body = reply.flat();
            set_reply(res, std::move(reply));
            return;
        }
        const auto page = page_for(req.path, req.get_param_value("func"));
        if (!page) {
            res.status = 404;
            res.set_content("Not found\n", "text/plain");
            return;
        }
        res.set_content(page->body, page->content_type);
    }

    // A call on the thread's connection. When the database fails, the connection is dropped;
    // a call that committed nothing yet runs once more on a new connection (the database
    // server restarted since the last request), and a second failure gives the client an error
    // reply that it shows, while the process goes on serving.
    Reply call_service(const httplib::Request& req, std::string_view body) {
        std::string error;
        for (int attempt = 0; attempt < 2; ++attempt) {
            std::uint64_t commits = 0;
            try {
                Database& db = thread_database(m_db_path);
                commits = db.commits();
                // Nothing of the request holds the database's state past it, however it ends.
                struct Release final {
                    Database& db;
                    ~Release() { db.release_statements(); }
                } release{db};
                return m_service.call(db, req.params, body);
            } catch (const db_error& e) {
                auto& db = thread_connection();
                const bool committed = db && db->commits() != commits;
                db.reset();
                error = e.what();
                if (committed) break;
            }
        }
        std::fprintf(stderr, "zorvan-server: database: %s\n", error.c_str());
        return error_reply(kDatabaseDown);
    }

    // Whether the reply is one the server writes itself rather than through the library: a
    // plain one (status 200, the whole body, no content coding), as every call of the
    // application is. Ranges, content codings, HEAD and the slow mode are left to the library.
    bool writes_itself(const httplib::Request& req, const Reply& reply) const {
        return t_stream && reply.status == 200 &&
               (m_options.fault == Fault::None || m_options.fault == Fault::CutBlock) &&
               (req.method == "GET" || req.method == "POST") && !req.has_header("Range") &&
               !req.has_header("Accept-Encoding");
    }

    static void set_reply(httplib::Response& res, Reply reply) {
        res.status = reply.status;
        // Moved, not copied (the library's set_content copies the body).
        res.body = std::move(reply.body);
        res.set_header("Content-Type", reply.content_type);
    }

    QString m_db_path;
    Service m_service;
    FrontOptions m_options;
    std::unique_ptr<RequestGate> m_gate;
    std::unique_ptr<httplib::ThreadPool> m_pool;
    std::atomic<std::size_t> m_waiting{0};
};

HttpFront::HttpFront(QString db_path, Service service, FrontOptions options)
    : m_impl(std::make_unique<Impl>(std::move(db_path), std::move(service), options)) {
    // Built before the first request rather than while a client waits.
    if (options.fault == Fault::Bomb) bomb_body();
}

HttpFront::~HttpFront() = default;

int HttpFront::bind(const std::string& host, int port) {
    return m_impl->bind_socket(host, port);
}

bool HttpFront::run() {
    return m_impl->serve();
}

void HttpFront::stop() {
    m_impl->end();
}

}  // namespace zt::server
