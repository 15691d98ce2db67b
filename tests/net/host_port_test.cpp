#include "net/host_port.h"

#include <gtest/gtest.h>

namespace zt {
namespace {

TEST(HostPort, ParsedFromTheSettings) {
    struct Case {
        const char* text;
        std::optional<HostPort> expected;
    };
    const Case cases[] = {
        {"tv.zorvan.example", HostPort{"tv.zorvan.example", 80}},
        {" 127.0.0.1:8080 ", HostPort{"127.0.0.1", 8080}},
        {"localhost:1", HostPort{"localhost", 1}},
        {"my-host:65535", HostPort{"my-host", 65535}},
        {"", std::nullopt},
        {"host:", std::nullopt},
        {":80", std::nullopt},
        {"host:0", std::nullopt},
        {"host:65536", std::nullopt},
        {"host:80x", std::nullopt},
        {"host:-80", std::nullopt},
        {"host:80:81", std::nullopt},
        {"ho st", std::nullopt},
        {"http://host/", std::nullopt},
        {"user@host", std::nullopt},
        {"a..b", std::nullopt},
        {".host", std::nullopt},
        {"-host", std::nullopt},
        {"[::1]:80", std::nullopt},
        {"host\r\nX: y", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parse_host_port(c.text), c.expected) << '"' << c.text << '"';
    }

    EXPECT_EQ(service_host(Settings{}), (HostPort{"tv.zorvan.example", 80}));
    IniFile ini;
    ini.parse("[ZORVAN]\nHOST=127.0.0.1:18080\n");
    Settings s;
    s.load_all(ini);
    EXPECT_EQ(service_host(s), (HostPort{"127.0.0.1", 18080}));
    ini.parse("[ZORVAN]\nHOST=not a host\n");
    s.load_all(ini);
    EXPECT_EQ(service_host(s), (HostPort{"tv.zorvan.example", 80}));
}

}  // namespace
}  // namespace zt
