// Throwaway PostgreSQL and nginx peers for the tests, the benchmarks and the scaling demo:
// each started on a free port of 127.0.0.1 from a folder of its own and stopped by its
// process id.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace zt::peers {

// A PostgreSQL cluster made with initdb in a temporary folder and served by its own postgres
// process. PostgreSQL refuses to run as root, so when the caller is root the cluster belongs to
// the unprivileged user "nobody" and its programs run as that user. Connections come over TCP
// on 127.0.0.1 only, for the superuser "zt" without a password (trust).
class PgCluster final {
public:
    // Why no cluster can be started here (PostgreSQL's programs or the user are missing), or
    // empty when one can.
    static std::string unavailable();

    // Makes and starts the cluster; throws std::runtime_error with its log when it cannot.
    PgCluster();
    // Stops the server and removes the folder.
    ~PgCluster();
    PgCluster(const PgCluster&) = delete;
    PgCluster& operator=(const PgCluster&) = delete;

    int port() const { return m_port; }
    pid_t pid() const { return m_pid; }
    // "postgresql://zt@127.0.0.1:PORT/NAME".
    std::string url(const std::string& database) const;
    // Creates an empty database with a new name and returns its URL.
    std::string create_database();
    // Runs one SQL statement through psql on a database; returns its output (unaligned, no
    // headers), throwing when psql fails.
    std::string psql(const std::string& database, const std::string& sql) const;

    // A fast shutdown (connections are ended) and a start again on the same folder and port.
    void stop();
    void start();
    bool running() const { return m_pid > 0; }

private:
    std::string m_bin;   // PostgreSQL's programs
    std::string m_root;  // the temporary folder
    std::string m_data;  // the cluster inside it
    int m_port = 0;
    pid_t m_pid = -1;
    int m_databases = 0;
};

// nginx in front of zorvan-server processes, with a configuration generated into a temporary
// folder: an upstream of the given ports on 127.0.0.1, requests passed on as HTTP/1.0 (as the
// application sends them) and to the next process when one cannot be reached.
class NginxProcess final {
public:
    static std::string unavailable();

    explicit NginxProcess(const std::vector<int>& upstream_ports);
    ~NginxProcess();
    NginxProcess(const NginxProcess&) = delete;
    NginxProcess& operator=(const NginxProcess&) = delete;

    int port() const { return m_port; }
    pid_t pid() const { return m_pid; }
    // The configuration it runs (for a look when something fails).
    const std::string& config() const { return m_config; }
    // Serves these bytes at /static/NAME (the benchmarks' reference); call before start.
    std::string static_folder() const { return m_root + "/static"; }

private:
    std::string m_root;
    std::string m_config;
    int m_port = 0;
    pid_t m_pid = -1;
};

// The configuration NginxProcess writes, for a folder, a listening port and the upstream ports.
std::string nginx_config(const std::string& folder, int port, const std::vector<int>& upstream,
                         bool as_root);

}  // namespace zt::peers
