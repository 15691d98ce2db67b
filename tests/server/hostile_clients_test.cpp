// Hostile clients against a real zorvan-server: bodies and heads past their caps in every
// framing, heads that trickle in, marks reports from nobody or far too many, control bytes for
// the access log, and links and FIFOs in the files folder.
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <thread>
#include <vector>

#include "core/text_helpers.h"
#include "net/protocol/paket_list.h"
#include "net/protocol/schedule_reply.h"
#include "net/protocol/schedule_request.h"
#include "net/protocol/text_reply.h"
#include "server/database.h"
#include "server_fixture.h"

namespace zt::test {
namespace {

using namespace zt::protocol;

constexpr std::size_t kMiB = std::size_t(1) << 20;

int connect_to(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(std::uint16_t(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool send_bytes(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (n <= 0) return false;
        data.remove_prefix(std::size_t(n));
    }
    return true;
}

// True when the server has closed the connection or answered on it.
bool answered_or_closed(int fd) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0;
}

std::string status_of(const std::string& raw) {
    return split_response(raw).status_line;
}

class Hostile : public ServedDatabase {
protected:
    // The suite's server without its access log: nobody reads the log while thousands of
    // refused connections would fill the pipe.
    static void SetUpTestSuite() {
        ServedDatabase::SetUpTestSuite();
        s_server->stop();
        s_server = std::make_unique<ServerProcess>(
            QStringList{"--db", QString::fromStdString(db_path()), "--at", kAt, "--quiet"});
    }
    void SetUp() override {
        for (const auto& c : read_paket_list(get_body("/cgi-bin/soft.cgi?func=get_paket")).channels)
            ids.push_back(c.id);
        ASSERT_GE(ids.size(), 2u);
    }
    // A schedule request of the first channel, with a marks report of `marks` entries.
    std::string schedule_request(std::size_t marks, std::int32_t first_prog = 1) const {
        ScheduleRequest r;
        r.channels = {{ids[0], "", {}}};
        r.pakets = {1};
        MarkReport report{ids[1], {}};
        report.entries.reserve(marks);
        for (std::size_t i = 0; i < marks; ++i)
            report.entries.push_back({first_prog + std::int32_t(i), 1});
        if (marks) r.marks = {report};
        return write_schedule_request(r);
    }
    static long long marks_of(const std::string& login) {
        server::Database db(QString::fromStdString(db_path()));
        QSqlQuery q = db.exec("SELECT COUNT(*) FROM marks WHERE login = ?", server::blob(login));
        return q.next() ? q.value(0).toLongLong() : -1;
    }
    std::vector<std::int32_t> ids;
};

// A chunked body as a client would send it, in pieces of `piece` bytes, with an extension on
// the first size line and a trailer field.
std::string chunked(const std::string& body, std::size_t piece) {
    std::string out;
    for (std::size_t at = 0; at < body.size(); at += piece) {
        const std::size_t n = std::min(piece, body.size() - at);
        char size[32];
        std::snprintf(size, sizeof size, "%zx", n);
        out += size;
        if (at == 0) out += ";name=value";
        out += "\r\n" + body.substr(at, n) + "\r\n";
    }
    return out + "0\r\nX-Trailer: yes\r\n\r\n";
}

TEST_F(Hostile, EveryFramingOfTheBodyIsReadWithinTheCap) {
    const std::string target = "/cgi-bin/soft.cgi?func=get_tvprog&a=0" + paid_fields();
    const std::string body = schedule_request(0);
    const std::string expected = post_body(target, body);
    ASSERT_FALSE(read_schedule_reply(expected).empty());

    // A chunked body is decoded and served like the same body with a length.
    const std::string head = "POST " + target + " HTTP/1.1\r\nHost: zorvan.example\r\n";
    const auto chunked_reply = split_response(
        raw_exchange(port(), head + "Transfer-Encoding: chunked\r\n\r\n" + chunked(body, 7)));
    EXPECT_NE(chunked_reply.status_line.find(" 200 "), std::string::npos) << chunked_reply.head;
    EXPECT_TRUE(chunked_reply.body == expected) << chunked_reply.body.size() << " bytes";

    struct Case {
        std::string framing;  // head lines and what follows the head
        const char* status;
    } cases[] = {
        {"Transfer-Encoding: chunked\r\n\r\n40000000\r\n", " 413 "},  // a 1 GiB chunk
        {"Transfer-Encoding: chunked\r\n\r\nfffffffffffffff\r\n", " 413 "},
        {"Transfer-Encoding: chunked\r\n\r\nzz\r\n", " 400 "},
        {"Transfer-Encoding: chunked\r\n\r\n" + std::string(2000, '1') + "\r\n", " 400 "},
        {"Transfer-Encoding: gzip, chunked\r\n\r\n", " 501 "},
        {"Transfer-Encoding: chunked\r\nContent-Length: 5\r\n\r\n", " 400 "},
        {"Content-Length: 5\r\nContent-Length: 6\r\n\r\n", " 400 "},
        {"Content-Length: 17000000\r\n\r\n", " 413 "},
        // The library would inflate a compressed body without a limit.
        {"Content-Encoding: gzip\r\nContent-Length: 5\r\n\r\n", " 415 "},
        // Trailer fields count as a head.
        {"Transfer-Encoding: chunked\r\n\r\n0\r\nX: " + std::string(20000, 'a'), " 431 "},
    };
    for (const auto& c : cases)
        EXPECT_NE(status_of(raw_exchange(port(), head + c.framing)).find(c.status),
                  std::string::npos)
            << c.framing.substr(0, 80);

    // Four clients each try to send 512 MB chunked in chunks of 1 MB: each is cut off near the
    // cap, and the server's memory stays far below what they tried.
    std::vector<std::size_t> sent(4, 0);
    std::vector<std::thread> clients;
    for (std::size_t i = 0; i < sent.size(); ++i)
        clients.emplace_back([&, i] {
            const int fd = connect_to(port());
            if (fd < 0) return;
            std::string chunk = "100000\r\n" + std::string(kMiB, '\x01') + "\r\n";
            if (send_bytes(fd, head + "Transfer-Encoding: chunked\r\n\r\n"))
                for (int k = 0; k < 512 && send_bytes(fd, chunk); ++k) sent[i] += kMiB;
            ::close(fd);
        });
    for (auto& t : clients) t.join();
    for (const std::size_t n : sent) EXPECT_LT(n, 64 * kMiB);
    const std::size_t peak = s_server->peak_memory_kb();
    EXPECT_GT(peak, 0u);
    EXPECT_LT(peak, 400u * 1024) << "peak resident memory, KiB";
    EXPECT_NE(get_body("/test.htm").find("TEST OK"), std::string::npos);
}

TEST_F(Hostile, TheWholeHeadIsCounted) {
    auto head_of = [](int lines) {
        std::string head = "GET /test.htm HTTP/1.0\n";
        for (int i = 0; i < lines; ++i) head += "X-" + std::to_string(100000 + i) + ": abcdefghi\n";
        return head + "\n";
    };
    // 1,000 lines of 20 bytes: 20 KB in short lines, sent at once.
    ASSERT_EQ(head_of(1000).size(), 23u + 1000 * 20 + 1);
    EXPECT_NE(status_of(raw_exchange(port(), head_of(1000))).find(" 431 "), std::string::npos);
    EXPECT_NE(status_of(raw_exchange(port(), head_of(820))).find(" 431 "), std::string::npos);
    for (const int lines : {790, 500})
        EXPECT_NE(status_of(raw_exchange(port(), head_of(lines))).find(" 200 "), std::string::npos)
            << lines;
}

TEST_F(Hostile, SlowHeadsHoldNoWorker) {
    // 200 connections trickle their heads a byte every 250 ms, ten times the 32 workers; a
    // connection the server cuts is replaced at once, so that 200 are always there.
    constexpr int kSlow = 200;
    std::atomic<bool> stop{false};
    std::atomic<int> open{0}, cut{0}, longest{0};
    std::thread slow([&] {
        struct Conn {
            int fd;
            int sent;
        };
        std::vector<Conn> conns;
        auto add = [&] {
            const int fd = connect_to(port());
            if (fd < 0) return;
            send_bytes(fd, "GET /test.htm HTTP/1.0\n");
            conns.push_back({fd, 0});
        };
        for (int i = 0; i < kSlow; ++i) add();
        open = int(conns.size());
        while (!stop) {
            for (auto& c : conns) {
                if (answered_or_closed(c.fd) || !send_bytes(c.fd, "X")) {
                    ++cut;
                    longest = std::max(longest.load(), c.sent);
                    ::close(c.fd);
                    c.fd = -1;
                    continue;
                }
                ++c.sent;
            }
            const auto gone =
                std::remove_if(conns.begin(), conns.end(), [](const Conn& c) { return c.fd < 0; });
            const auto n = std::distance(gone, conns.end());
            conns.erase(gone, conns.end());
            for (long i = 0; i < n; ++i) add();
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
        }
        for (auto& c : conns) ::close(c.fd);
    });
    while (open == 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(open, kSlow);

    // A normal client downloads the full schedule, again and again, while they trickle.
    const std::string target = "/cgi-bin/soft.cgi?func=get_tvprog&a=1" + paid_fields();
    for (int i = 0; i < 12; ++i) {
        const std::string raw = raw_exchange(
            port(),
            "POST " + target + " HTTP/1.0\nHost: zorvan.example\nContent-length: " +
                std::to_string(schedule_request(0).size()) + "\n\n" + schedule_request(0),
            60000);
        const auto r = split_response(raw);
        if (r.status_line.find(" 200 ") == std::string::npos) {
            ADD_FAILURE() << "download " << i << " failed: " << r.head;
            break;
        }
        EXPECT_GE(read_schedule_reply(r.body).size(), 1u + 21u) << i;
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    // Until the first are cut (or a minute of trickling has gone by).
    for (int i = 0; i < 700 && cut == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    stop = true;
    slow.join();
    // The whole-head deadline cut them, not the silence limit (a byte every 250 ms is never
    // silent for long): each had sent far fewer bytes than a minute of trickling.
    EXPECT_GT(cut, 0);
    EXPECT_LT(longest, 240);
    EXPECT_NE(get_body("/test.htm").find("TEST OK"), std::string::npos);
}

TEST_F(Hostile, ConnectionsBeingReadAreBounded) {
    // 1,100 connections that send nothing: past 1,024 the quietest are closed to make room,
    // and a normal client is still answered.
    std::vector<int> fds;
    for (int i = 0; i < 1100; ++i) {
        const int fd = connect_to(port());
        if (fd < 0) break;
        fds.push_back(fd);
    }
    ASSERT_EQ(fds.size(), 1100u);
    EXPECT_NE(get_body("/test.htm").find("TEST OK"), std::string::npos);
    std::size_t closed = 0;
    for (const int fd : fds) closed += answered_or_closed(fd);
    EXPECT_TRUE(answered_or_closed(fds.front()));
    EXPECT_GE(closed, 1100u - 1024u);
    EXPECT_LT(closed, 1100u);  // the newest are still being waited for
    for (const int fd : fds) ::close(fd);
}

TEST_F(Hostile, MarksOnlyFromAnAccountAndWithinTheirCaps) {
    const std::string target = "/cgi-bin/soft.cgi?func=get_tvprog&a=0";
    // A report filling the 16 MB cap: about 3.3 million marks.
    const std::size_t huge = (16 * kMiB - 64) / 5;
    const std::string flood = schedule_request(huge);
    ASSERT_LE(flood.size(), 16 * kMiB);

    auto post_flood = [&](const std::string& fields) {
        return raw_exchange(port(),
                            "POST " + target + fields + " HTTP/1.0\nContent-length: " +
                                std::to_string(flood.size()) + "\n\n" + flood,
                            120000);
    };
    // Nobody's report: the schedule is sent, not a mark is kept.
    EXPECT_FALSE(read_schedule_reply(split_response(post_flood("")).body).empty());
    EXPECT_EQ(marks_of(""), 0);

    // Four such reports of an account at once while an ingest writes: the ingest goes through,
    // each report keeps its first 5,000 marks.
    const long long before = marks_of("ivan");
    std::vector<std::thread> clients;
    std::vector<std::string> replies(4);
    for (std::size_t i = 0; i < replies.size(); ++i)
        clients.emplace_back([&, i] { replies[i] = post_flood(paid_fields()); });
    EXPECT_EQ(run_server_command({"ingest", "--db", QString::fromStdString(db_path()),
                                  "--generated", "small", "--at", kAt}),
              0);
    for (auto& t : clients) t.join();
    for (const auto& raw : replies)
        EXPECT_FALSE(read_schedule_reply(split_response(raw).body).empty());
    EXPECT_EQ(marks_of("ivan") - before, 4 * 5000);
    EXPECT_LT(s_server->peak_memory_kb(), 1024u * 1024) << "peak resident memory, KiB";

    // An account keeps its newest 50,000 marks.
    const std::string petr = "&l=petr&p=" + md5_hex("qwerty");
    for (int i = 0; i < 11; ++i)
        EXPECT_FALSE(
            read_schedule_reply(post_body(target + petr, schedule_request(6000, 1000000 * (i + 1))))
                .empty());
    EXPECT_EQ(marks_of("petr"), 50000);
    server::Database db(QString::fromStdString(db_path()));
    QSqlQuery q = db.exec("SELECT MIN(prog_id), MAX(prog_id) FROM marks WHERE login = ?",
                          server::blob("petr"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toLongLong(), 2000000);   // the first report is gone
    EXPECT_EQ(q.value(1).toLongLong(), 11004999);  // the newest is kept
}

TEST(HostileLog, TheAccessLogShowsNoControlByte) {
    QTemporaryDir dir;
    ServerProcess server({"--db", dir.filePath("log.db")});
    raw_exchange(server.port(),
                 "GET /\x1b[2J\x1b]0;owned\x07\r\x9b"
                 "31m HTTP/1.0\nHost: x\n\n");
    raw_exchange(server.port(), "GET /\x1b[31m HTTP/1.0\nX: " + std::string(20000, 'a') + "\n\n");
    raw_exchange(server.port(), "GET /a\"b\\c HTTP/1.0\n\n");
    ASSERT_EQ(server.stop(), 0);
    const std::string log = server.log();
    for (const char c : log) {
        const auto u = static_cast<unsigned char>(c);
        EXPECT_TRUE((u >= 0x20 && u < 0x7f) || c == '\n') << "byte " << int(u) << " in the log";
    }
    EXPECT_NE(log.find("/\\x1b[2J\\x1b]0;owned\\x07\\x0d\\x9b31m"), std::string::npos) << log;
    EXPECT_NE(log.find("\"GET /\\x1b[31m HTTP/1.0\" 431"), std::string::npos) << log;
    EXPECT_NE(log.find("/a\\x22b\\x5cc"), std::string::npos) << log;
}

TEST(HostileFiles, OnlyRegularFilesInsideTheFolder) {
    QTemporaryDir dir;
    const QString db = dir.filePath("f.db");
    ASSERT_TRUE(QDir().mkpath(dir.filePath("files/sub")));
    QFile secret(dir.filePath("secret.txt"));
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
    secret.write("outside the folder");
    secret.close();
    QFile ok(dir.filePath("files/ok.bin"));
    ASSERT_TRUE(ok.open(QIODevice::WriteOnly));
    ok.write("inside");
    ok.close();
    const QByteArray files = QFile::encodeName(dir.filePath("files"));
    ASSERT_EQ(
        ::symlink(QFile::encodeName(secret.fileName()).constData(), (files + "/link").constData()),
        0);
    ASSERT_EQ(::symlink("/dev/zero", (files + "/zero").constData()), 0);
    ASSERT_EQ(::mkfifo((files + "/fifo").constData(), 0600), 0);
    ServerProcess server({"--db", db, "--files", dir.filePath("files")});
    auto get_file = [&](const char* name) {
        return split_response(raw_exchange(
            server.port(),
            std::string("GET /cgi-bin/soft.cgi?func=get_file&name=") + name + " HTTP/1.0\n\n",
            20000));
    };
    const auto served = get_file("ok.bin");
    EXPECT_NE(served.status_line.find(" 200 "), std::string::npos);
    EXPECT_EQ(served.body, "inside");
    // Many at once on the FIFO: not one worker waits on it.
    std::vector<std::thread> fifo;
    for (int i = 0; i < 40; ++i)
        fifo.emplace_back(
            [&] { EXPECT_NE(get_file("fifo").status_line.find(" 404 "), std::string::npos); });
    for (auto& t : fifo) t.join();
    for (const char* name : {"link", "zero", "sub", "fifo"})
        EXPECT_NE(get_file(name).status_line.find(" 404 "), std::string::npos) << name;
    // SIGTERM ends it cleanly.
    EXPECT_EQ(server.stop(), 0) << server.log();
}

}  // namespace
}  // namespace zt::test
