// Several zorvan-server processes on one PostgreSQL database, behind nginx: a process killed
// under load, the database restarted under a running server, and what one process writes seen
// by all.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <set>
#include <thread>

#include "core/cp1251.h"
#include "core/text_helpers.h"
#include "net/protocol/text_reply.h"
#include "scale_fixture.h"
#include "tools/peers/peers.h"

namespace zt::test {
namespace {

using namespace std::chrono_literals;

class NodeLost : public ScaleTest {
protected:
    void SetUp() override {
        m_need_nginx = true;
        ScaleTest::SetUp();
    }
};

// zorvan-cli fetch of package 1 as the paid user into `dir` from the server on `port`.
int fetch(const QString& dir, int port, std::string* output) {
    return run(
        {cli_exe(), "fetch", dir.toStdString(), "--host", "127.0.0.1:" + std::to_string(port),
         "--login", "ivan", "--password", "secret", "--packages", "1"},
        output, {"ZT_NET_TIMEOUT_MS=3000"});
}

std::string dump(const QString& dir) {
    std::string out;
    EXPECT_EQ(run({cli_exe(), "dump", dir.toStdString()}, &out), 0) << out;
    return out;
}

bool has_data_files(const QString& dir) {
    return !QDir(dir + "/dat").entryList({"*.dat"}, QDir::Files).isEmpty();
}

const char* kDatabaseDown =
    "Сервер временно не может прочитать свою базу данных. Повторите попытку через несколько "
    "минут.";

// 100 schedule downloads at once through nginx while one of the three processes is killed and
// started again: each download completes with the bytes a single process sends, or fails with
// the client's message and succeeds when tried again. Client folders filled by zorvan-cli at the
// same time hold either nothing or the whole download, and the database is left as it was.
TEST_F(NodeLost, HundredDownloadsThroughNginxWhileAServerIsKilled) {
    std::vector<int> ports;
    std::vector<std::unique_ptr<ServeProcess>> servers;
    for (int i = 0; i < 3; ++i) {
        ports.push_back(peers::free_port());
        servers.push_back(std::make_unique<ServeProcess>(m_db, ports.back(), m_at));
    }
    peers::NginxProcess nginx(ports);
    const std::string body = schedule_body();
    std::string reference;
    {
        Client direct(ports[0]);
        ASSERT_TRUE(direct.call(paid_query("get_tvprog"), body, reference))
            << direct.ctx.last_error;
    }
    ASSERT_GT(reference.size(), 100000u);
    QTemporaryDir dirs;
    std::string out;
    ASSERT_EQ(fetch(dirs.filePath("reference"), ports[0], &out), 0) << out;
    const std::string reference_dump = dump(dirs.filePath("reference"));
    const std::string before = content_digest();

    struct Outcome final {
        bool ok = false;
        bool same = false;
        std::vector<std::string> messages;
    };
    constexpr int kDownloads = 100;
    constexpr int kFolders = 6;
    std::vector<Outcome> downloads(kDownloads);
    std::atomic<int> finished{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < kDownloads; ++i)
        threads.emplace_back([&, i] {
            Client client(nginx.port());
            for (int attempt = 0; attempt < 5 && !downloads[i].ok; ++attempt) {
                std::string got;
                if (client.call(paid_query("get_tvprog"), body, got)) {
                    downloads[i].ok = true;
                    downloads[i].same = got == reference;
                } else {
                    downloads[i].messages.push_back(client.ctx.last_error);
                    std::this_thread::sleep_for(200ms);
                }
            }
            ++finished;
        });
    struct FolderOutcome final {
        int failures = 0;
        bool half_applied = false;
        bool ok = false;
        std::string last_output;
    };
    std::vector<FolderOutcome> folders(kFolders);
    for (int k = 0; k < kFolders; ++k)
        threads.emplace_back([&, k] {
            const QString dir = dirs.filePath(QStringLiteral("client%1").arg(k));
            for (int attempt = 0; attempt < 4 && !folders[k].ok; ++attempt) {
                folders[k].ok = fetch(dir, nginx.port(), &folders[k].last_output) == 0;
                if (folders[k].ok) break;
                ++folders[k].failures;
                // A failed download leaves the new folder without any data file.
                if (has_data_files(dir)) folders[k].half_applied = true;
                std::this_thread::sleep_for(200ms);
            }
        });
    // The kill lands while most downloads are on their way.
    for (int i = 0; i < 200 && finished < 3; ++i) std::this_thread::sleep_for(5ms);
    servers[1]->kill_now();
    std::this_thread::sleep_for(300ms);
    servers[1]->start();
    for (auto& t : threads) t.join();

    int failed_once = 0;
    std::set<std::string> messages;
    for (int i = 0; i < kDownloads; ++i) {
        messages.insert(downloads[i].messages.begin(), downloads[i].messages.end());
        EXPECT_TRUE(downloads[i].ok) << "download " << i << " never completed";
        EXPECT_TRUE(downloads[i].same) << "download " << i << " got other bytes";
        failed_once += downloads[i].messages.empty() ? 0 : 1;
        for (const auto& m : downloads[i].messages)
            EXPECT_EQ(m.rfind("Ошибка", 0), 0u) << "download " << i << ": " << m;
    }
    int folders_failed = 0;
    for (int k = 0; k < kFolders; ++k) {
        EXPECT_TRUE(folders[k].ok) << folders[k].last_output;
        EXPECT_FALSE(folders[k].half_applied) << "client folder " << k;
        folders_failed += folders[k].failures ? 1 : 0;
        EXPECT_EQ(dump(dirs.filePath(QStringLiteral("client%1").arg(k))), reference_dump)
            << "client folder " << k;
    }
    std::printf(
        "downloads that failed once and then succeeded: %d of %d; client folders: %d of %d\n",
        failed_once, kDownloads, folders_failed, kFolders);
    for (const auto& m : messages) std::printf("  the client's message: %s\n", m.c_str());
    EXPECT_EQ(content_digest(), before);
    // The restarted process serves again, directly.
    std::string again;
    Client direct(ports[1]);
    EXPECT_TRUE(direct.call(paid_query("get_tvprog"), body, again)) << direct.ctx.last_error;
    EXPECT_EQ(again, reference);
}

// The database stops under a running server: its calls fail with an error reply that the
// application shows, the process goes on, and once the database is back every worker serves
// again on a new connection without the server being restarted.
TEST_F(ScaleTest, DatabaseRestartedWhileServing) {
    ServeProcess server(m_db, peers::free_port(), m_at);
    const std::string body = schedule_body();
    struct Call final {
        std::string query, body, reply;
    };
    std::vector<Call> calls = {{paid_query("login_check"), "", ""},
                               {"?func=get_paket", "", ""},
                               {paid_query("get_tvprog"), body, ""}};
    Client client(server.port());
    for (auto& c : calls) ASSERT_TRUE(client.call(c.query, c.body, c.reply)) << c.query;

    m_pg->stop();
    for (const auto& c : calls) {
        std::string got;
        ASSERT_TRUE(client.call(c.query, c.body, got)) << client.ctx.last_error;
        const auto message = protocol::read_error_reply(got);
        ASSERT_TRUE(message) << c.query << ": " << got.substr(0, 80);
        EXPECT_EQ(to_utf8(*message), kDatabaseDown);
    }
    EXPECT_TRUE(server.running());

    m_pg->start();
    // More calls at once than the server has workers, so that every worker meets its stale
    // connection.
    std::vector<std::thread> threads;
    std::mutex mutex;
    std::vector<std::string> wrong;
    for (int t = 0; t < 16; ++t)
        threads.emplace_back([&] {
            Client c(server.port());
            for (const auto& call : calls) {
                std::string got;
                const bool ok = c.call(call.query, call.body, got);
                if (!ok || got != call.reply) {
                    std::lock_guard lock(mutex);
                    wrong.push_back(call.query + ": " +
                                    (ok ? got.substr(0, 80) : c.ctx.last_error));
                }
            }
        });
    for (auto& t : threads) t.join();
    EXPECT_TRUE(wrong.empty()) << wrong.front();
    EXPECT_NE(server.log().find("zorvan-server: database: "), std::string::npos);
}

// What one process or command writes, every process serves: an account at once, an ingest
// within a second (each process looks at the generation at most every quarter second).
TEST_F(ScaleTest, EveryProcessServesWhatAnyOneWrote) {
    std::vector<std::unique_ptr<ServeProcess>> servers;
    for (int i = 0; i < 3; ++i)
        servers.push_back(std::make_unique<ServeProcess>(m_db, peers::free_port(), m_at));
    const std::string body = schedule_body();
    std::vector<std::string> before;
    for (const auto& s : servers) {
        Client c(s->port());
        std::string got;
        ASSERT_TRUE(c.call(paid_query("get_tvprog"), body, got)) << c.ctx.last_error;
        before.push_back(got);
    }
    EXPECT_EQ(before[1], before[0]);
    EXPECT_EQ(before[2], before[0]);

    std::string out;
    ASSERT_EQ(
        run({server_exe(), "account", "--db", m_db, "--login", "olga", "--password", "pw"}, &out),
        0)
        << out;
    for (const auto& s : servers) {
        Client c(s->port());
        std::string got;
        ASSERT_TRUE(c.call("?func=login_check&l=olga&p=" + md5_hex("pw"), "", got));
        EXPECT_FALSE(protocol::read_error_reply(got)) << "port " << s->port();
    }

    ASSERT_EQ(run({server_exe(), "ingest", "--db", m_db, "--generated", "small", "--at", m_at,
                   "--seed", "2"},
                  &out),
              0)
        << out;
    std::this_thread::sleep_for(1s);
    std::vector<std::string> after;
    for (const auto& s : servers) {
        Client c(s->port());
        std::string got;
        ASSERT_TRUE(c.call(paid_query("get_tvprog"), body, got)) << c.ctx.last_error;
        after.push_back(got);
    }
    EXPECT_NE(after[0], before[0]);
    EXPECT_EQ(after[1], after[0]);
    EXPECT_EQ(after[2], after[0]);
}

}  // namespace
}  // namespace zt::test
