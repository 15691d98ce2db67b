// The reader in front of the HTTP library: what it hands on, however the bytes are split.
#include <gtest/gtest.h>

#include "server/request_reader.h"

namespace zt::server {
namespace {

using State = RequestReader::State;

// Feeds `bytes` in pieces of `piece` bytes; returns the final state.
State feed(RequestReader& r, const std::string& bytes, std::size_t piece) {
    State s = r.state();
    for (std::size_t at = 0; at < bytes.size(); at += piece)
        s = r.feed(std::string_view(bytes).substr(at, piece));
    return s;
}

TEST(RequestReader, HandsOnOneLengthHoweverTheBytesCome) {
    struct Case {
        std::string in;
        std::string out;
    } cases[] = {
        {"GET /a HTTP/1.0\nHost: h\n\n", "GET /a HTTP/1.0\r\nHost: h\r\nContent-Length: 0\r\n\r\n"},
        {"POST http://h/s?x=1 HTTP/1.0\nContent-length: 5\nExpect: 100-continue\n\nhelloEXTRA",
         "POST /s?x=1 HTTP/1.0\r\nContent-Length: 5\r\n\r\nhello"},
        {"POST / HTTP/1.1\r\nTransfer-Encoding: Chunked\r\nA: b\r\n\r\n"
         "3;ext=1\r\nhel\r\n2\nlo\n0\r\nT: x\r\n\r\nEXTRA",
         "POST / HTTP/1.1\r\nA: b\r\nContent-Length: 5\r\n\r\nhello"},
        // Found by fuzzing: a request line that reads like a header is not taken for one.
        {"Content-length:P / H\nA\t\t\n\r\n",
         "Content-length:P / H\r\nA\t\t\r\nContent-Length: 0\r\n\r\n"},
    };
    for (const auto& c : cases)
        for (const std::size_t piece :
             {std::size_t(1), std::size_t(2), std::size_t(7), c.in.size()}) {
            RequestReader r;
            ASSERT_EQ(feed(r, c.in, piece), State::Done) << c.in << " / " << piece;
            const ReadRequest got = r.take();
            EXPECT_EQ(got.head + got.body, c.out) << piece;
        }
}

TEST(RequestReader, RefusesPastItsLimits) {
    const RequestLimits small{64, 10};
    struct Case {
        std::string in;
        int status;
    } cases[] = {
        {"GET / HTTP/1.0\n" + std::string(60, 'x'), 431},  // no end within the cap
        {"GET / HTTP/1.0\n" + std::string(10, 'x') + "\n" + std::string(50, 'y') + "\n\n", 431},
        {"POST / HTTP/1.0\nContent-Length: 11\n\n", 413},
        {"POST / HTTP/1.0\nTransfer-Encoding: chunked\n\n6\n123456\n5\n", 413},
        {"POST / HTTP/1.0\nTransfer-Encoding: chunked\n\n6\n123456XX", 400},
        {"POST / HTTP/1.0\nTransfer-Encoding: deflate\n\n", 501},
        {"POST / HTTP/1.0\nContent-Encoding: br\nContent-Length: 1\n\n", 415},
        {"NONSENSE\n\n", 400},
    };
    for (const auto& c : cases)
        for (const std::size_t piece : {std::size_t(1), c.in.size()}) {
            RequestReader r(small);
            EXPECT_EQ(feed(r, c.in, piece), State::Refused) << c.in;
            EXPECT_EQ(r.status(), c.status) << c.in;
            EXPECT_EQ(r.held(), 0u);
        }
}

}  // namespace
}  // namespace zt::server
