// The transport against plain TCP peers (byte-exact request heads, response heads of every
// form) and against a real zorvan-server in each of its fault modes.
#include <gtest/gtest.h>

#include "exchange_fixture.h"
#include "net/desktop_proxy.h"
#include "net/format_bytes.h"
#include "net/protocol/compressed_body.h"
#include "net/request_head.h"
#include "tools/peers/peers.h"

namespace zt::test {
namespace {

using peers::CapturePeer;
using peers::free_port;
using peers::ProxyProcess;
using peers::ServerProcess;

TEST(Transport, FormatBytes) {
    const std::pair<std::uint64_t, const char*> cases[] = {{0, "0 байт"},     {1023, "1023 байт"},
                                                           {1024, "1 Кб"},    {1048575, "1023 Кб"},
                                                           {1048576, "1 Мб"}, {3500000, "3 Мб"}};
    for (const auto& [n, text] : cases) EXPECT_EQ(net::FormatBytes(n), text) << n;
}

TEST(Transport, Base64OfEveryLengthModThree) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""}, {"u:", "dTo="}, {"u:p", "dTpw"}, {"us:p", "dXM6cA=="}, {"\xC8:\xFF", "yDr/"}};
    for (const auto& [in, out] : cases) EXPECT_EQ(net::base64(in), out) << in;
}

TEST(Transport, LoginEscapesOnlyWhatCannotStandInARequestLine) {
    EXPECT_EQ(net::escape_request_text("ivan"), "ivan");
    EXPECT_EQ(net::escape_request_text("a b\r\nHost: x"), "a%20b%0D%0AHost:%20x");
    EXPECT_EQ(net::escape_request_text(std::string("\x01\x7F%&\xC8", 5)), "%01%7F%&\xC8");
}

// The request head for each route and method, byte for byte.
TEST(Transport, RequestHeadsByteForByte) {
    struct Case {
        const char* name;
        bool proxy;
        const char* user;
        const char* password;
        bool post;
        std::string body;
        std::string expected_head;
    };
    const std::string common = "Accept: */*\nPragma: no-cache\nCache-Control: no-cache\n";
    const Case cases[] = {
        {"direct GET", false, "", "", false, "",
         "GET /cgi-bin/soft.cgi?func=get_paket HTTP/1.0\nHost: SERVICE\n" + common + "\n"},
        {"direct POST", false, "", "", true, "abc",
         "POST /cgi-bin/soft.cgi?func=get_paket HTTP/1.0\nHost: SERVICE\n" + common +
             "Content-length: 3\n\n"},
        {"POST without body goes out as GET", false, "", "", true, "",
         "GET /cgi-bin/soft.cgi?func=get_paket HTTP/1.0\nHost: SERVICE\n" + common + "\n"},
        {"proxy GET with credentials", true, "user", "pw", false, "",
         "GET http://SERVICE/cgi-bin/soft.cgi?func=get_paket HTTP/1.0\nHost: SERVICE\n" + common +
             "Proxy-Connection: Keep-Alive\nProxy-Authorization: Basic dXNlcjpwdw==\n\n"},
        {"proxy POST, user without password", true, "user", "", true, "xy",
         "POST http://SERVICE/cgi-bin/soft.cgi?func=get_paket HTTP/1.0\nHost: SERVICE\n" + common +
             "Proxy-Connection: Keep-Alive\nContent-length: 2\n\n"},
    };
    for (const Case& c : cases) {
        CapturePeer peer("HTTP/1.0 200 OK\n\nfine");
        const std::string peer_address = "127.0.0.1:" + std::to_string(peer.port());
        // Through the proxy the service keeps its own name; directly it is the peer itself.
        const std::string service = c.proxy ? "tv.zorvan.example" : peer_address;
        ExchangeFixture f(service);
        f.ctx.proxy.use_proxy = c.proxy;
        f.ctx.proxy.server = "127.0.0.1";
        f.ctx.proxy.port = std::to_string(peer.port());
        f.ctx.proxy.user = c.user;
        f.ctx.proxy.password = c.password;
        std::string response;
        ASSERT_TRUE(net::HttpExchange(f.ctx, "/cgi-bin/soft.cgi", "?func=get_paket", c.post, c.body,
                                      response))
            << c.name << ": " << f.last_message();
        EXPECT_EQ(response, "fine") << c.name;
        std::string expected = c.expected_head;
        for (std::size_t at; (at = expected.find("SERVICE")) != std::string::npos;)
            expected.replace(at, 7, service);
        EXPECT_EQ(peer.request(), expected + (c.post ? c.body : "")) << c.name;
        EXPECT_EQ(f.traffic.bytes_sent, expected.size() + (c.post ? c.body.size() : 0));
    }
}

// Response heads and bodies of every form the transport must accept or refuse.
TEST(Transport, ResponseForms) {
    const std::string packed = protocol::compress_body("inflated text");
    const std::string big(6000, 'x');
    struct Case {
        const char* name;
        std::string reply;
        bool ok;
        std::string result;  // the body, or the message
    };
    const Case cases[] = {
        {"any version, status in any case", "HTTP/1.1 200 ok\r\n\r\nbody", true, "body"},
        {"LF LF ends the head", "HTTP/1.0 200 OK\nServer: x\n\nbody", true, "body"},
        {"CR CR ends the head", "HTTP/1.0 200 OK\r\rbody", true, "body"},
        {"302 fails", "HTTP/1.0 302 Found\r\nLocation: x\r\n\r\n", false,
         "Ошибка: Сервер вернул ошибочный ответ (302 Found)."},
        {"head of 5120 bytes without its end", "HTTP/1.0 200 OK\n" + std::string(5200, 'h'), false,
         "Ошибка: HTTP заголовок не может быть полностью прочитан."},
        {"compressed body is inflated",
         "HTTP/1.0 200 OK\nContent-Length: " + std::to_string(packed.size()) + "\n\n" + packed,
         true, "inflated text"},
        {"default-level zlib stays as it is", "HTTP/1.0 200 OK\n\n\x78\x9C\x01", true,
         "\x78\x9C\x01"},
        {"lower-case length header is read", "HTTP/1.0 200 OK\ncontent-length: 4\n\nbody", true,
         "body"},
        {"length without its space is not a length", "HTTP/1.0 200 OK\nContent-Length:99\n\nb",
         true, "b"},
        {"body ends at its length", "HTTP/1.0 200 OK\nContent-Length: 2\n\nbody", true, "bo"},
        {"body shorter than its length fails", "HTTP/1.0 200 OK\nContent-Length: 10\n\nbody", false,
         "Ошибка: соединение прервано, ответ сервера получен не полностью (4 из 10 байт)."},
        {"unreadable length", "HTTP/1.0 200 OK\nContent-Length: 1x\n\nbody", false,
         "Ошибка: Сервер вернул неверную длину данных."},
        {"large body in chunks", "HTTP/1.0 200 OK\n\n" + big, true, big},
    };
    for (const Case& c : cases) {
        CapturePeer peer(c.reply);
        ExchangeFixture f("127.0.0.1:" + std::to_string(peer.port()));
        std::string response;
        const bool ok = net::HttpExchange(f.ctx, "/x", "", false, "", response);
        EXPECT_EQ(ok, c.ok) << c.name << ": " << f.last_message();
        if (c.ok) {
            EXPECT_EQ(response, c.result) << c.name;
            EXPECT_TRUE(f.ui.messages.empty()) << c.name;
        } else {
            EXPECT_EQ(f.last_message(), c.result) << c.name;
            EXPECT_EQ(f.ui.messages.back().kind, MsgKind::Error);
            EXPECT_TRUE(response.empty());
        }
    }
}

TEST(Transport, LabelsFollowTheExchange) {
    CapturePeer peer("HTTP/1.0 200 OK\nContent-Length: 2\n\nbody");
    ExchangeFixture f("127.0.0.1:" + std::to_string(peer.port()));
    std::string response;
    ASSERT_TRUE(net::HttpExchange(f.ctx, "/x", "", false, "", response));
    ASSERT_GE(f.view.shown.size(), 3u);
    EXPECT_EQ(f.view.shown.front(),
              (net::ExchangeLabels{"1 из 1", "0 байт", "0 %", "0 из 1", "0 байт", "0 %", 0}));
    const net::ExchangeLabels& last = f.view.shown.back();
    EXPECT_EQ(last.part_down, "1 из 1");
    EXPECT_EQ(last.percent_up, "100 %");
    // 35 head bytes and the 2 body bytes announced; the 2 after them are not read.
    EXPECT_EQ(last.bytes_down, "37 байт");
    EXPECT_EQ(last.percent_down, "100 %");
    EXPECT_EQ(f.traffic.bytes_received, 37u);
}

TEST(Transport, ConnectionRefusedAndUnknownHost) {
    ExchangeFixture refused("127.0.0.1:" + std::to_string(free_port()));
    std::string response;
    EXPECT_FALSE(net::HttpExchange(refused.ctx, "/test.htm", "", false, "", response));
    EXPECT_EQ(refused.last_message().rfind("Ошибка соединения: ", 0), 0u) << refused.last_message();

    ExchangeFixture unknown("no-such-host.invalid");
    EXPECT_FALSE(net::HttpExchange(unknown.ctx, "/test.htm", "", false, "", response));
    EXPECT_EQ(unknown.last_message().rfind("Адрес не найден: no-such-host.invalid", 0), 0u)
        << unknown.last_message();
}

// Every fault of the server ends in a failed exchange with its message, within the time-outs.
TEST(Transport, ServerFaults) {
    struct Case {
        const char* fault;
        const char* message_start;
    };
    const Case cases[] = {
        {"silent", "Ошибка: сервер не отвечает (нет данных 1 с)."},
        {"status302", "Ошибка: Сервер вернул ошибочный ответ (302 Found)."},
        {"head5k", "Ошибка: HTTP заголовок не может быть полностью прочитан."},
        {"truncated", "Ошибка: соединение прервано, ответ сервера получен не полностью"},
        {"corrupt-zlib", "Ошибка: сжатый ответ сервера поврежден."},
        {"bomb", "Ошибка: распакованный ответ сервера больше 64 Мб."},
    };
    for (const Case& c : cases) {
        ServerProcess server(c.fault);
        ExchangeFixture f(server.address());
        std::string response;
        EXPECT_FALSE(net::HttpExchange(f.ctx, "/cgi-bin/soft.cgi", "?func=get_paket", false, "",
                                       response, net::CallSize::large))
            << c.fault;
        EXPECT_EQ(f.last_message().rfind(c.message_start, 0), 0u)
            << c.fault << ": " << f.last_message();
    }
}

TEST(Transport, ServerTestAndCancel) {
    ServerProcess server;
    ExchangeFixture f(server.address());
    std::vector<std::string> lines;
    EXPECT_TRUE(net::ServerTest(f.ctx, &lines));
    EXPECT_FALSE(lines.empty());

    // The slow server trickles; a cancel from the window ends the exchange without a message.
    ServerProcess slow("slow");
    ExchangeFixture g(slow.address());
    g.view.cancel_flag = &g.net_cancel;
    g.view.cancel_after = 3;
    std::string response;
    EXPECT_FALSE(
        net::HttpExchange(g.ctx, "/cgi-bin/soft.cgi", "?func=get_paket", false, "", response));
    EXPECT_TRUE(g.ui.messages.empty());
}

// Through a real tinyproxy with Basic authentication.
TEST(Transport, ThroughProxy) {
    ServerProcess server;
    ProxyProcess proxy("user", "pw");
    ExchangeFixture f(server.address());
    f.ctx.proxy = {false, true, "127.0.0.1", std::to_string(proxy.port()), "user", "pw"};
    std::vector<std::string> lines;
    EXPECT_TRUE(net::ServerTest(f.ctx, &lines)) << f.last_message();

    f.ctx.proxy.password = "wrong";
    EXPECT_FALSE(net::ServerTest(f.ctx, &lines));
    EXPECT_EQ(
        f.last_message().rfind("Ошибка: Сервер вернул ошибочный ответ (401 Unauthorized).", 0), 0u)
        << f.last_message();
}

}  // namespace
}  // namespace zt::test

namespace zt::test {
namespace {

TEST(Transport, DesktopProxyValue) {
    struct Case {
        std::optional<std::string_view> value;
        const char* server;
        const char* port;
    };
    const Case cases[] = {{"10.0.0.1:3128", "10.0.0.1", "3128"},
                          {"http://user:pw@proxy.local:8080/", "proxy.local", "8080"},
                          {"3128", "", "3128"},
                          {std::nullopt, "", ""}};
    for (const Case& c : cases) {
        ProxySettings proxy{true, false, "old", "1", "", ""};
        net::ReadIeProxy(proxy, c.value);
        EXPECT_EQ(proxy.server, c.server) << c.value.value_or("none");
        EXPECT_EQ(proxy.port, c.port) << c.value.value_or("none");
    }
}

}  // namespace
}  // namespace zt::test
