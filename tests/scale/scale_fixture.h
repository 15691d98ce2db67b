#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

#include "net/exchange_view.h"
#include "net/http_exchange.h"
#include "test_support.h"
#include "tools/peers/pg_cluster.h"

namespace zt::test {

std::string server_exe();
std::string cli_exe();

// Runs a program to its end; returns its exit code, with what it printed in `output`.
int run(const std::vector<std::string>& args, std::string* output = nullptr,
        const std::vector<std::string>& env = {});

// A `zorvan-server serve` on a fixed port of 127.0.0.1, so that it can be killed and started
// again where nginx expects it.
class ServeProcess final {
public:
    ServeProcess(std::string db, int port, std::string at);
    ~ServeProcess();
    void start();
    void kill_now();  // SIGKILL, no chance to finish anything
    void stop();      // SIGTERM and wait
    int port() const { return m_port; }
    bool running() const;
    // What it wrote on standard error.
    std::string log() const;

private:
    std::string m_db;
    int m_port;
    std::string m_at;
    QTemporaryDir m_dir;  // its log, kept across restarts
    pid_t m_pid = -1;
};

// Exchanges made the application's way, with their messages.
class NullView final : public net::ExchangeView {
public:
    void show_labels(const net::ExchangeLabels&) override {}
    void tick() override {}
};

struct Client final {
    Recorder ui;
    NullView view;
    std::uint8_t cancel = 0;
    net::TrafficCounters traffic;
    net::ExchangeContext ctx{ui, view, cancel, traffic};
    explicit Client(int port);
    // One call of the service script; true with the (inflated) body in `body`.
    bool call(const std::string& query, const std::string& post_body, std::string& body);
};

// A throwaway PostgreSQL cluster with one database holding a generated small schedule for
// now and the paid account ivan/secret; skips the test with a reason where PostgreSQL (or
// nginx, when asked for) cannot run.
class ScaleTest : public ::testing::Test {
protected:
    void SetUp() override;

    // The schedule request of every channel with nothing held, for a paid user with
    // announcements; and its query.
    std::string schedule_body() const;
    static std::string paid_query(const std::string& func);
    // A digest of what the servers serve and keep (days, channels, packages, accounts, the
    // generation), the marks aside.
    std::string content_digest() const;

    bool m_need_nginx = false;
    std::unique_ptr<peers::PgCluster> m_pg;
    std::string m_db;
    std::string m_at;  // the moment the servers and the ingest work at
    std::vector<int> m_channels;
};

}  // namespace zt::test
