// zorvan-cli against a small hostile server written here: replies that inflate far beyond their
// content, bodies longer than their Content-Length, a server that trickles for ever, damaged
// schedule days and package lists of many orphans. Each run is a child process whose address
// space is capped and whose peak memory is checked loosely.
#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QTemporaryDir>
#include <thread>

#include "core/genres.h"
#include "exchange_fixture.h"
#include "hostile_peer.h"
#include "net/protocol/login_reply.h"
#include "net/protocol/paket_list.h"
#include "net/protocol/schedule_reply.h"
#include "storage/data_files.h"
#include "storage/field_codec.h"

namespace zt::test {
namespace {

using protocol::BlockType;
using Reply = HostilePeer::Reply;

std::string day_text(int from_today) {
    return QDate::currentDate().addDays(from_today).toString("yyyy-MM-dd").toStdString();
}

std::string login_reply() {
    protocol::LoginReply r;
    r.time_text = "12:00";
    return protocol::write_login_reply(r);
}

// One channel (id 1) offered in package 1.
std::string small_paket_list() {
    protocol::PaketList list;
    list.channels = {{1, "One", "", "11111111", "", "", ""}};
    list.pakets = {{1, 0, "P1", "", "", "", {{1, "00:00", "1"}}}};
    return protocol::write_paket_list(list);
}

// A programme day of channel 1 with one programme called `title`.
std::string programme_block(const std::string& day, const std::string& title,
                            const std::string& start = "10:00",
                            const std::string& finish = "11:00") {
    protocol::ProgEntry p;
    p.id = 1;
    p.start = at(day + " " + start);
    p.finish = at(day + " " + finish);
    p.title = title;
    std::string out;
    protocol::append_block(out, BlockType::Programmes, 1, day,
                           protocol::compress_payload(protocol::encode_programmes({p})));
    return out;
}

// A server that answers the three calls of a download: the login check, the package list and
// the schedule, each replaced when given.
std::vector<std::pair<std::string, Reply>> download_rules(Reply schedule, Reply pakets = nullptr,
                                                          Reply login = nullptr) {
    return {{"func=login_check", login ? login : HostilePeer::ok(login_reply())},
            {"func=get_paket", pakets ? pakets : HostilePeer::ok(small_paket_list())},
            {"func=get_tvprog", schedule}};
}

const std::vector<std::string> kFastNet = {"ZT_NET_TIMEOUT_MS=3000"};

CliRun fetch(const HostilePeer& peer, const QString& dir,
             const std::vector<std::string>& env = kFastNet) {
    return run_cli(
        {"fetch", dir, "--host", QString::fromStdString(peer.address()), "--packages", "1"}, env);
}

std::unique_ptr<all_list> load(const QString& dir) {
    auto store = make_store(at("2026-12-10 12:00"));
    store->exe_dir = dir.toStdString() + "/";
    Recorder ui;
    NullProgress progress;
    user_account user;
    EXPECT_TRUE(load_data_files({*store, ui, progress, user}));
    return store;
}

// Package lists and login replies that would take gigabytes: refused within a budget.
TEST(HostileReplies, PackageListAndLoginReplyStayWithinTheirBudgets) {
    std::string zero_list;
    {
        FieldWriter w(zero_list);
        const std::string channels = zero_section({}, std::size_t(256) << 20);
        w.LongText(channels);
        std::string pakets;
        w.ZSection(pakets);
    }
    struct Case {
        const char* name;
        Reply login;
        Reply pakets;
        const char* message;
    };
    const Case cases[] = {
        {"a package list section of 256 MB of zeros", nullptr, HostilePeer::ok(zero_list),
         "Ошибка данных."},
        {"a login reply of 70 MB lines without a length",
         HostilePeer::ok_unsized("0\n" + std::string(std::size_t(70) << 20, 'x') + "\n\n\n" +
                                 std::string(protocol::kVersionCode) + "\n12:00\n"),
         nullptr, "Ошибка: ответ сервера больше 1 Мб."},
        {"a login reply of 100 KB",
         HostilePeer::ok("0\n" + std::string(100000, 'x') + "\n\n\n" +
                         std::string(protocol::kVersionCode) + "\n12:00\n"),
         nullptr, "Ошибка: сервер прислал неверный ответ на проверку пользователя."},
    };
    for (const Case& c : cases) {
        HostilePeer peer(download_rules(HostilePeer::ok(""), c.pakets, c.login));
        QTemporaryDir dir;
        const CliRun r = fetch(peer, dir.path());
        EXPECT_NE(r.status, 0) << c.name;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.name << ": " << r.err;
        EXPECT_LT(r.peak_mb, 400) << c.name;
        EXPECT_EQ(peer.served("func=get_tvprog"), 0) << c.name;
    }
}

// Schedule replies whose blocks are damaged: each ends in the damaged-reply message, within
// the memory the reply may take.
TEST(HostileReplies, DamagedScheduleBlocksAreRefused) {
    const std::string today = day_text(0);
    // A day of no programmes followed by 64 MB of zeros: bigger than its content says.
    std::string padded;
    {
        std::string count(4, '\0');
        const std::string section = zero_section(count, std::size_t(64) << 20);
        for (int d = 0; d < 10; ++d)
            protocol::append_block(padded, BlockType::Programmes, 1, day_text(d - 3), section);
    }
    // Ten days of one announcement whose 60 MB picture is no picture: every block within the
    // cap, together beyond it.
    std::string beyond_cap;
    {
        std::string head;
        FieldWriter w(head);
        w.Int32(1);
        w.Int32(5);
        w.LongText("");
        w.Int32(60 << 20);
        const std::string section = zero_section(head, std::size_t(60) << 20);
        for (int d = 0; d < 10; ++d)
            protocol::append_block(beyond_cap, BlockType::Announcements, 1, day_text(d - 3),
                                   section);
    }
    std::string not_a_day = programme_block(today, "Day");
    not_a_day.replace(not_a_day.find(today), 10, "XXXXXXXXXX");
    struct Case {
        const char* name;
        std::string reply;
    };
    const Case cases[] = {
        {"ten blocks of 64 MB of zeros after an empty day", padded},
        {"ten blocks of 60 MB each, 600 MB together", beyond_cap},
        {"a day that is not a date", not_a_day},
        {"a finish before the start", programme_block(today, "Back", "12:00", "11:00")},
    };
    for (const Case& c : cases) {
        HostilePeer peer(download_rules(HostilePeer::ok(c.reply)));
        QTemporaryDir dir;
        const CliRun r = fetch(peer, dir.path());
        EXPECT_NE(r.status, 0) << c.name;
        EXPECT_NE(r.err.find("Ошибка при получении телепрограммы."), std::string::npos)
            << c.name << ": " << r.err;
        EXPECT_EQ(r.err.find("Телепрограмма получена."), std::string::npos) << c.name;
        EXPECT_LT(r.peak_mb, 400) << c.name;
    }
}

// A body ends at its Content-Length: 10 MB of junk and a valid block after it are never read.
TEST(HostileReplies, TheBodyEndsAtItsContentLength) {
    const std::string within = programme_block(day_text(0), "Within");
    const std::string after = programme_block(day_text(1), "After");
    HostilePeer peer(download_rules([&](int fd, const std::atomic<bool>&) {
        HostilePeer::send_all(fd, "HTTP/1.0 200 OK\r\nContent-Length: " +
                                      std::to_string(within.size()) + "\r\n\r\n" + within);
        HostilePeer::send_all(fd, std::string(std::size_t(10) << 20, '\0') + after);
    }));
    QTemporaryDir dir;
    const CliRun r = fetch(peer, dir.path());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("Телепрограмма получена."), std::string::npos) << r.err;
    EXPECT_LT(r.peak_mb, 300);
    const auto store = load(dir.path());
    const auto channel = store->find_channel(1);
    ASSERT_TRUE(channel);
    std::vector<std::string> titles;
    for (const auto& p : channel->tvprog) titles.push_back(p->title);
    EXPECT_EQ(titles, std::vector<std::string>{"Within"});
}

// One byte now and then, for ever, after an announced length it never reaches.
Reply trickle() {
    return [](int fd, const std::atomic<bool>& stopping) {
        if (!HostilePeer::send_all(fd, "HTTP/1.0 200 OK\r\nContent-Length: 100000\r\n\r\n")) return;
        while (!stopping && HostilePeer::send_all(fd, "x"))
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
    };
}

// The per-byte time-out never comes; the whole-exchange deadline does, for the small calls
// and for the schedule.
TEST(HostileReplies, ATricklingServerMeetsTheDeadline) {
    const std::vector<std::string> env = {"ZT_NET_TIMEOUT_MS=1000", "ZT_NET_DEADLINE_MS=3000"};
    {
        HostilePeer peer(download_rules(HostilePeer::ok(""), nullptr, trickle()));
        QTemporaryDir dir;
        const CliRun r = fetch(peer, dir.path(), env);
        EXPECT_NE(r.status, 0);
        EXPECT_NE(r.err.find("Ошибка: обмен с сервером не завершен за 3 с (истекло время "
                             "ожидания)."),
                  std::string::npos)
            << r.err;
    }
    {
        HostilePeer peer(download_rules(trickle()));
        QTemporaryDir dir;
        const CliRun r = fetch(peer, dir.path(), env);
        EXPECT_NE(r.status, 0);
        EXPECT_NE(r.err.find("Ошибка: обмен с сервером не завершен за 3 с"), std::string::npos)
            << r.err;
    }
}

// The connection window's Cancel ends a trickling exchange long before its deadline, without
// a message.
TEST(HostileReplies, CancelBeatsTheDeadline) {
    HostilePeer peer({{"/x", trickle()}});
    ExchangeFixture f(peer.address());
    f.ctx.limits.small_deadline = std::chrono::minutes(10);
    f.view.cancel_flag = &f.net_cancel;
    f.view.cancel_after = 20;
    std::string response;
    EXPECT_FALSE(net::HttpExchange(f.ctx, "/x", "", false, "", response));
    EXPECT_TRUE(f.ui.messages.empty()) << f.last_message();
}

// 60,000 packages whose parents are missing, each offering the one channel: read and built as
// a flat tree.
TEST(HostileReplies, PackageListsOfManyOrphans) {
    protocol::PaketList list;
    list.channels = {{1, "One", "", "11111111", "", "", ""}};
    list.pakets = {{1, 0, "P1", "", "", "", {{1, "00:00", "1"}}}};
    for (std::int32_t i = 0; i < 60000; ++i)
        list.pakets.push_back({100 + i, 1000000 + i, "O", "", "", "", {{1, "00:00", "1"}}});
    HostilePeer peer(
        download_rules(HostilePeer::ok(""), HostilePeer::ok(protocol::write_paket_list(list))));
    QTemporaryDir dir;
    const CliRun r = fetch(peer, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("Нового нет."), std::string::npos) << r.err;
    EXPECT_LT(r.peak_mb, 400);
}

}  // namespace
}  // namespace zt::test
