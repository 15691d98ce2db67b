#include "server/http_front.h"

#include <httplib.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "server/database.h"
#include "server/pages.h"
#include "server/request_head.h"

namespace zt::server {

namespace {

constexpr std::size_t kMaxHead = 16 << 10;
constexpr const char* kScript = "/cgi-bin/soft.cgi";

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

bool send_all(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (n <= 0) return false;
        data.remove_prefix(std::size_t(n));
    }
    return true;
}

// The connection as the library sees it: the rewritten head (and the body bytes that came with
// it) first, then the socket. In the slow mode every write trickles out a few bytes a second.
class ClientStream final : public httplib::Stream {
public:
    ClientStream(int fd, std::string prefix, int timeout_ms, bool slow,
                 const std::atomic<bool>& stopping)
        : m_fd(fd),
          m_prefix(std::move(prefix)),
          m_timeout_ms(timeout_ms),
          m_slow(slow),
          m_stopping(stopping) {}

    bool is_readable() const override {
        return m_pos < m_prefix.size() || wait_for(m_fd, POLLIN, m_timeout_ms, m_stopping);
    }
    bool is_writable() const override { return wait_for(m_fd, POLLOUT, m_timeout_ms, m_stopping); }
    ssize_t read(char* ptr, size_t size) override {
        if (m_pos < m_prefix.size()) {
            const std::size_t n = std::min(size, m_prefix.size() - m_pos);
            std::memcpy(ptr, m_prefix.data() + m_pos, n);
            m_pos += n;
            return ssize_t(n);
        }
        if (!wait_for(m_fd, POLLIN, m_timeout_ms, m_stopping)) return -1;
        return ::recv(m_fd, ptr, size, 0);
    }
    ssize_t write(const char* ptr, size_t size) override {
        if (!m_slow) return send_all(m_fd, {ptr, size}) ? ssize_t(size) : -1;
        for (std::size_t done = 0; done < size; done += 4) {
            if (m_stopping || !send_all(m_fd, {ptr + done, std::min<std::size_t>(4, size - done)}))
                return -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
        }
        return ssize_t(size);
    }
    void get_remote_ip_and_port(std::string& ip, int& port) const override {
        address(::getpeername, ip, port);
    }
    void get_local_ip_and_port(std::string& ip, int& port) const override {
        address(::getsockname, ip, port);
    }
    socket_t socket() const override { return m_fd; }

private:
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
    std::string m_prefix;
    std::size_t m_pos = 0;
    int m_timeout_ms;
    bool m_slow;
    const std::atomic<bool>& m_stopping;
};

// The database connection of the worker thread (Qt SQL connections belong to one thread).
Database& thread_database(const QString& path) {
    thread_local std::unique_ptr<Database> db;
    if (!db || db->path() != path) db = std::make_unique<Database>(path);
    return *db;
}

}  // namespace

class HttpFront::Impl final : public httplib::Server {
public:
    Impl(QString db_path, Service service, FrontOptions options)
        : m_db_path(std::move(db_path)), m_service(std::move(service)), m_options(options) {
        const int threads = options.threads;
        new_task_queue = [threads] { return new httplib::ThreadPool(std::size_t(threads)); };
        set_payload_max_length(options.body_cap);
        set_read_timeout(options.timeout_seconds);
        set_write_timeout(options.timeout_seconds);
        if (options.access_log)
            set_logger([](const httplib::Request& req, const httplib::Response& res) {
                std::fprintf(stderr, "%s \"%s %s\" %d %zu\n", req.remote_addr.c_str(),
                             req.method.c_str(), req.target.c_str(), res.status, res.body.size());
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

private:
    // One request per connection, as HTTP/1.0 clients expect; the head is rewritten first.
    bool process_and_close_socket(socket_t sock) override {
        serve_connection(sock);
        ::shutdown(sock, SHUT_RDWR);
        ::close(sock);
        return true;
    }

    void serve_connection(int fd) {
        // A reply goes out as head and body in separate writes: without this the body's last
        // segment waits for the client's delayed acknowledgement.
        const int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        const int timeout_ms = m_options.timeout_seconds * 1000;
        std::string data;
        std::optional<std::size_t> end;
        char buf[4096];
        while (!(end = head_end(data))) {
            if (data.size() > kMaxHead) {
                send_all(fd,
                         "HTTP/1.0 431 Request Header Fields Too Large\r\n"
                         "Content-Length: 0\r\n\r\n");
                return;
            }
            if (!wait_for(fd, POLLIN, timeout_ms, stopping)) return;
            const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
            if (n <= 0) return;
            data.append(buf, std::size_t(n));
        }
        auto head = normalise_head(std::string_view(data).substr(0, *end));
        if (!head) {
            send_all(fd, "HTTP/1.0 400 Bad Request\r\nContent-Length: 0\r\n\r\n");
            return;
        }
        // A body over the cap is refused before a byte of it is read.
        const auto length = content_length(*head);
        if (!length || *length > m_options.body_cap) {
            send_all(fd, length ? "HTTP/1.0 413 Payload Too Large\r\nContent-Length: 0\r\n\r\n"
                                : "HTTP/1.0 400 Bad Request\r\nContent-Length: 0\r\n\r\n");
            return;
        }
        if (raw_fault(fd)) return;
        ClientStream stream(fd, *head + data.substr(*end), timeout_ms,
                            m_options.fault == Fault::Slow, stopping);
        bool closed = false;
        process_request(stream, true, closed, [&stream](httplib::Request& req) {
            stream.get_remote_ip_and_port(req.remote_addr, req.remote_port);
        });
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
                        if (::recv(fd, &c, 1, MSG_PEEK) <= 0) break;
                        std::this_thread::sleep_for(std::chrono::milliseconds(100));
                    }
                }
                return true;
            case Fault::Head5k: {
                std::string head = "HTTP/1.0 200 OK\nX-Padding: ";
                head.resize(5120, 'x');
                send_all(fd, head);
                return true;
            }
            case Fault::Truncated:
                send_all(fd, "HTTP/1.0 200 OK\nContent-Length: 4096\n\n" + std::string(100, 'x'));
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
            Reply reply = m_service.call(thread_database(m_db_path), req.params, req.body);
            if (m_options.fault == Fault::CutBlock && req.get_param_value("func") == "get_tvprog" &&
                reply.status == 200)
                reply.body = cut_last_block(reply.body);
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

    static void set_reply(httplib::Response& res, Reply reply) {
        res.status = reply.status;
        // Moved, not copied (the library's set_content copies the body).
        res.body = std::move(reply.body);
        res.set_header("Content-Type", reply.content_type);
    }

    QString m_db_path;
    Service m_service;
    FrontOptions m_options;
};

HttpFront::HttpFront(QString db_path, Service service, FrontOptions options)
    : m_impl(std::make_unique<Impl>(std::move(db_path), std::move(service), options)) {
    // Built before the first request rather than while a client waits.
    if (options.fault == Fault::Bomb) bomb_body();
}

HttpFront::~HttpFront() = default;

int HttpFront::bind(const std::string& host, int port) {
    if (port == 0) return m_impl->bind_to_any_port(host);
    return m_impl->bind_to_port(host, port) ? port : -1;
}

bool HttpFront::run() {
    return m_impl->listen_after_bind();
}

void HttpFront::stop() {
    m_impl->stopping = true;
    m_impl->stop();
}

}  // namespace zt::server
