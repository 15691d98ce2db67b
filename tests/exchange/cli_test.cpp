// zorvan-cli fetch, update and server-test on a program folder against the real server, directly
// and through tinyproxy as the folder's settings.ini asks.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "core/genres.h"
#include "storage/data_files.h"
#include "test_support.h"
#include "tools/peers/peers.h"

namespace zt::test {
namespace {

using peers::CapturePeer;
using peers::free_port;
using peers::ProxyProcess;
using peers::ServerProcess;

struct CliResult {
    int status = -1;
    std::string err;
};

CliResult cli(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ZT_NET_TIMEOUT_MS", "1500");
    p.setProcessEnvironment(env);
    p.start(QString(ZT_BINARY_DIR) + "/tools/zorvan-cli", args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            p.readAllStandardError().toStdString()};
}

std::unique_ptr<all_list> load(const QString& dir, user_account& user) {
    auto store = make_store(at("2026-12-10 12:00"));
    store->exe_dir = dir.toStdString() + "/";
    Recorder ui;
    NullProgress progress;
    EXPECT_TRUE(load_data_files({*store, ui, progress, user}));
    return store;
}

TEST(Cli, FetchThenUpdateFillAnEmptyFolder) {
    ServerProcess server;
    QTemporaryDir dir;
    const QString host = QString::fromStdString(server.address());
    const QStringList login{"--host", host, "--login", "paid", "--password", "secret"};

    const CliResult test = cli({"server-test", dir.path(), "--host", host});
    EXPECT_EQ(test.status, 0) << test.err;

    // The folder does not exist yet: fetch makes it.
    const QString folder = dir.filePath("new/tv");
    const CliResult fetch =
        cli(QStringList{"fetch", folder, "--packages", "1", "--create-groups"} + login);
    ASSERT_EQ(fetch.status, 0) << fetch.err;
    EXPECT_NE(fetch.err.find("Телепрограмма получена."), std::string::npos) << fetch.err;
    user_account user;
    auto store = load(folder, user);
    ASSERT_FALSE(store->channels.empty());
    std::size_t programmes = 0;
    for (const auto& c : store->channels) programmes += c->tvprog.size();
    EXPECT_GT(programmes, 0u);
    EXPECT_EQ(store->chl_groups.size(), 1u);
    EXPECT_EQ(user.paid_login, "paid");

    const CliResult update = cli(QStringList{"update", folder} + login);
    EXPECT_EQ(update.status, 0) << update.err;
    user_account again;
    auto after = load(folder, again);
    EXPECT_EQ(after->channels.size(), store->channels.size());

    // A wrong password is the server's message and a failure; the folder keeps its data.
    const CliResult wrong =
        cli({"update", folder, "--host", host, "--login", "paid", "--password", "nope"});
    EXPECT_NE(wrong.status, 0);
    EXPECT_NE(wrong.err.find("Сервер сообщает:\n"), std::string::npos) << wrong.err;
}

// A paid user's folder: marks and reminders set after the first download survive every
// update, an unchanged server answers "Нового нет.", and the delivered report is saved, so the
// next update does not send it again.
TEST(Cli, PaidUpdatesKeepMarksAndSaveTheReport) {
    ServerProcess server;
    QTemporaryDir dir;
    const QString host = QString::fromStdString(server.address());
    const QStringList login{"--host", host, "--login", "paid", "--password", "secret"};
    const CliResult fetch = cli(QStringList{"fetch", dir.path(), "--packages", "1"} + login);
    ASSERT_EQ(fetch.status, 0) << fetch.err;
    std::vector<std::pair<std::int32_t, DateTime>> marked;
    {
        user_account user;
        auto store = load(dir.path(), user);
        for (const auto& c : store->channels)
            for (std::size_t i = 0; i < c->tvprog.size(); i += 5) {
                (i % 2 ? c->tvprog[i]->alarm : c->tvprog[i]->mark) = 1;
                marked.emplace_back(c->tvprog[i]->id, c->tvprog[i]->start);
            }
        Recorder ui;
        NullProgress progress;
        ASSERT_TRUE(save_data_files({*store, ui, progress, user}, true, true, true, true));
    }
    ASSERT_FALSE(marked.empty());
    for (int round = 0; round < 2; ++round) {
        const CliResult update = cli(QStringList{"update", dir.path()} + login);
        EXPECT_EQ(update.status, 0) << update.err;
        EXPECT_NE(update.err.find("Нового нет."), std::string::npos) << round << ": " << update.err;
        user_account user;
        auto store = load(dir.path(), user);
        std::size_t kept = 0, reported = 0;
        for (const auto& c : store->channels)
            for (const auto& p : c->tvprog)
                if (p->mark || p->alarm) {
                    ++kept;
                    reported += p->reported;
                }
        EXPECT_EQ(kept, marked.size()) << round;
        EXPECT_EQ(reported, marked.size()) << round;
    }
}

TEST(Cli, ThroughTheProxyOfTheSettings) {
    ServerProcess server;
    ProxyProcess proxy("user", "pw");
    for (const char* password : {"pw", "wrong"}) {
        QTemporaryDir dir;
        QFile ini(dir.filePath("settings.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(("[GP]\r\nCI=0\r\nCP=1\r\nES=127.0.0.1\r\nEP=" + std::to_string(proxy.port()) +
                   "\r\nEU=user\r\nED=" + password + "\r\n[ZORVAN]\r\nHOST=" + server.address() +
                   "\r\n")
                      .c_str());
        ini.close();
        const CliResult r = cli({"fetch", dir.path(), "--packages", "1"});
        if (std::string(password) == "pw") {
            EXPECT_EQ(r.status, 0) << r.err;
        } else {
            EXPECT_NE(r.status, 0);
            EXPECT_NE(r.err.find("Ошибка: Сервер вернул ошибочный ответ (401 Unauthorized)."),
                      std::string::npos)
                << r.err;
            EXPECT_FALSE(QFile::exists(dir.filePath("dat/u.dat")));
        }
    }
}

TEST(Cli, SilentServerTimesOut) {
    ServerProcess server("silent");
    QTemporaryDir dir;
    const CliResult r =
        cli({"update", dir.path(), "--host", QString::fromStdString(server.address())});
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("Ошибка: сервер не отвечает (нет данных 2 с)."), std::string::npos)
        << r.err;
}

}  // namespace
}  // namespace zt::test
