// The download sequences against a real zorvan-server: login check, package list, schedule
// download, marks, the forced update, and every fault mode leaving the store as it was.
#include <gtest/gtest.h>

#include <QDir>

#include "core/cp1251.h"
#include "core/text_helpers.h"
#include "net/protocol/schedule_reply.h"
#include "net/protocol/schedule_request.h"
#include "session_fixture.h"
#include "tools/peers/peers.h"

namespace zt::test {
namespace {

using peers::CapturePeer;
using peers::free_port;
using peers::ProxyProcess;
using peers::ServerProcess;

std::size_t programme_count(const all_list& store) {
    std::size_t n = 0;
    for (const auto& c : store.channels) n += c->tvprog.size();
    return n;
}

std::size_t anons_count(const all_list& store) {
    std::size_t n = 0;
    for (const auto& c : store.channels) n += c->anons.size();
    return n;
}

// The interactive sequence, then an automatic one over the same store.
void fetch_all(SessionFixture& f) {
    ASSERT_TRUE(f.session.LoginCheck(0)) << f.last_message();
    ASSERT_TRUE(f.session.GetPakets()) << f.last_message();
    ASSERT_FALSE(f.session.selection.update_pakets.empty());
    f.tick_paket(f.session.selection.update_pakets.front()->id);
    EXPECT_EQ(f.session.GetTvprog(0), net::TvprogOutcome::applied) << f.last_message();
    f.session.ClearSelection();
}

TEST(Session, PaidUserGetsAnnouncementsAndGroups) {
    ServerProcess server;
    SessionFixture f(server.address());
    f.sign_in("paid", "secret");
    fetch_all(f);
    EXPECT_EQ(f.session.paid_user, 1);
    EXPECT_EQ(f.session.controls.status[3], "Платный пользователь"_cp);
    EXPECT_EQ(f.session.controls.status[1], "123 руб. 45 коп."_cp);
    EXPECT_EQ(f.session.controls.status[2], "Подписка"_cp);
    EXPECT_EQ(f.session.controls.status[0], "Иван"_cp);
    EXPECT_EQ(f.user.paid_login, "paid");
    EXPECT_TRUE(f.session.controls.anons);
    EXPECT_GT(programme_count(*f.store), 0u);
    EXPECT_GT(anons_count(*f.store), 0u);
    // The selected package became a group of its channels; the days are full.
    ASSERT_FALSE(f.store->chl_groups.empty());
    EXPECT_EQ(f.store->chl_groups.front()->members.size(), f.store->channels.size());
    for (const auto& c : f.store->channels)
        for (const auto& d : c->dates) EXPECT_EQ(d.full, 1) << d.date;
    EXPECT_EQ(f.host.after, 1);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(f.store->data_dir() + "t.dat")));
    EXPECT_TRUE(f.session.selection.update_channels.empty());

    // A second download names the days held and receives no programmes again.
    const protocol::ScheduleRequest again{f.session.WantedChannels(1), {}, {}};
    std::string reply;
    ASSERT_TRUE(net::HttpExchange(f.ctx, "/cgi-bin/soft.cgi", "?func=get_tvprog&a=1", true,
                                  protocol::write_schedule_request(again), reply));
    for (const auto& b : protocol::read_schedule_reply(reply))
        EXPECT_NE(b.type, protocol::BlockType::Programmes) << b.channel_id << " " << b.day;
}

// v.dat and m.dat that could not be read at start are not written after a download: the
// user's favourites and marks stay on disk (and in the backups) for another try.
TEST(Session, UnreadUserFilesAreNotWrittenAfterADownload) {
    ServerProcess server;
    SessionFixture f(server.address());
    f.sign_in("paid", "secret");
    f.host.favourites_writable = false;
    f.host.marks_writable = false;
    const QString dat = QString::fromStdString(f.store->data_dir());
    const QByteArray damaged("damaged but the user's own");
    for (const char* name : {"v.dat", "m.dat"}) {
        QFile file(dat + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(damaged);
    }
    fetch_all(f);
    EXPECT_TRUE(QFile::exists(dat + "t.dat"));
    EXPECT_TRUE(QFile::exists(dat + "u.dat"));
    for (const char* name : {"v.dat", "m.dat"}) {
        QFile file(dat + name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), damaged) << name;
    }
    EXPECT_FALSE(QFile::exists(dat + "v.bak"));
    EXPECT_FALSE(QFile::exists(dat + "m.bak"));
}

TEST(Session, FreeUserGetsNoAnnouncements) {
    ServerProcess server;
    SessionFixture f(server.address());
    fetch_all(f);
    EXPECT_EQ(f.session.paid_user, 0);
    EXPECT_EQ(f.session.controls.status[3], "Бесплатный пользователь"_cp);
    EXPECT_TRUE(f.session.controls.status[1].empty());
    EXPECT_FALSE(f.session.controls.anons);
    EXPECT_GT(programme_count(*f.store), 0u);
    EXPECT_EQ(anons_count(*f.store), 0u);
    for (const auto& c : f.store->channels)
        for (const auto& d : c->dates) EXPECT_EQ(d.full, 0) << d.date;
}

TEST(Session, MarksAreReportedOnce) {
    ServerProcess server;
    SessionFixture f(server.address());
    fetch_all(f);
    auto& prog = *f.store->channels.front()->tvprog.front();
    prog.mark = 1;
    const auto first = f.session.ReportMarks();
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].entries, (std::vector<protocol::MarkEntry>{{prog.id, 1}}));
    // Still pending: not added twice.
    EXPECT_EQ(f.session.ReportMarks()[0].entries.size(), 1u);
    ASSERT_TRUE(f.session.LoginCheck(1));
    f.session.GetTvprog(1);
    EXPECT_EQ(prog.reported, 1);
    EXPECT_TRUE(f.store->channels.front()->report.empty());
    EXPECT_TRUE(f.session.ReportMarks().empty());
}

TEST(Session, NewVersionAsksAndEnds) {
    ServerProcess server;
    QTemporaryDir files;
    const QString script = files.filePath("script.txt");
    QFile out(script);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("DEL\tnothing.txt\t\n");
    out.close();
    ASSERT_EQ(ServerProcess::run_tool({"release", "--db", server.db(), "--version", "2010113003",
                                       "--script", script.toStdString(), "--files",
                                       files.path().toStdString()}),
              0);
    SessionFixture f(server.address());
    f.ui.answer = false;
    EXPECT_FALSE(f.session.LoginCheck(1));
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_EQ(f.ui.messages[0].kind, MsgKind::Question);
    EXPECT_EQ(f.host.ends, 1);
    EXPECT_EQ(f.host.self_updates, 0);
}

// Every fault ends the automatic download with its message and leaves the store and the data
// folder as they were.
TEST(Session, FaultsLeaveTheStoreUnchanged) {
    struct Case {
        const char* fault;
        MsgKind kind;
        const char* message_start;
    };
    const Case cases[] = {
        {"silent", MsgKind::Error, "Ошибка: сервер не отвечает"},
        {"status302", MsgKind::Error, "Ошибка: Сервер вернул ошибочный ответ (302 Found)."},
        {"head5k", MsgKind::Error, "Ошибка: HTTP заголовок не может быть полностью прочитан."},
        {"truncated", MsgKind::Error, "Ошибка: соединение прервано"},
        {"corrupt-zlib", MsgKind::Error, "Ошибка: сжатый ответ сервера поврежден."},
        // The connection test is a small call: the bomb is refused at its cap.
        {"bomb", MsgKind::Error, "Ошибка: ответ сервера больше 1 Мб."},
        {"error", MsgKind::Server, ""},
    };
    for (const Case& c : cases) {
        ServerProcess server(c.fault);
        SessionFixture f(server.address());
        // A store with channels, as after an earlier download.
        f.store->add_channel(100, "Первый"_cp, "", "00000000", -1);
        const std::string before = f.json();
        const bool tested = net::ServerTest(f.ctx);
        if (tested && f.session.LoginCheck(1)) f.session.GetTvprog(1);
        EXPECT_EQ(f.json(), before) << c.fault;
        ASSERT_FALSE(f.ui.messages.empty()) << c.fault;
        EXPECT_EQ(f.ui.messages.back().kind, c.kind) << c.fault;
        EXPECT_EQ(f.ui.messages.back().text.rfind(c.message_start, 0), 0u)
            << c.fault << ": " << f.ui.messages.back().text;
        EXPECT_TRUE(QDir(QString::fromStdString(f.store->data_dir())).isEmpty()) << c.fault;
    }
}

// Replies the login check must refuse or accept, from a plain peer.
TEST(Session, LoginReplies) {
    struct Case {
        const char* name;
        std::string body;
        bool ok;
        std::string message;
    };
    const Case cases[] = {
        {"empty reply", "", false,
         "Ошибка: сервер прислал неполный ответ на проверку пользователя."},
        {"five lines", "1\nt\n100\nx\n2010113002\n", false,
         "Ошибка: сервер прислал неполный ответ на проверку пользователя."},
        {"server error", "ERROR\nНет такого пользователя\n", false, "Нет такого пользователя"},
        {"time line without a TAB is not checked", "10\nt\n105\nx\n2010113002\n12:00\n", true, ""},
        {"paid, time 6 minutes off",
         "10\nt\n105\nx\n2010113002\n12:06 10.12.2026\t2026-12-10 12:06\n", true,
         "Время на Вашем компьютере не совпадает с временем на сервере. Телепрограмма может "
         "отображаться не верно.\n\nНа Вашем компьютере: 12:00 10.12.2026\nНа сервере: 12:06 "
         "10.12.2026\n\nУказано время по Гринвичу (без учета Вашего часового пояса)."},
        {"5 minutes pass", "0\nt\n\nx\n2010113002\n12:05\t2026-12-10 12:05\n", true, ""},
        {"a one-digit hour is read", "0\nt\n\nx\n2010113002\n9:05 10.12.2026\t2026-12-10 9:05\n",
         true,
         "Время на Вашем компьютере не совпадает с временем на сервере. Телепрограмма может "
         "отображаться не верно.\n\nНа Вашем компьютере: 12:00 10.12.2026\nНа сервере: 9:05 "
         "10.12.2026\n\nУказано время по Гринвичу (без учета Вашего часового пояса)."},
        {"seconds are read", "0\nt\n\nx\n2010113002\n12:04\t2026-12-10 12:04:59\n", true, ""},
        {"an unreadable time is not checked", "0\nt\n\nx\n2010113002\n9:05\t9:05\n", true, ""},
    };
    for (const Case& c : cases) {
        CapturePeer peer("HTTP/1.0 200 OK\n\n" + to_cp1251(c.body));
        SessionFixture f("127.0.0.1:" + std::to_string(peer.port()));
        f.session.utc_now = [] { return at("2026-12-10 12:00"); };
        EXPECT_EQ(f.session.LoginCheck(0), c.ok) << c.name;
        if (c.message.empty())
            EXPECT_TRUE(f.ui.messages.empty()) << c.name << ": " << f.last_message();
        else
            EXPECT_EQ(f.last_message(), c.message) << c.name;
    }
}

TEST(Session, LoginIsEscapedInTheRequestLine) {
    CapturePeer peer("HTTP/1.0 200 OK\n\nERROR\nx\n");
    SessionFixture f("127.0.0.1:" + std::to_string(peer.port()));
    f.sign_in("a b\r\nX: y", "pw");
    f.session.LoginCheck(0);
    const std::string line =
        "GET /cgi-bin/soft.cgi?func=login_check&l=a%20b%0D%0AX:%20y&p=" + md5_hex("pw") +
        " HTTP/1.0\n";
    EXPECT_EQ(peer.request().substr(0, line.size()), line);
}

}  // namespace
}  // namespace zt::test
