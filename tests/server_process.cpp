#include "server_process.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>

#include <csignal>

namespace zt::test {

int run_server_command(const QStringList& args, std::string* output) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral(ZT_SERVER_EXE), args);
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    if (output) *output = p.readAll().toStdString();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

ServerProcess::ServerProcess(const QStringList& args) {
    m_process.setReadChannel(QProcess::StandardError);
    // As a service manager starts it: SIGPIPE at its default (ending the process), whatever
    // the test's own environment ignores.
    m_process.setChildProcessModifier([] { ::signal(SIGPIPE, SIG_DFL); });
    m_process.start(QStringLiteral(ZT_SERVER_EXE),
                    QStringList{"serve", "--listen", "127.0.0.1:0"} + args);
    QElapsedTimer timer;
    timer.start();
    while (m_port == 0 && timer.elapsed() < 10000) {
        m_process.waitForReadyRead(100);
        m_log += m_process.readAllStandardError().toStdString();
        const auto at = m_log.find("listening on 127.0.0.1:");
        if (at != std::string::npos && m_log.find('\n', at) != std::string::npos)
            m_port = std::atoi(m_log.c_str() + at + 23);
        if (m_process.state() == QProcess::NotRunning) break;
    }
    if (m_port == 0) ADD_FAILURE() << "zorvan-server did not start: " << m_log;
}

ServerProcess::~ServerProcess() {
    stop();
}

int ServerProcess::stop() {
    if (m_process.state() == QProcess::NotRunning)
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    ::kill(pid_t(m_process.processId()), SIGTERM);
    if (!m_process.waitForFinished(10000)) {
        m_process.kill();
        m_process.waitForFinished();
        return -1;
    }
    log();
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

std::size_t ServerProcess::peak_memory_kb() const {
    QFile status(QStringLiteral("/proc/%1/status").arg(m_process.processId()));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toULong();
    return 0;
}

std::string ServerProcess::log() {
    m_log += m_process.readAllStandardError().toStdString();
    return m_log;
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

}  // namespace zt::test
