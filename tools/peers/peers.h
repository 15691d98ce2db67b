// The real peers of the exchange tests and the download benchmark: zorvan-server and tinyproxy
// started on free ports, and a plain TCP peer for byte-exact checks.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <QStringList>
#include <QTemporaryDir>

namespace zt::peers {

class PgCluster;

// Where the servers below keep their data: a SQLite file in their own folder (nullptr, the
// default), or a new database of this PostgreSQL cluster for each server. The exchange tests run
// once with each (ZT_TEST_DB=postgresql).
void use_postgresql(PgCluster* cluster);

// A real zorvan-server serving on a free port of 127.0.0.1, stopped (SIGTERM) when destroyed.
// The one server process of the tests and benchmarks: with a database of its own made for it,
// or serving a database the caller made.
class ServerProcess final {
public:
    // Its own database (see use_postgresql): the generated schedule `profile` for `at` (empty:
    // now), a free and a paid account. `fault` is a --fault mode or empty.
    explicit ServerProcess(const std::string& fault = "", const std::string& at = "",
                           const std::string& profile = "tiny");
    // `zorvan-server serve --listen 127.0.0.1:0` followed by `args` (--db and the rest).
    explicit ServerProcess(const QStringList& args);
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    int port() const { return m_port; }
    std::string address() const { return "127.0.0.1:" + std::to_string(m_port); }
    pid_t pid() const { return m_pid; }
    // The --db of the server made with its own database: a file or a PostgreSQL URL.
    const std::string& db() const { return m_db; }
    // The process's peak resident memory so far (VmHWM), in KiB; 0 when it cannot be read.
    std::size_t peak_memory_kb() const;
    // Sends SIGTERM and waits; returns the exit code (-1 when it had to be killed).
    int stop();
    // What the server wrote on standard error so far.
    std::string log() const;

    // Runs zorvan-server with these arguments to its end (ingest, account, release).
    static int run_tool(const std::vector<std::string>& args);
    static std::string binary();

private:
    struct Log;
    void start(const std::vector<std::string>& serve);

    QTemporaryDir m_dir;
    std::string m_db;
    pid_t m_pid = -1;
    int m_port = 0;
    int m_exit = -1;
    std::shared_ptr<Log> m_log;
};

// Runs zorvan-server with the arguments; returns its exit code (standard output and error go
// to `output` when given).
int run_server_command(const QStringList& args, std::string* output = nullptr);

// A real tinyproxy on a free port of 127.0.0.1, with Basic authentication when a user is given.
class ProxyProcess final {
public:
    ProxyProcess(const std::string& user, const std::string& password);
    ~ProxyProcess();
    int port() const { return m_port; }

private:
    QTemporaryDir m_dir;
    pid_t m_pid = -1;
    int m_port = 0;
};

// A plain TCP peer for the byte-exact checks: accepts one connection, keeps every byte of the
// request until the client has sent its head (and the body its Content-length announces), then
// writes `reply` and closes.
class CapturePeer final {
public:
    explicit CapturePeer(std::string reply);
    ~CapturePeer();
    int port() const { return m_port; }
    // The request as received (waits for the peer to finish).
    std::string request();

private:
    int m_listen = -1;
    int m_port = 0;
    std::string m_reply;
    std::string m_request;
    std::thread m_thread;
};

// A free TCP port of 127.0.0.1 at the time of the call.
int free_port();

// One request on a fresh connection to 127.0.0.1:port, as the application makes it: the number
// of bytes received until the peer closed (0 when nothing connected).
std::size_t request_bytes(int port, const std::string& request);

// One exchange on a fresh connection: sends `request` as it is and reads until the server
// closes or `timeout_ms` passes. Returns the bytes received.
std::string raw_exchange(int port, std::string_view request, int timeout_ms = 5000);

// The parts of a raw HTTP response: status line, head and body (after the first blank line).
struct RawResponse final {
    std::string status_line;
    std::string head;
    std::string body;
};
RawResponse split_response(const std::string& bytes);

}  // namespace zt::peers
