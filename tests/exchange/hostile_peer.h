#pragma once

// A small hostile HTTP server written in the test, and zorvan-cli run against it as a child
// process whose peak memory is read when it ends.

#include <QStringList>
#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace zt::test {

// Serves one connection after another on a free 127.0.0.1 port. Each request is answered by
// the first rule whose text its request line holds (none: the connection is closed at once).
// A rule writes its reply itself, so it can trickle, announce less than it sends or never end;
// `stopping` turns true when the peer is destroyed.
class HostilePeer final {
public:
    using Reply = std::function<void(int fd, const std::atomic<bool>& stopping)>;

    explicit HostilePeer(std::vector<std::pair<std::string, Reply>> rules);
    ~HostilePeer();
    HostilePeer(const HostilePeer&) = delete;
    HostilePeer& operator=(const HostilePeer&) = delete;

    int port() const { return m_port; }
    std::string address() const { return "127.0.0.1:" + std::to_string(m_port); }
    // How many requests a rule's text matched so far.
    int served(const std::string& rule) const;

    // Writes all of `bytes`; false when the client went away.
    static bool send_all(int fd, std::string_view bytes);
    // "HTTP/1.0 200 OK" with a Content-Length of the body, and the body.
    static Reply ok(std::string body);
    // The head and the body, without a length.
    static Reply ok_unsized(std::string body);

private:
    void serve();
    void answer(int fd);

    std::vector<std::pair<std::string, Reply>> m_rules;
    std::vector<std::atomic<int>> m_served;
    int m_listen = -1;
    int m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
};

// A zorvan-cli run: exit status (-1 when it did not end normally), standard error and the
// peak resident memory (its VmHWM, read every few milliseconds while it runs).
struct CliRun final {
    int status = -1;
    std::string err;
    long peak_mb = 0;
};

// Runs zorvan-cli with `args` and the environment `env` ("NAME=value") added, its address
// space capped at `address_space_mb` so that a runaway reader fails instead of taking the
// machine. A run that does not end within `give_up_s` seconds is killed (a hung client then
// fails its test instead of hanging it).
CliRun run_cli(const QStringList& args, const std::vector<std::string>& env,
               long address_space_mb = 3072, int give_up_s = 120);

// The compressed data of a section (a zlib stream without its two header bytes) holding
// `head`, `zeros` zero bytes and `tail`, compressed as well as zlib can.
std::string zero_section(std::string_view head, std::size_t zeros, std::string_view tail = {});

}  // namespace zt::test
