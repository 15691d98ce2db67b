#include "net/socket_link.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace zt::net {

using Clock = std::chrono::steady_clock;

namespace {

// A name lookup on its own thread, so that a slow resolver never holds the caller; a lookup
// that is given up on finishes in the background and is then thrown away.
struct Lookup final {
    std::mutex mutex;
    bool done = false;
    std::optional<in_addr> address;
};

std::shared_ptr<Lookup> start_lookup(const std::string& host) {
    auto lookup = std::make_shared<Lookup>();
    std::thread([lookup, host] {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* list = nullptr;
        std::optional<in_addr> found;
        if (getaddrinfo(host.c_str(), nullptr, &hints, &list) == 0 && list) {
            found = reinterpret_cast<sockaddr_in*>(list->ai_addr)->sin_addr;
            freeaddrinfo(list);
        }
        std::lock_guard lock(lookup->mutex);
        lookup->address = found;
        lookup->done = true;
    }).detach();
    return lookup;
}

}  // namespace

SocketLink::SocketLink(std::chrono::milliseconds slice, std::function<bool()> idle)
    : m_slice(slice), m_idle(std::move(idle)) {}

SocketLink::~SocketLink() {
    if (m_fd >= 0) ::close(m_fd);
}

SocketLink::Status SocketLink::wait(short events, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return Status::timeout;
        pollfd p{m_fd, events, 0};
        const int n = ::poll(&p, 1, int(std::min(left, m_slice).count()) + 1);
        if (n < 0 && errno != EINTR) {
            m_error = "Ошибка сокета: " + std::to_string(errno);
            return Status::failed;
        }
        if (n > 0) return Status::ok;
        if (m_idle && !m_idle()) return Status::cancelled;
    }
}

SocketLink::Status SocketLink::connect(const std::string& host, int port,
                                       std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    in_addr address{};
    if (inet_pton(AF_INET, host.c_str(), &address) != 1) {
        const auto lookup = start_lookup(host);
        for (;;) {
            {
                std::lock_guard lock(lookup->mutex);
                if (lookup->done) break;
            }
            if (Clock::now() >= deadline) {
                m_error = "Адрес не найден: " + host + " (истекло время ожидания)";
                return Status::timeout;
            }
            std::this_thread::sleep_for(std::min(m_slice, std::chrono::milliseconds(20)));
            if (m_idle && !m_idle()) return Status::cancelled;
        }
        std::lock_guard lock(lookup->mutex);
        if (!lookup->address) {
            m_error = "Адрес не найден: " + host;
            return Status::failed;
        }
        address = *lookup->address;
    }
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_fd < 0) {
        m_error = "Ошибка сокета: " + std::to_string(errno);
        return Status::failed;
    }
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(std::uint16_t(port));
    to.sin_addr = address;
    if (::connect(m_fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0) return Status::ok;
    if (errno != EINPROGRESS) {
        m_error = "Ошибка соединения: " + std::to_string(errno);
        return Status::failed;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    const Status s = wait(POLLOUT, std::max(left, std::chrono::milliseconds(1)));
    if (s == Status::timeout) {
        m_error = "Ошибка соединения: сервер не отвечает (истекло время ожидания)";
        return s;
    }
    if (s != Status::ok) return s;
    int code = 0;
    socklen_t len = sizeof code;
    ::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &code, &len);
    if (code != 0) {
        m_error = "Ошибка соединения: " + std::to_string(code);
        return Status::failed;
    }
    return Status::ok;
}

SocketLink::Status SocketLink::send_all(std::string_view data, std::chrono::milliseconds timeout) {
    while (!data.empty()) {
        const ssize_t n = ::send(m_fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (n > 0) {
            data.remove_prefix(std::size_t(n));
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            m_error = "Ошибка передачи: " + std::to_string(errno);
            return Status::failed;
        }
        const Status s = wait(POLLOUT, timeout);
        if (s == Status::timeout)
            m_error = "Ошибка: данные не удаётся передать серверу (истекло время ожидания).";
        if (s != Status::ok) return s;
    }
    return Status::ok;
}

SocketLink::Status SocketLink::receive(std::string& out, std::size_t max,
                                       std::chrono::milliseconds timeout) {
    for (;;) {
        const std::size_t old = out.size();
        out.resize(old + max);
        const ssize_t n = ::recv(m_fd, out.data() + old, max, 0);
        out.resize(old + std::size_t(std::max<ssize_t>(n, 0)));
        if (n > 0) return Status::ok;
        if (n == 0) return Status::closed;
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            m_error = "Ошибка приема: " + std::to_string(errno);
            return Status::failed;
        }
        const Status s = wait(POLLIN, timeout);
        if (s == Status::timeout)
            m_error = "Ошибка: сервер не отвечает (нет данных " +
                      std::to_string((timeout.count() + 999) / 1000) + " с).";
        if (s != Status::ok) return s;
    }
}

}  // namespace zt::net
