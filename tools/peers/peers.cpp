#include "tools/peers/peers.h"

#include "tools/peers/pg_cluster.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <stdexcept>

extern char** environ;

namespace zt::peers {

namespace {

pid_t spawn(const std::vector<std::string>& args, int stderr_fd) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stderr_fd >= 0) posix_spawn_file_actions_adddup2(&actions, stderr_fd, 2);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    // As a service manager starts a peer: SIGPIPE at its default (ending the process), whatever
    // the test's own process ignores.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, argv[0], &actions, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) throw std::runtime_error("cannot start " + args[0]);
    return pid;
}

void stop(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        usleep(20000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

PgCluster* g_postgresql = nullptr;

}  // namespace

void use_postgresql(PgCluster* cluster) {
    g_postgresql = cluster;
}

std::size_t request_bytes(int port, const std::string& request) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(std::uint16_t(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::size_t got = 0;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        ::send(fd, request.data(), request.size(), MSG_NOSIGNAL) == ssize_t(request.size())) {
        static thread_local char buf[1 << 16];
        for (ssize_t n; (n = ::recv(fd, buf, sizeof buf, 0)) > 0;) got += std::size_t(n);
    }
    ::close(fd);
    return got;
}

int free_port() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    close(fd);
    return ntohs(a.sin_port);
}

std::string ServerProcess::binary() {
    return std::string(ZT_PEERS_BINARY_DIR) + "/server/zorvan-server";
}

int ServerProcess::run_tool(const std::vector<std::string>& args) {
    std::vector<std::string> all{binary()};
    all.insert(all.end(), args.begin(), args.end());
    const pid_t pid = spawn(all, -1);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// What the server writes on its standard error, read by a thread of its own that lives as long
// as the pipe (it may outlive the ServerProcess: the log is shared).
struct ServerProcess::Log {
    std::mutex mutex;
    std::condition_variable changed;
    std::string text;
    bool ended = false;
};

ServerProcess::ServerProcess(const std::string& fault, const std::string& at,
                             const std::string& profile) {
    m_db =
        g_postgresql ? g_postgresql->create_database() : m_dir.filePath("server.db").toStdString();
    std::vector<std::string> ingest{"ingest", "--db", m_db, "--generated", profile};
    if (!at.empty()) ingest.insert(ingest.end(), {"--at", at});
    if (run_tool(ingest) != 0) throw std::runtime_error("ingest failed");
    run_tool({"account", "--db", m_db, "--login", "free", "--password", "free"});
    run_tool({"account", "--db", m_db, "--login", "paid", "--password", "secret", "--paid",
              "--balance", "12345", "--text1", "Подписка", "--text3", "Иван"});
    std::vector<std::string> serve{"--db", m_db};
    if (!at.empty()) serve.insert(serve.end(), {"--at", at});
    if (!fault.empty()) serve.insert(serve.end(), {"--fault", fault});
    start(serve);
}

ServerProcess::ServerProcess(const QStringList& args) {
    std::vector<std::string> serve;
    for (const QString& a : args) serve.push_back(a.toStdString());
    start(serve);
}

void ServerProcess::start(const std::vector<std::string>& args) {
    std::vector<std::string> serve{binary(), "serve", "--listen", "127.0.0.1:0"};
    serve.insert(serve.end(), args.begin(), args.end());
    int fds[2];
    // Close-on-exec: no other child started meanwhile keeps the pipe open.
    if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    m_pid = spawn(serve, fds[1]);
    close(fds[1]);
    m_log = std::make_shared<Log>();
    // The server keeps writing to its standard error; a drained pipe never holds it.
    std::thread([log = m_log, fd = fds[0]] {
        char buf[4096];
        for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;) {
            const std::lock_guard lock(log->mutex);
            log->text.append(buf, std::size_t(n));
            log->changed.notify_all();
        }
        close(fd);
        const std::lock_guard lock(log->mutex);
        log->ended = true;
        log->changed.notify_all();
    }).detach();
    const std::string marker = "listening on 127.0.0.1:";
    std::unique_lock lock(m_log->mutex);
    m_log->changed.wait_for(lock, std::chrono::seconds(20), [&] {
        const auto at = m_log->text.find(marker);
        return m_log->ended ||
               (at != std::string::npos && m_log->text.find('\n', at) != std::string::npos);
    });
    const auto at = m_log->text.find(marker);
    if (at != std::string::npos && m_log->text.find('\n', at) != std::string::npos)
        m_port = std::atoi(m_log->text.c_str() + at + marker.size());
    if (m_port == 0) {
        const std::string text = m_log->text;
        lock.unlock();
        stop();
        throw std::runtime_error("zorvan-server did not start: " + text);
    }
}

ServerProcess::~ServerProcess() {
    stop();
}

int ServerProcess::stop() {
    if (m_pid <= 0) return m_exit;
    kill(m_pid, SIGTERM);
    int status = 0;
    bool ended = false;
    for (int i = 0; i < 500 && !ended; ++i) {
        ended = waitpid(m_pid, &status, WNOHANG) == m_pid;
        if (!ended) usleep(20000);
    }
    if (!ended) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, &status, 0);
    }
    m_exit = ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    m_pid = -1;
    // The last lines the server wrote before it ended.
    if (m_log) {
        std::unique_lock lock(m_log->mutex);
        m_log->changed.wait_for(lock, std::chrono::seconds(2), [&] { return m_log->ended; });
    }
    return m_exit;
}

std::size_t ServerProcess::peak_memory_kb() const {
    QFile status(QStringLiteral("/proc/%1/status").arg(m_pid));
    if (m_pid <= 0 || !status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toULong();
    return 0;
}

std::string ServerProcess::log() const {
    if (!m_log) return {};
    const std::lock_guard lock(m_log->mutex);
    return m_log->text;
}

int run_server_command(const QStringList& args, std::string* output) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QString::fromStdString(ServerProcess::binary()), args);
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    if (output) *output = p.readAll().toStdString();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

std::string raw_exchange(int port, std::string_view request, int timeout_ms) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(std::uint16_t(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string out;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
        for (std::size_t sent = 0; sent < request.size();) {
            const ssize_t n =
                ::send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) break;
            sent += std::size_t(n);
        }
        QElapsedTimer timer;
        timer.start();
        char buf[65536];
        while (timer.elapsed() < timeout_ms) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, int(timeout_ms - timer.elapsed())) <= 0) break;
            const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
            if (n <= 0) break;
            out.append(buf, std::size_t(n));
        }
    }
    ::close(fd);
    return out;
}

RawResponse split_response(const std::string& bytes) {
    RawResponse r;
    const std::size_t line = bytes.find("\r\n");
    r.status_line = bytes.substr(0, line);
    std::size_t end = bytes.find("\r\n\r\n");
    std::size_t skip = 4;
    if (end == std::string::npos) {
        end = bytes.find("\n\n");
        skip = 2;
    }
    if (end == std::string::npos) {
        r.head = bytes;
        return r;
    }
    r.head = bytes.substr(0, end);
    r.body = bytes.substr(end + skip);
    return r;
}

ProxyProcess::ProxyProcess(const std::string& user, const std::string& password) {
    m_port = free_port();
    const QString conf = m_dir.filePath("tinyproxy.conf");
    QFile f(conf);
    f.open(QIODevice::WriteOnly);
    std::string text = "Port " + std::to_string(m_port) +
                       "\nListen 127.0.0.1\nTimeout 30\nMaxClients 20\nAllow 127.0.0.1\n"
                       "LogLevel Error\nDisableViaHeader Yes\n";
    if (!user.empty()) text += "BasicAuth " + user + " " + password + "\n";
    f.write(text.c_str());
    f.close();
    m_pid = spawn({"/usr/bin/tinyproxy", "-d", "-c", conf.toStdString()}, -1);
    // Ready once it accepts connections.
    for (int i = 0; i < 200; ++i) {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(std::uint16_t(m_port));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const bool up = connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
        close(fd);
        if (up) return;
        usleep(20000);
    }
    throw std::runtime_error("tinyproxy did not start");
}

ProxyProcess::~ProxyProcess() {
    stop(m_pid);
}

CapturePeer::CapturePeer(std::string reply) : m_reply(std::move(reply)) {
    m_listen = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(m_listen, reinterpret_cast<sockaddr*>(&a), sizeof a);
    listen(m_listen, 1);
    socklen_t len = sizeof a;
    getsockname(m_listen, reinterpret_cast<sockaddr*>(&a), &len);
    m_port = ntohs(a.sin_port);
    m_thread = std::thread([this] {
        pollfd p{m_listen, POLLIN, 0};
        if (poll(&p, 1, 5000) <= 0) return;
        const int fd = accept(m_listen, nullptr, nullptr);
        if (fd < 0) return;
        // Until the head is in, and then the body it announces (or a short pause).
        for (;;) {
            pollfd q{fd, POLLIN, 0};
            if (poll(&q, 1, 300) <= 0) break;
            char buf[4096];
            const ssize_t n = recv(fd, buf, sizeof buf, 0);
            if (n <= 0) break;
            m_request.append(buf, std::size_t(n));
            const auto end = m_request.find("\n\n");
            if (end == std::string::npos) continue;
            std::size_t body = 0;
            const auto cl = m_request.find("Content-length: ");
            if (cl != std::string::npos && cl < end) body = std::stoul(m_request.substr(cl + 16));
            if (m_request.size() >= end + 2 + body) break;
        }
        std::size_t sent = 0;
        while (sent < m_reply.size()) {
            const ssize_t n = send(fd, m_reply.data() + sent, m_reply.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) break;
            sent += std::size_t(n);
        }
        shutdown(fd, SHUT_RDWR);
        close(fd);
    });
}

CapturePeer::~CapturePeer() {
    if (m_thread.joinable()) m_thread.join();
    close(m_listen);
}

std::string CapturePeer::request() {
    if (m_thread.joinable()) m_thread.join();
    return m_request;
}

}  // namespace zt::peers
