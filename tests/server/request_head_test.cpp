// The request normaliser in front of the HTTP library.
#include <gtest/gtest.h>

#include "server/request_head.h"

namespace zt::server {
namespace {

TEST(RequestHead, EndOfHead) {
    EXPECT_EQ(head_end("GET / HTTP/1.0\n\nbody"), 16u);
    EXPECT_EQ(head_end("GET / HTTP/1.0\r\n\r\nbody"), 18u);
    EXPECT_EQ(head_end("GET / HTTP/1.0\n\r\nbody"), 17u);
    EXPECT_FALSE(head_end("GET / HTTP/1.0\nHost: x\n"));
}

TEST(RequestHead, Normalise) {
    struct Case {
        const char* in;
        const char* out;  // nullptr: refused
    } cases[] = {
        {"GET /test.htm HTTP/1.0\nHost: a\n\n", "GET /test.htm HTTP/1.0\r\nHost: a\r\n\r\n"},
        {"POST http://zorvan.example/cgi-bin/soft.cgi?func=get_tvprog&a=1 HTTP/1.0\n"
         "Content-length: 5\n\n",
         "POST /cgi-bin/soft.cgi?func=get_tvprog&a=1 HTTP/1.0\r\nContent-length: 5\r\n\r\n"},
        {"GET HTTP://host:8080?func=x HTTP/1.0\n\n", "GET /?func=x HTTP/1.0\r\n\r\n"},
        {"GET http://host HTTP/1.0\r\n\r\n", "GET / HTTP/1.0\r\n\r\n"},
        {"GET / HTTP/1.0\r\nA: b\r\n\r\n", "GET / HTTP/1.0\r\nA: b\r\n\r\n"},
        {"GET /\n\n", nullptr},
        {"\n\n", nullptr},
        {"GET  HTTP/1.0\n\n", nullptr},
        {"GET a b HTTP/1.0\n\n", nullptr},
    };
    for (const auto& c : cases) {
        const auto got = normalise_head(c.in);
        if (!c.out) {
            EXPECT_FALSE(got) << c.in;
            continue;
        }
        ASSERT_TRUE(got) << c.in;
        EXPECT_EQ(*got, c.out);
    }
}

TEST(RequestHead, ContentLength) {
    EXPECT_EQ(content_length("POST / HTTP/1.0\nContent-length: 42\n\n"), 42u);
    EXPECT_EQ(content_length("POST / HTTP/1.0\r\nCONTENT-LENGTH:7\r\n\r\n"), 7u);
    EXPECT_EQ(content_length("GET / HTTP/1.0\n\n"), 0u);
    EXPECT_FALSE(content_length("POST / HTTP/1.0\nContent-length: -1\n\n"));
    EXPECT_FALSE(content_length("POST / HTTP/1.0\nContent-length: 99999999999999999999\n\n"));
}

}  // namespace
}  // namespace zt::server
