#include "tools/peers/pg_cluster.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <grp.h>
#include <netinet/in.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <thread>

#include "tools/peers/peers.h"

namespace zt::peers {

namespace {

constexpr const char* kUser = "nobody";  // who owns the cluster when the caller is root

bool is_root() {
    return ::geteuid() == 0;
}

struct Owner final {
    uid_t uid = 0;
    gid_t gid = 0;
};

// The unprivileged user's ids, when the caller is root.
std::optional<Owner> unprivileged() {
    const passwd* pw = ::getpwnam(kUser);
    if (!pw) return std::nullopt;
    return Owner{pw->pw_uid, pw->pw_gid};
}

// The newest PostgreSQL's program folder (Debian keeps one per major version), or
// $ZT_PG_BIN.
std::string pg_bin() {
    if (const char* dir = std::getenv("ZT_PG_BIN"); dir && *dir) return dir;
    QDir base(QStringLiteral("/usr/lib/postgresql"));
    int best = -1;
    for (const QString& v : base.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool ok = false;
        const int n = v.toInt(&ok);
        if (ok && n > best && QFile::exists(base.filePath(v + "/bin/initdb"))) best = n;
    }
    return best < 0 ? std::string() : "/usr/lib/postgresql/" + std::to_string(best) + "/bin";
}

std::string make_folder(const char* prefix, bool give_away) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + prefix + "XXXXXX";
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    if (give_away && is_root()) {
        const auto owner = unprivileged();
        if (!owner || ::chown(pattern.c_str(), owner->uid, owner->gid) != 0)
            throw std::runtime_error("cannot give " + pattern + " to " + kUser);
    }
    return pattern;
}

// Starts a program with its standard output and error into `log_fd` (or /dev/null), as the
// unprivileged user when `drop` and the caller is root.
pid_t start_program(const std::vector<std::string>& args, int log_fd, bool drop,
                    const std::string& dir) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::optional<Owner> owner;
    if (drop && is_root()) {
        owner = unprivileged();
        if (!owner) throw std::runtime_error(std::string("no user ") + kUser);
    }
    const int null_fd = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("cannot start " + args[0]);
    if (pid == 0) {
        // Only calls that are safe between fork and exec.
        const int out = log_fd >= 0 ? log_fd : null_fd;
        ::dup2(null_fd, 0);
        ::dup2(out, 1);
        ::dup2(out, 2);
        ::setpgid(0, 0);  // its own group: a terminal's Ctrl+C reaches it only through us
        if (owner && (::setgroups(0, nullptr) != 0 || ::setgid(owner->gid) != 0 ||
                      ::setuid(owner->uid) != 0))
            ::_exit(126);
        if (!dir.empty() && ::chdir(dir.c_str()) != 0) ::_exit(126);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(null_fd);
    return pid;
}

// Waits for the program's end; returns its exit code (-1: a signal).
int wait_exit(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs a program to its end; returns its exit code and, in `output`, what it printed.
int run_program(const std::vector<std::string>& args, bool drop, const std::string& dir,
                std::string* output) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    const pid_t pid = start_program(args, fds[1], drop, dir);
    ::close(fds[1]);
    std::string text;
    char buf[4096];
    ssize_t n = 0;
    while ((n = ::read(fds[0], buf, sizeof buf)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0) text.append(buf, std::size_t(n));
    ::close(fds[0]);
    if (output) *output = text;
    return wait_exit(pid);
}

// Ends a process: `sig`, then SIGKILL after `seconds`.
void end_process(pid_t pid, int sig, int seconds) {
    if (pid <= 0) return;
    ::kill(pid, sig);
    for (int i = 0; i < seconds * 50; ++i) {
        if (::waitpid(pid, nullptr, WNOHANG) == pid) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

bool accepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(std::uint16_t(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool up = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(fd);
    return up;
}

std::string read_text(const std::string& path) {
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

void write_text(const std::string& path, const std::string& text) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::WriteOnly) ||
        f.write(text.data(), qint64(text.size())) != qint64(text.size()))
        throw std::runtime_error("cannot write " + path);
}

bool alive(pid_t pid) {
    return pid > 0 && ::waitpid(pid, nullptr, WNOHANG) == 0;
}

}  // namespace

std::string PgCluster::unavailable() {
    if (pg_bin().empty())
        return "PostgreSQL is not installed (no /usr/lib/postgresql/*/bin/initdb; "
               "scripts/setup-deps "
               "installs the package postgresql)";
    if (is_root() && !unprivileged())
        return std::string("PostgreSQL does not run as root and there is no user ") + kUser;
    return {};
}

namespace {

// initdb takes seconds; a cluster made once is copied for every later one. The template lives in
// the build tree, made in a folder of its own and renamed into place, so concurrent tests
// either find it whole or make their own.
std::string cluster_template(const std::string& bin) {
    const std::string version =
        QDir(QString::fromStdString(bin + "/..")).canonicalPath().section('/', -1).toStdString();
    const std::string path = std::string(ZT_PEERS_BINARY_DIR) + "/pg-template-" + version;
    if (QFile::exists(QString::fromStdString(path + "/PG_VERSION"))) return path;
    const std::string work = make_folder("zt-pg-init-", true);
    std::string out;
    const int rc =
        run_program({bin + "/initdb", "-D", work + "/data", "-U", "zt", "-A", "trust", "-E", "UTF8",
                     "--locale=C", "--no-sync", "--no-instructions", "--wal-segsize=1"},
                    true, work, &out);
    if (rc != 0) {
        QDir(QString::fromStdString(work)).removeRecursively();
        throw std::runtime_error("initdb failed: " + out);
    }
    const std::string staged = path + ".new" + std::to_string(::getpid());
    const int copied = run_program({"/bin/cp", "-a", work + "/data", staged}, false, {}, &out);
    QDir(QString::fromStdString(work)).removeRecursively();
    if (copied != 0) throw std::runtime_error("cannot keep the cluster template: " + out);
    if (::rename(staged.c_str(), path.c_str()) != 0)
        QDir(QString::fromStdString(staged)).removeRecursively();  // another made it first
    return path;
}

}  // namespace

PgCluster::PgCluster() : m_bin(pg_bin()) {
    if (const std::string why = unavailable(); !why.empty()) throw std::runtime_error(why);
    const std::string source = cluster_template(m_bin);
    m_root = make_folder("zt-pg-", true);
    m_data = m_root + "/data";
    std::string out;
    // Copied as it is: owner (the unprivileged user) and modes with it.
    if (run_program({"/bin/cp", "-a", source, m_data}, false, {}, &out) != 0) {
        QDir(QString::fromStdString(m_root)).removeRecursively();
        throw std::runtime_error("cannot copy the cluster: " + out);
    }
    m_port = free_port();
    try {
        start();
    } catch (...) {
        QDir(QString::fromStdString(m_root)).removeRecursively();
        throw;
    }
}

PgCluster::~PgCluster() {
    stop();
    if (!m_root.empty()) QDir(QString::fromStdString(m_root)).removeRecursively();
}

void PgCluster::start() {
    if (m_pid > 0) return;
    const std::string log = m_root + "/postgres.log";
    const int log_fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    // A throwaway cluster: no waiting for the disk, and room for three servers' worth of
    // worker connections.
    m_pid = start_program(
        {m_bin + "/postgres", "-D", m_data, "-p", std::to_string(m_port), "-h", "127.0.0.1", "-k",
         "", "-N", "400", "-c", "fsync=off", "-c", "synchronous_commit=off", "-c",
         "full_page_writes=off", "-c", "shared_buffers=64MB"},
        log_fd, true, m_root);
    if (log_fd >= 0) ::close(log_fd);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < until) {
        if (!alive(m_pid)) {
            m_pid = -1;
            throw std::runtime_error("postgres ended at its start: " + read_text(log));
        }
        if (run_program(
                {m_bin + "/pg_isready", "-q", "-h", "127.0.0.1", "-p", std::to_string(m_port)},
                false, {}, nullptr) == 0)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    stop();
    throw std::runtime_error("postgres did not get ready: " + read_text(log));
}

void PgCluster::stop() {
    // SIGINT is PostgreSQL's fast shutdown: open connections are ended, the data written.
    end_process(m_pid, SIGINT, 30);
    m_pid = -1;
}

std::string PgCluster::url(const std::string& database) const {
    return "postgresql://zt@127.0.0.1:" + std::to_string(m_port) + "/" + database;
}

std::string PgCluster::psql(const std::string& database, const std::string& sql) const {
    std::string out;
    const int rc = run_program(
        {m_bin + "/psql", "-X", "-q", "-A", "-t", "-v", "ON_ERROR_STOP=1", "-h", "127.0.0.1", "-p",
         std::to_string(m_port), "-U", "zt", "-d", database, "-c", sql},
        false, {}, &out);
    if (rc != 0) throw std::runtime_error("psql: " + sql + ": " + out);
    return out;
}

std::string PgCluster::create_database() {
    const std::string name = "zt_" + std::to_string(++m_databases);
    psql("postgres", "CREATE DATABASE " + name);
    return url(name);
}

std::string NginxProcess::unavailable() {
    if (!QFile::exists(QStringLiteral("/usr/sbin/nginx")))
        return "nginx is not installed (scripts/setup-deps installs the package nginx)";
    if (is_root() && !unprivileged()) return std::string("nginx's workers need the user ") + kUser;
    return {};
}

std::string nginx_config(const std::string& folder, int port, const std::vector<int>& upstream,
                         bool as_root) {
    std::string c;
    if (as_root) c += "user nobody nogroup;\n";
    c += "daemon off;\nworker_processes 2;\n";
    c += "pid " + folder + "/nginx.pid;\n";
    c += "error_log " + folder + "/error.log warn;\n";
    c += "events { worker_connections 4096; }\n";
    c += "http {\n  access_log off;\n  sendfile on;\n";
    for (const char* kind : {"client_body", "proxy", "fastcgi", "uwsgi", "scgi"})
        c += std::string("  ") + kind + "_temp_path " + folder + "/tmp/" + kind + ";\n";
    if (!upstream.empty()) {
        c += "  upstream zorvan {\n";
        // A process that cannot be reached is left alone for two seconds.
        for (int p : upstream)
            c += "    server 127.0.0.1:" + std::to_string(p) + " max_fails=1 fail_timeout=2s;\n";
        c += "  }\n";
    }
    c += "  server {\n";
    c += "    listen 127.0.0.1:" + std::to_string(port) + " backlog=4096;\n";
    c += "    client_max_body_size 16m;\n";
    c += "    location /static/ { root " + folder + "; }\n";
    c += "    location / {\n";
    if (upstream.empty()) {
        // The static files alone (a benchmark's reference).
        c += "      return 404;\n";
    } else {
        c += "      proxy_pass http://zorvan;\n";
        // One request per connection, as the application sends them.
        c += "      proxy_http_version 1.0;\n";
        c += "      proxy_set_header Host $host;\n";
        // A process that refuses or drops the connection before the request went: the next.
        c += "      proxy_next_upstream error timeout;\n";
        c += "      proxy_next_upstream_tries 3;\n";
        c += "      proxy_connect_timeout 2s;\n";
        c += "      proxy_read_timeout 30s;\n";
        // A week's reply in memory, never in a temporary file.
        c += "      proxy_buffers 64 16k;\n";
        c += "      proxy_max_temp_file_size 0;\n";
    }
    c += "    }\n  }\n}\n";
    return c;
}

NginxProcess::NginxProcess(const std::vector<int>& upstream_ports) {
    if (const std::string why = unavailable(); !why.empty()) throw std::runtime_error(why);
    m_root = make_folder("zt-nginx-", false);
    // Its workers (the unprivileged user) read the static files and write the buffers.
    ::chmod(m_root.c_str(), 0755);
    QDir(QString::fromStdString(m_root)).mkpath(QStringLiteral("tmp"));
    QDir(QString::fromStdString(m_root)).mkpath(QStringLiteral("static"));
    if (is_root())
        if (const auto owner = unprivileged()) [[maybe_unused]]
            const int rc = ::chown((m_root + "/tmp").c_str(), owner->uid, owner->gid);
    m_port = free_port();
    m_config = nginx_config(m_root, m_port, upstream_ports, is_root());
    write_text(m_root + "/nginx.conf", m_config);
    m_pid = start_program({"/usr/sbin/nginx", "-p", m_root, "-c", m_root + "/nginx.conf", "-e",
                           m_root + "/error.log"},
                          -1, false, m_root);
    for (int i = 0; i < 500; ++i) {
        if (!alive(m_pid)) {
            m_pid = -1;
            const std::string log = read_text(m_root + "/error.log");
            QDir(QString::fromStdString(m_root)).removeRecursively();
            throw std::runtime_error("nginx ended at its start: " + log);
        }
        if (accepts(m_port)) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    end_process(m_pid, SIGTERM, 10);
    throw std::runtime_error("nginx did not start listening");
}

NginxProcess::~NginxProcess() {
    // SIGTERM: the master ends its workers and then itself.
    end_process(m_pid, SIGTERM, 10);
    QDir(QString::fromStdString(m_root)).removeRecursively();
}

}  // namespace zt::peers
