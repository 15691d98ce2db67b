// The real peers of the exchange tests and the download benchmark: zorvan-server and tinyproxy
// started on free ports, and a plain TCP peer for byte-exact checks.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <QTemporaryDir>

namespace zt::peers {

class PgCluster;

// Where the servers below keep their data: a SQLite file in their own folder (nullptr, the
// default), or a new database of this PostgreSQL cluster for each server. The exchange tests run
// once with each (ZT_TEST_DB=postgresql).
void use_postgresql(PgCluster* cluster);

// A real zorvan-server on a free port of 127.0.0.1 with its own database (see
// use_postgresql): generated schedules, a free and a paid account. Stopped when destroyed.
class ServerProcess final {
public:
    // `fault` is a --fault mode or empty; `profile` the generated schedule to ingest.
    explicit ServerProcess(const std::string& fault = "", const std::string& at = "",
                           const std::string& profile = "tiny");
    ~ServerProcess();
    int port() const { return m_port; }
    std::string address() const { return "127.0.0.1:" + std::to_string(m_port); }
    // The --db of the server: a file or a PostgreSQL URL.
    const std::string& db() const { return m_db; }
    // Runs zorvan-server with these arguments to its end (ingest, account, release).
    static int run_tool(const std::vector<std::string>& args);
    static std::string binary();

private:
    QTemporaryDir m_dir;
    std::string m_db;
    pid_t m_pid = -1;
    int m_port = 0;
};

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

}  // namespace zt::peers
