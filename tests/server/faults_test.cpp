// The switchable faults, each seen from a raw client.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <zlib.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "net/protocol/compressed_body.h"
#include "net/protocol/text_reply.h"
#include "tools/peers/peers.h"

namespace zt::test {
namespace {

using peers::raw_exchange;
using peers::run_server_command;
using peers::ServerProcess;
using peers::split_response;

const std::string kLogin =
    "GET /cgi-bin/soft.cgi?func=login_check HTTP/1.0\nHost: zorvan.example\n\n";

TEST(Faults, EachModeMisbehavesAsNamed) {
    QTemporaryDir dir;
    const QString db = dir.filePath("f.db");
    struct Case {
        const char* mode;
        std::function<void(const std::string& raw, qint64 elapsed_ms)> check;
        int timeout_ms = 3000;
    };
    const Case cases[] = {
        {"silent",
         [](const std::string& raw, qint64 ms) {
             EXPECT_EQ(raw, "");
             EXPECT_GE(ms, 700);
         },
         800},
        {"status302",
         [](const std::string& raw, qint64) {
             EXPECT_EQ(split_response(raw).status_line.substr(9), "302 Found");
         }},
        {"head5k",
         [](const std::string& raw, qint64) {
             ASSERT_GE(raw.size(), 5120u);
             const std::string head = raw.substr(0, 5120);
             EXPECT_EQ(head.find("\n\n"), std::string::npos);
             EXPECT_EQ(head.find("\r\r"), std::string::npos);
             EXPECT_EQ(head.find("\n\r\n"), std::string::npos);
         }},
        {"truncated",
         [](const std::string& raw, qint64) {
             const auto r = split_response(raw);
             const auto at = r.head.find("Content-Length: ");
             ASSERT_NE(at, std::string::npos);
             EXPECT_LT(r.body.size(), std::stoul(r.head.substr(at + 16)));
         }},
        {"corrupt-zlib",
         [](const std::string& raw, qint64) {
             const auto body = split_response(raw).body;
             EXPECT_TRUE(protocol::is_compressed_body(body));
             EXPECT_FALSE(protocol::open_body(body, 64 << 20));
         }},
        {"bomb",
         [](const std::string& raw, qint64) {
             const auto body = split_response(raw).body;
             EXPECT_TRUE(protocol::is_compressed_body(body));
             EXPECT_LT(body.size(), 2u << 20);
             EXPECT_FALSE(protocol::open_body(body, 64 << 20));  // beyond any sane limit
         }},
        {"error",
         [](const std::string& raw, qint64) {
             EXPECT_TRUE(protocol::read_error_reply(split_response(raw).body));
         }},
        {"slow",
         [](const std::string& raw, qint64 ms) {
             EXPECT_GT(raw.size(), 0u);
             EXPECT_LT(raw.size(), 40u);  // a few bytes a second
             EXPECT_GE(ms, 1000);
         },
         1500},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        ServerProcess server({"--db", db, "--fault", c.mode});
        QElapsedTimer timer;
        timer.start();
        const std::string raw = raw_exchange(server.port(), kLogin, c.timeout_ms);
        c.check(raw, timer.elapsed());
        EXPECT_EQ(server.stop(), 0) << server.log();
    }
}

TEST(Faults, BombIsValidDeflateDataOfZeros) {
    QTemporaryDir dir;
    ServerProcess server({"--db", dir.filePath("f.db"), "--fault", "bomb"});
    const auto body = split_response(raw_exchange(server.port(), kLogin)).body;
    // Counted, not kept: zero bytes well past 100 MB and still going (the whole gigabyte takes
    // too long to inflate in a unit test).
    z_stream zs{};
    ASSERT_EQ(inflateInit(&zs), Z_OK);
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.data()));
    zs.avail_in = uInt(body.size());
    std::vector<Bytef> out(std::size_t(1) << 20);
    std::size_t total = 0;
    int rc = Z_OK;
    while (rc == Z_OK && total < (std::size_t(128) << 20)) {
        zs.next_out = out.data();
        zs.avail_out = uInt(out.size());
        rc = inflate(&zs, Z_NO_FLUSH);
        total += out.size() - zs.avail_out;
        ASSERT_EQ(std::count(out.begin(), out.end() - zs.avail_out, 0),
                  long(out.size() - zs.avail_out));
    }
    inflateEnd(&zs);
    EXPECT_EQ(rc, Z_OK);
}

TEST(Faults, ErrorModeLeavesTheTestPage) {
    QTemporaryDir dir;
    ServerProcess server({"--db", dir.filePath("f.db"), "--fault", "error"});
    const auto raw = raw_exchange(server.port(), "GET /test.htm HTTP/1.0\n\n");
    EXPECT_NE(split_response(raw).body.find("TEST OK"), std::string::npos);
}

TEST(Faults, UnknownModeIsRefused) {
    QTemporaryDir dir;
    std::string out;
    EXPECT_EQ(run_server_command({"serve", "--db", dir.filePath("f.db"), "--listen", "127.0.0.1:0",
                                  "--fault", "meltdown"},
                                 &out),
              2);
    EXPECT_NE(out.find("unknown fault mode"), std::string::npos);
}

}  // namespace
}  // namespace zt::test
