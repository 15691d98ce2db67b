// Every call of the server over raw sockets with the application's exact request bytes (LF
// line ends, "Content-length", the absolute form a proxy forwards).
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <map>
#include <set>

#include "core/cp1251.h"
#include "core/text_helpers.h"
#include "net/protocol/login_reply.h"
#include "net/protocol/paket_list.h"
#include "net/protocol/schedule_reply.h"
#include "net/protocol/schedule_request.h"
#include "net/protocol/text_reply.h"
#include "net/protocol/update_script.h"
#include "server/database.h"
#include "server_fixture.h"

namespace zt::test {
namespace {

using namespace zt::protocol;

class Calls : public ServedDatabase {};

TEST_F(Calls, TestPageAndSitePages) {
    EXPECT_NE(get_body("/test.htm").find("TEST OK"), std::string::npos);
    for (const char* page :
         {"/", "/cgi-bin/user.cgi", "/docs/help.htm", "/cgi-bin/page.cgi?func=vers"})
        EXPECT_NE(get_body(page).find("<html>"), std::string::npos) << page;
    EXPECT_NE(split_response(get("/nothing.htm")).status_line.find(" 404"), std::string::npos);
}

TEST_F(Calls, LoginCheck) {
    // A free user: no login fields.
    const auto free_reply = read_login_reply(get_body("/cgi-bin/soft.cgi?func=login_check"));
    ASSERT_TRUE(free_reply);
    EXPECT_FALSE(free_reply->reply.paid);
    EXPECT_EQ(free_reply->reply.balance, "");
    EXPECT_EQ(free_reply->reply.version, "2011010101");  // set by the release
    ASSERT_TRUE(free_reply->time_ok);
    // Line 5 is the server's time in UTC: kAt is in the server's zone.
    const QDateTime utc = QDateTime(QDate(2026, 6, 10), QTime(12, 0)).toUTC();
    EXPECT_EQ(format_minute(free_reply->reply.utc_time),
              utc.toString("yyyy-MM-dd hh:mm").toStdString());

    // A paid user, through the absolute form a proxy forwards.
    const std::string paid =
        split_response(
            raw_exchange(port(),
                         "GET http://zorvan.example/cgi-bin/soft.cgi?func=login_check" +
                             paid_fields() +
                             " HTTP/1.0\nHost: zorvan.example\nAccept: */*\nPragma: no-cache\n"
                             "Cache-Control: no-cache\nProxy-Connection: Keep-Alive\n\n"))
            .body;
    const auto paid_reply = read_login_reply(paid);
    ASSERT_TRUE(paid_reply) << paid;
    EXPECT_TRUE(paid_reply->reply.paid);
    EXPECT_EQ(paid_reply->reply.balance, "12345");
    // A free account that signs in: balance shown, not paid.
    const auto petr = read_login_reply(
        get_body("/cgi-bin/soft.cgi?func=login_check&l=petr&p=" + md5_hex("qwerty")));
    ASSERT_TRUE(petr);
    EXPECT_FALSE(petr->reply.paid);
    EXPECT_EQ(petr->reply.balance, "0");

    // Wrong digest, unknown login, odd bytes: an error reply with a Russian message.
    for (const std::string& fields :
         {"&l=ivan&p=" + md5_hex("wrong"), "&l=nobody&p=" + md5_hex("x"),
          std::string("&l=%00%FF%27%22;--&p=%0A"), std::string("&l=\xC8\xE2\xE0\xED&p=1")}) {
        const auto message =
            read_error_reply(get_body("/cgi-bin/soft.cgi?func=login_check" + fields));
        ASSERT_TRUE(message) << fields;
        EXPECT_EQ(*message, to_cp1251("Неверный логин или пароль.")) << fields;
    }
}

TEST_F(Calls, PackageList) {
    const PaketList list = read_paket_list(get_body("/cgi-bin/soft.cgi?func=get_paket"));
    ASSERT_EQ(list.channels.size(), 10u);
    for (const auto& c : list.channels) {
        EXPECT_EQ(c.stamp.size(), 8u);
        EXPECT_EQ(c.logo16.substr(0, 2), "BM");
    }
    ASSERT_GE(list.pakets.size(), 2u);
    EXPECT_EQ(list.pakets[0].parent, 0);
    EXPECT_EQ(list.pakets[0].entries.size(), 10u);
    std::set<std::int32_t> seen;
    for (const auto& p : list.pakets) {
        // Parents first.
        if (p.parent != 0) {
            EXPECT_TRUE(seen.count(p.parent)) << p.id;
        }
        seen.insert(p.id);
    }
}

struct Reply final {
    std::map<std::int32_t, ChannelDetails> details;
    std::map<std::int32_t, std::vector<std::string>> prog_days, anons_days;
    std::size_t blocks = 0;
    std::size_t pictures = 0;  // announcement pictures that decode (GIF on the wire)
};

Reply read_reply(const std::string& body) {
    Reply r;
    for (const auto& b : read_schedule_reply(body)) {
        ++r.blocks;
        const std::string payload = inflate_payload(b.compressed);
        if (b.type == BlockType::Channel) r.details[b.channel_id] = decode_channel_details(payload);
        if (b.type == BlockType::Announcements) {
            const auto anons = decode_announcements(payload);
            EXPECT_FALSE(anons.empty());
            for (const auto& a : anons) r.pictures += a.picture.substr(0, 2) == "BM";
            r.anons_days[b.channel_id].push_back(b.day);
        }
        if (b.type == BlockType::Programmes) {
            for (const auto& p : decode_programmes(payload)) EXPECT_LT(p.start, p.finish);
            r.prog_days[b.channel_id].push_back(b.day);
        }
    }
    return r;
}

class Schedule : public ServedDatabase {
protected:
    void SetUp() override {
        for (const auto& c : read_paket_list(get_body("/cgi-bin/soft.cgi?func=get_paket")).channels)
            ids.push_back(c.id);
        ASSERT_GE(ids.size(), 2u);
    }
    std::string tvprog(const std::string& fields, const ScheduleRequest& request) {
        return post_body("/cgi-bin/soft.cgi?func=get_tvprog" + fields,
                         write_schedule_request(request));
    }
    std::vector<std::int32_t> ids;
};

TEST_F(Schedule, NewClientGetsThreeWeeksAndHeldDaysAreNotSentAgain) {
    ScheduleRequest fresh;
    fresh.channels = {{ids[0], "", {}}, {ids[1], "", {}}};
    const Reply all = read_reply(tvprog(paid_fields() + "&a=1", fresh));
    ASSERT_EQ(all.details.size(), 2u);
    // Monday of the previous week to Sunday of the next one.
    ASSERT_EQ(all.prog_days.at(ids[0]).size(), 21u);
    EXPECT_EQ(all.prog_days.at(ids[0]).front(), "2026-06-01");
    EXPECT_EQ(all.prog_days.at(ids[0]).back(), "2026-06-21");
    EXPECT_FALSE(all.anons_days.empty());
    EXPECT_GT(all.pictures, 0u);

    // The client now holds every day but 2026-06-10 of the first channel at the full level.
    WantedChannel held{ids[0], all.details.at(ids[0]).stamp, {}};
    for (const auto& day : all.prog_days.at(ids[0]))
        if (day != "2026-06-10") held.days.push_back({day, 1, 1});
    ScheduleRequest again;
    again.channels = {held};
    const Reply one = read_reply(tvprog(paid_fields() + "&a=1", again));
    EXPECT_TRUE(one.details.empty());
    EXPECT_EQ(one.prog_days.at(ids[0]), std::vector<std::string>{"2026-06-10"});

    // Everything held: an empty body. A free user is content with free-level days.
    held.days.push_back({"2026-06-10", 1, 1});
    again.channels = {held};
    EXPECT_EQ(tvprog(paid_fields() + "&a=1", again), "");
    for (auto& d : held.days) d = {d.date, 0, 0};
    again.channels = {held};
    EXPECT_EQ(tvprog("&a=1", again), "");
    // A paid user without announcements gets the free-level days again, without type 2.
    const Reply upgrade = read_reply(tvprog(paid_fields() + "&a=0", again));
    EXPECT_EQ(upgrade.prog_days.at(ids[0]).size(), 21u);
    EXPECT_TRUE(upgrade.anons_days.empty());

    // The client's list in any order, a day twice at two levels (the better one counts) and
    // dates that are no days: the same answer; with the day only at the lower level, it comes.
    std::vector<protocol::HeldDay> shuffled;
    for (auto it = all.prog_days.at(ids[0]).rbegin(); it != all.prog_days.at(ids[0]).rend(); ++it)
        shuffled.push_back({*it, 1, 1});
    shuffled.insert(shuffled.begin() + 5, {"2026-06-10", 0, 0});
    shuffled.push_back({"2026-13-01", 1, 1});
    shuffled.push_back({"junk", 1, 1});
    again.channels = {{ids[0], all.details.at(ids[0]).stamp, shuffled}};
    EXPECT_EQ(tvprog(paid_fields() + "&a=1", again), "");
    std::erase_if(shuffled, [](const auto& d) { return d.date == "2026-06-10" && d.full == 1; });
    again.channels = {{ids[0], all.details.at(ids[0]).stamp, shuffled}};
    EXPECT_EQ(read_reply(tvprog(paid_fields() + "&a=1", again)).prog_days.at(ids[0]),
              std::vector<std::string>{"2026-06-10"});

    // A stale stamp sends the details and every day again.
    held.stamp = "00000000";
    again.channels = {held};
    const Reply stale = read_reply(tvprog("&a=1", again));
    EXPECT_EQ(stale.details.size(), 1u);
    EXPECT_EQ(stale.prog_days.at(ids[0]).size(), 21u);
    EXPECT_TRUE(stale.anons_days.empty());  // announcements only for paid users
}

TEST_F(Schedule, MarksAreStoredPerAccount) {
    ScheduleRequest r;
    r.channels = {{ids[0], "", {}}};
    r.pakets = {1};
    r.marks = {{ids[0], {{4242, 2}, {4243, 0xFE}}}, {ids[1], {{4244, 3}}}};
    EXPECT_FALSE(tvprog(paid_fields() + "&a=0", r).empty());
    server::Database db(QString::fromStdString(db_path()));
    QSqlQuery q = db.exec(
        "SELECT login, channel_id, prog_id, state FROM marks WHERE prog_id >= "
        "4242 ORDER BY prog_id");
    std::vector<std::string> rows;
    while (q.next())
        rows.push_back(
            q.value(0).toByteArray().toStdString() + " " + q.value(1).toString().toStdString() +
            " " + q.value(2).toString().toStdString() + " " + q.value(3).toString().toStdString());
    EXPECT_EQ(rows, (std::vector<std::string>{"ivan " + std::to_string(ids[0]) + " 4242 2",
                                              "ivan " + std::to_string(ids[0]) + " 4243 254",
                                              "ivan " + std::to_string(ids[1]) + " 4244 3"}));
}

TEST_F(Schedule, UnknownChannelsAndDuplicatesAreSkipped) {
    ScheduleRequest r;
    r.channels = {{999999, "", {}}, {ids[0], "", {}}, {ids[0], "", {}}};
    const Reply reply = read_reply(tvprog("&a=0", r));
    EXPECT_EQ(reply.details.size(), 1u);
    EXPECT_EQ(reply.prog_days.at(ids[0]).size(), 21u);
}

TEST_F(Calls, UpdateScriptAndFiles) {
    const auto script = read_update_script(get_body("/cgi-bin/soft.cgi?func=update"));
    ASSERT_EQ(script.size(), 2u);
    EXPECT_EQ(script[1], (UpdateCommand{"GET", "zorvan_tv", ""}));
    EXPECT_EQ(get_body("/cgi-bin/soft.cgi?func=get_file&name=zorvan_tv"),
              "\x7f"
              "ELF new program");
    for (const char* name : {"../server.db", "server.db", "", "%2e%2e%2fserver.db"})
        EXPECT_NE(split_response(get(std::string("/cgi-bin/soft.cgi?func=get_file&name=") + name))
                      .status_line.find(" 404"),
                  std::string::npos)
            << name;
}

TEST_F(Calls, HostileRequests) {
    const std::string bad_request = to_cp1251("Ошибка в запросе телепрограммы.");
    // A count beyond the body, a cut-off body, an empty POST body.
    std::string beyond = write_schedule_request({});
    beyond[0] = '\x40';
    for (const std::string& body : {beyond, std::string("\x01\x00\x00\x00\x05", 5)})
        EXPECT_EQ(read_error_reply(post_body("/cgi-bin/soft.cgi?func=get_tvprog&a=0", body)),
                  bad_request);
    EXPECT_EQ(read_error_reply(get_body("/cgi-bin/soft.cgi?func=get_tvprog&a=0")), bad_request);
    EXPECT_EQ(read_error_reply(get_body("/cgi-bin/soft.cgi?func=format_disk")),
              to_cp1251("Неизвестный запрос."));
    // A body over the cap is refused before it is read; an endless head is cut off.
    EXPECT_NE(raw_exchange(port(),
                           "POST /cgi-bin/soft.cgi?func=get_tvprog HTTP/1.0\n"
                           "Content-length: 20000000\n\n")
                  .find(" 413 "),
              std::string::npos);
    EXPECT_NE(raw_exchange(port(), "GET / HTTP/1.0\nX: " + std::string(20000, 'a')).find(" 431 "),
              std::string::npos);
    for (const char* junk : {"\n\n", "GARBAGE\n\n", "GET  HTTP/1.0\n\n", "\x01\x02 \x03\n\n"})
        EXPECT_NE(raw_exchange(port(), junk).find(" 400 "), std::string::npos) << junk;
    // The server is still there.
    EXPECT_NE(get_body("/test.htm").find("TEST OK"), std::string::npos);
}

// The replies the server writes itself (the schedule from its stored blocks) are byte for byte,
// head included, those of the HTTP library, which still writes a reply when the client asks for
// a content coding.
TEST_F(Schedule, RepliesWrittenByTheServerAreTheLibrarysBytes) {
    ScheduleRequest fresh, some, none;
    for (std::int32_t id : ids) fresh.channels.push_back({id, "", {}});
    const Reply all = read_reply(tvprog(paid_fields() + "&a=1", fresh));
    WantedChannel held{ids[0], all.details.at(ids[0]).stamp, {}};
    for (const auto& day : all.prog_days.at(ids[0]))
        if (day != "2026-06-10" && day != "2026-06-15") held.days.push_back({day, 1, 1});
    some.channels = {held, {ids[1], "", {}}, {999999, "", {}}};
    WantedChannel every{ids[0], all.details.at(ids[0]).stamp, {}};
    for (const auto& day : all.prog_days.at(ids[0])) every.days.push_back({day, 0, 0});
    none.channels = {every};
    const std::string head =
        " HTTP/1.0\nHost: zorvan.example\nAccept: */*\nPragma: no-cache\nCache-Control: "
        "no-cache\n";
    auto post_of = [&](const std::string& target, const std::string& body) {
        return "POST " + target + head + "Content-length: " + std::to_string(body.size()) + "\n" +
               "\n" + body;
    };
    const std::string tvprog = "/cgi-bin/soft.cgi?func=get_tvprog";
    const std::vector<std::pair<std::string, std::string>> requests = {
        {"login, free", "GET /cgi-bin/soft.cgi?func=login_check" + head + "\n"},
        {"login, paid", "GET /cgi-bin/soft.cgi?func=login_check" + paid_fields() + head + "\n"},
        {"login, wrong", "GET /cgi-bin/soft.cgi?func=login_check&l=ivan&p=0" + head + "\n"},
        {"packages", "GET /cgi-bin/soft.cgi?func=get_paket" + head + "\n"},
        {"update", "GET /cgi-bin/soft.cgi?func=update" + head + "\n"},
        {"file", "GET /cgi-bin/soft.cgi?func=get_file&name=zorvan_tv" + head + "\n"},
        {"everything", post_of(tvprog + paid_fields() + "&a=1", write_schedule_request(fresh))},
        {"free, everything", post_of(tvprog + "&a=0", write_schedule_request(fresh))},
        {"some days", post_of(tvprog + paid_fields() + "&a=1", write_schedule_request(some))},
        {"nothing new", post_of(tvprog + "&a=0", write_schedule_request(none))},
    };
    for (const auto& [name, request] : requests) {
        const std::string own = raw_exchange(port(), request);
        // The same request asking for no coding at all: the library writes the reply.
        const std::string by_library = raw_exchange(
            port(), request.substr(0, request.find("\n") + 1) + "Accept-Encoding: identity\n" +
                        request.substr(request.find("\n") + 1));
        EXPECT_NE(own.find(" 200 OK\r\n"), std::string::npos) << name;
        EXPECT_EQ(own, by_library) << name;
    }
    // The reply with nothing new is empty, the others are not.
    EXPECT_EQ(split_response(raw_exchange(port(), requests.back().second)).body, "");
}

// Clients that go away in the middle of a long reply, sent from the stored blocks: the server
// gives each up and goes on serving the same blocks.
TEST_F(Schedule, ClientGoneInTheMiddleOfAReply) {
    ScheduleRequest fresh;
    for (std::int32_t id : ids) fresh.channels.push_back({id, "", {}});
    const std::string body = write_schedule_request(fresh);
    const std::string request = "POST /cgi-bin/soft.cgi?func=get_tvprog" + paid_fields() +
                                "&a=1 HTTP/1.0\nContent-length: " + std::to_string(body.size()) +
                                "\n\n" + body;
    for (int i = 0; i < 20; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        // A small window: the server has most of the reply still to send when the client goes.
        const int small = 4096;
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(std::uint16_t(port()));
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        ASSERT_EQ(::send(fd, request.data(), request.size(), MSG_NOSIGNAL),
                  ssize_t(request.size()));
        char buf[1024];
        ASSERT_GT(::recv(fd, buf, sizeof buf, MSG_WAITALL), 0);
        // Closed with unread bytes: a reset, and the server's next write fails.
        const linger reset{1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
        ::close(fd);
    }
    EXPECT_NE(get_body("/test.htm").find("TEST OK"), std::string::npos);
    EXPECT_EQ(read_reply(tvprog(paid_fields() + "&a=1", fresh)).details.size(), ids.size());
}

}  // namespace
}  // namespace zt::test
