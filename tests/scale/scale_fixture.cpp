#include "scale_fixture.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDateTime>
#include <QFile>

#include <chrono>
#include <sstream>
#include <thread>

#include "core/text_helpers.h"
#include "net/protocol/schedule_request.h"

extern char** environ;

namespace zt::test {

std::string server_exe() {
    return std::string(ZT_BINARY_DIR) + "/server/zorvan-server";
}

std::string cli_exe() {
    return std::string(ZT_BINARY_DIR) + "/tools/zorvan-cli";
}

namespace {

pid_t spawn(const std::vector<std::string>& args, int out_fd, const std::vector<std::string>& env) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<std::string> env_text;
    for (char** e = environ; *e; ++e) env_text.emplace_back(*e);
    env_text.insert(env_text.end(), env.begin(), env.end());
    std::vector<char*> envp;
    for (auto& e : env_text) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (out_fd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, out_fd, 1);
        posix_spawn_file_actions_adddup2(&actions, out_fd, 2);
    }
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

std::string read_all(int fd) {
    std::string text;
    char buf[8192];
    ssize_t n = 0;
    while ((n = ::read(fd, buf, sizeof buf)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0) text.append(buf, std::size_t(n));
    return text;
}

}  // namespace

int run(const std::vector<std::string>& args, std::string* output,
        const std::vector<std::string>& env) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return -1;
    const pid_t pid = spawn(args, fds[1], env);
    ::close(fds[1]);
    const std::string text = read_all(fds[0]);
    ::close(fds[0]);
    if (output) *output = text;
    if (pid < 0) return -1;
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ServeProcess::ServeProcess(std::string db, int port, std::string at)
    : m_db(std::move(db)), m_port(port), m_at(std::move(at)) {
    start();
}

ServeProcess::~ServeProcess() {
    stop();
}

void ServeProcess::start() {
    const std::string path = m_dir.filePath(QStringLiteral("serve.log")).toStdString();
    const std::size_t from = log().size();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    m_pid = spawn({server_exe(), "serve", "--db", m_db, "--listen",
                   "127.0.0.1:" + std::to_string(m_port), "--at", m_at, "--threads", "8"},
                  fd, {});
    ::close(fd);
    const std::string marker = "listening on 127.0.0.1:" + std::to_string(m_port);
    for (int i = 0; i < 500; ++i) {
        if (log().find(marker, from) != std::string::npos) return;
        if (!running()) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ADD_FAILURE() << "zorvan-server did not start: " << log().substr(from);
}

bool ServeProcess::running() const {
    return m_pid > 0 && ::waitpid(m_pid, nullptr, WNOHANG) == 0;
}

void ServeProcess::kill_now() {
    if (m_pid <= 0) return;
    ::kill(m_pid, SIGKILL);
    ::waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}

void ServeProcess::stop() {
    if (m_pid <= 0) return;
    ::kill(m_pid, SIGTERM);
    for (int i = 0; i < 750 && running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    kill_now();
}

std::string ServeProcess::log() const {
    QFile f(m_dir.filePath(QStringLiteral("serve.log")));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

Client::Client(int port) {
    ctx.service = "127.0.0.1:" + std::to_string(port);
    ctx.limits.connect_timeout = std::chrono::milliseconds(3000);
    ctx.limits.send_timeout = std::chrono::milliseconds(3000);
    ctx.limits.receive_timeout = std::chrono::milliseconds(3000);
}

bool Client::call(const std::string& query, const std::string& post_body, std::string& body) {
    return net::HttpExchange(ctx, "/cgi-bin/soft.cgi", query, !post_body.empty(), post_body, body,
                             post_body.empty() ? net::CallSize::small : net::CallSize::large);
}

void ScaleTest::SetUp() {
    std::string why = peers::PgCluster::unavailable();
    if (why.empty() && m_need_nginx) why = peers::NginxProcess::unavailable();
    if (!why.empty()) {
        std::printf("skipped: %s\n", why.c_str());
        GTEST_SKIP() << "skipped: " << why;
    }
    m_pg = std::make_unique<peers::PgCluster>();
    m_db = m_pg->create_database();
    m_at = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm")).toStdString();
    std::string out;
    ASSERT_EQ(
        run({server_exe(), "ingest", "--db", m_db, "--generated", "small", "--at", m_at}, &out), 0)
        << out;
    ASSERT_EQ(run({server_exe(), "account", "--db", m_db, "--login", "ivan", "--password", "secret",
                   "--paid"},
                  &out),
              0)
        << out;
    std::istringstream ids(
        m_pg->psql(m_db.substr(m_db.rfind('/') + 1), "SELECT id FROM channels ORDER BY id"));
    for (int id = 0; ids >> id;) m_channels.push_back(id);
    ASSERT_FALSE(m_channels.empty());
}

std::string ScaleTest::schedule_body() const {
    protocol::ScheduleRequest r;
    for (int id : m_channels) r.channels.push_back({id, "00000000", {}});
    return protocol::write_schedule_request(r);
}

std::string ScaleTest::paid_query(const std::string& func) {
    return "?func=" + func + "&a=1&l=ivan&p=" + md5_hex("secret");
}

std::string ScaleTest::content_digest() const {
    return m_pg->psql(
        m_db.substr(m_db.rfind('/') + 1),
        "SELECT md5((SELECT string_agg(channel_id || day || digest, ',' ORDER BY channel_id, "
        "day) FROM days) || (SELECT string_agg(id || stamp || md5(details), ',' ORDER BY id) "
        "FROM channels) || (SELECT string_agg(id || '/' || pos || md5(name), ',' ORDER BY id) "
        "FROM packages) || (SELECT string_agg(md5(login) || md5 || paid || balance, ',' ORDER "
        "BY login) FROM accounts) || (SELECT md5(value) FROM meta WHERE key = 'generation'))");
}

}  // namespace zt::test
