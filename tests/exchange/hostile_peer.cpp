#include "hostile_peer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <QFile>
#include <QTemporaryFile>
#include <chrono>
#include <cstdio>
#include <stdexcept>

extern char** environ;

namespace zt::test {

namespace {

// Reads the request head (and the body its Content-length announces), waiting a few seconds
// at most; returns the request line.
std::string read_request(int fd) {
    std::string in;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::size_t head_end = std::string::npos;
    std::size_t want = 0;
    while (std::chrono::steady_clock::now() < until) {
        if (head_end != std::string::npos && in.size() >= head_end + want) break;
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        char buf[65536];
        const ssize_t n = recv(fd, buf, sizeof buf, 0);
        if (n <= 0) break;
        in.append(buf, std::size_t(n));
        if (head_end == std::string::npos) {
            for (const char* end : {"\r\n\r\n", "\n\n"}) {
                const auto at = in.find(end);
                if (at == std::string::npos) continue;
                head_end = at + std::char_traits<char>::length(end);
                const auto length = in.find("Content-length: ");
                if (length != std::string::npos && length < head_end)
                    want = std::stoul(in.substr(length + 16));
                break;
            }
        }
    }
    return in.substr(0, in.find('\n'));
}

// The peak resident memory of zorvan-cli running as `pid` (VmHWM), in MB; 0 before the exec.
// The child's own figure at its end would also count the test process it was forked from.
long peak_of(pid_t pid) {
    const std::string proc = "/proc/" + std::to_string(pid);
    char exe[4096];
    const ssize_t n = readlink((proc + "/exe").c_str(), exe, sizeof exe - 1);
    if (n <= 0 || std::string_view(exe, std::size_t(n)).find("zorvan-cli") == std::string::npos)
        return 0;
    QFile status(QString::fromStdString(proc + "/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong() / 1024;
    return 0;
}

}  // namespace

HostilePeer::HostilePeer(std::vector<std::pair<std::string, Reply>> rules)
    : m_rules(std::move(rules)), m_served(m_rules.size()) {
    m_listen = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int one = 1;
    setsockopt(m_listen, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(m_listen, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(m_listen, 8) != 0)
        throw std::runtime_error("hostile peer cannot listen");
    socklen_t len = sizeof a;
    getsockname(m_listen, reinterpret_cast<sockaddr*>(&a), &len);
    m_port = ntohs(a.sin_port);
    m_thread = std::thread([this] { serve(); });
}

HostilePeer::~HostilePeer() {
    m_stopping = true;
    m_thread.join();
    close(m_listen);
}

int HostilePeer::served(const std::string& rule) const {
    for (std::size_t i = 0; i < m_rules.size(); ++i)
        if (m_rules[i].first == rule) return m_served[i];
    return 0;
}

void HostilePeer::serve() {
    while (!m_stopping) {
        pollfd p{m_listen, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        const int fd = accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        answer(fd);
        close(fd);
    }
}

void HostilePeer::answer(int fd) {
    const std::string line = read_request(fd);
    for (std::size_t i = 0; i < m_rules.size(); ++i) {
        if (line.find(m_rules[i].first) == std::string::npos) continue;
        ++m_served[i];
        m_rules[i].second(fd, m_stopping);
        return;
    }
}

bool HostilePeer::send_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n <= 0) return false;
        bytes.remove_prefix(std::size_t(n));
    }
    return true;
}

HostilePeer::Reply HostilePeer::ok(std::string body) {
    return [body = std::move(body)](int fd, const std::atomic<bool>&) {
        send_all(fd, "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) +
                         "\r\n\r\n" + body);
    };
}

HostilePeer::Reply HostilePeer::ok_unsized(std::string body) {
    return [body = std::move(body)](int fd, const std::atomic<bool>&) {
        send_all(fd, "HTTP/1.0 200 OK\r\n\r\n" + body);
    };
}

CliRun run_cli(const QStringList& args, const std::vector<std::string>& env, long address_space_mb,
               int give_up_s) {
    QTemporaryFile err_file;
    if (!err_file.open()) throw std::runtime_error("no temporary file");
    // Everything the child needs is made before the fork: after it only exec-safe calls run.
    std::vector<std::string> argv_text{std::string(ZT_BINARY_DIR) + "/tools/zorvan-cli"};
    for (const QString& a : args) argv_text.push_back(a.toStdString());
    std::vector<char*> argv;
    for (auto& a : argv_text) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> env_text(env);
    for (char** e = environ; *e; ++e) env_text.emplace_back(*e);
    std::vector<char*> envp;
    for (auto& e : env_text) envp.push_back(e.data());
    envp.push_back(nullptr);
    const int err_fd = err_file.handle();
    const int null_fd = open("/dev/null", O_WRONLY | O_CLOEXEC);
    const rlimit cap{rlim_t(address_space_mb) << 20, rlim_t(address_space_mb) << 20};

    const pid_t pid = fork();
    if (pid == 0) {
        setrlimit(RLIMIT_AS, &cap);
        dup2(null_fd, 1);
        dup2(err_fd, 2);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(null_fd);
    CliRun run;
    int status = 0;
    rusage usage{};
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(give_up_s);
    for (;;) {
        run.peak_mb = std::max(run.peak_mb, peak_of(pid));
        const pid_t done = wait4(pid, &status, WNOHANG, &usage);
        if (done == pid) break;
        if (std::chrono::steady_clock::now() > until) {
            kill(pid, SIGKILL);
            wait4(pid, &status, 0, &usage);
            run.err = "(killed: did not end within " + std::to_string(give_up_s) + " s)\n";
            break;
        }
        usleep(5000);
    }
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::fprintf(stderr, "zorvan-cli %s: exit %d, peak %ld MB\n", qPrintable(args.value(0)),
                 run.status, run.peak_mb);
    QFile err(err_file.fileName());
    if (err.open(QIODevice::ReadOnly)) run.err += err.readAll().toStdString();
    return run;
}

std::string zero_section(std::string_view head, std::size_t zeros, std::string_view tail) {
    z_stream z{};
    deflateInit(&z, Z_BEST_COMPRESSION);
    std::string out;
    const auto feed = [&](const char* data, std::size_t size, int flush) {
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
        z.avail_in = uInt(size);
        int rc = Z_OK;
        do {
            char buf[1 << 16];
            z.next_out = reinterpret_cast<Bytef*>(buf);
            z.avail_out = sizeof buf;
            rc = deflate(&z, flush);
            out.append(buf, sizeof buf - z.avail_out);
        } while (z.avail_out == 0 || (flush == Z_FINISH && rc != Z_STREAM_END));
    };
    feed(head.data(), head.size(), Z_NO_FLUSH);
    const std::string block(std::size_t(1) << 20, '\0');
    for (std::size_t left = zeros; left > 0;) {
        const std::size_t n = std::min(left, block.size());
        feed(block.data(), n, Z_NO_FLUSH);
        left -= n;
    }
    feed(tail.data(), tail.size(), Z_FINISH);
    deflateEnd(&z);
    return out.substr(2);  // a section goes without the two header bytes
}

}  // namespace zt::test
