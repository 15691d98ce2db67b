#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <string>
#include <string_view>

namespace zt::test {

// Runs `zorvan-server` with the arguments; returns its exit code (standard output and error
// go to `output` when given).
int run_server_command(const QStringList& args, std::string* output = nullptr);

// A `zorvan-server serve` process on 127.0.0.1 and a free port, ended with SIGTERM when the
// object goes.
class ServerProcess final {
public:
    // `args` follow "serve --listen 127.0.0.1:0"; starting failures end the test.
    explicit ServerProcess(const QStringList& args);
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    int port() const { return m_port; }
    qint64 pid() const { return m_process.processId(); }
    // The process's peak resident memory so far (VmHWM), in KiB; 0 when it cannot be read.
    std::size_t peak_memory_kb() const;
    // Sends SIGTERM and waits; returns the exit code (-1 when it had to be killed).
    int stop();
    // What the server wrote on standard error so far.
    std::string log();

private:
    QProcess m_process;
    int m_port = 0;
    std::string m_log;
};

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

}  // namespace zt::test
