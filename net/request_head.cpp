#include "net/request_head.h"

#include <charconv>

namespace zt::net {

namespace {

// A decimal port 1..65535, or 0.
int parse_port(std::string_view text) {
    int port = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (ec != std::errc() || end != text.data() + text.size() || port < 1 || port > 65535) return 0;
    return port;
}

}  // namespace

std::string base64(std::string_view bytes) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = unsigned(std::uint8_t(bytes[i])) << 16 |
                           unsigned(std::uint8_t(bytes[i + 1])) << 8 | std::uint8_t(bytes[i + 2]);
        out += kAlphabet[v >> 18];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += kAlphabet[v & 63];
    }
    const std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        unsigned v = unsigned(std::uint8_t(bytes[i])) << 16;
        if (rest == 2) v |= unsigned(std::uint8_t(bytes[i + 1])) << 8;
        out += kAlphabet[v >> 18];
        out += kAlphabet[(v >> 12) & 63];
        out += rest == 2 ? kAlphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

RouteResult make_route(std::string_view service, const ProxySettings& proxy) {
    RouteResult r;
    r.route.host = std::string(service);
    const std::size_t colon = service.rfind(':');
    r.route.connect_host = std::string(service.substr(0, colon));
    if (colon != std::string_view::npos) {
        r.route.connect_port = parse_port(service.substr(colon + 1));
        if (r.route.connect_port == 0) {
            r.error = "Ошибка: неверный порт сервера: " + std::string(service);
            return r;
        }
    }
    if (proxy.use_proxy && !proxy.server.empty() && !proxy.port.empty()) {
        const int port = parse_port(proxy.port);
        if (port == 0) {
            r.error = "Ошибка: неверный порт прокси-сервера: " + proxy.port;
            return r;
        }
        r.route.connect_host = proxy.server;
        r.route.connect_port = port;
        r.route.via_proxy = true;
        r.route.extra_headers = "Proxy-Connection: Keep-Alive\n";
        if (!proxy.user.empty() && !proxy.password.empty())
            r.route.extra_headers +=
                "Proxy-Authorization: Basic " + base64(proxy.user + ":" + proxy.password) + "\n";
    }
    return r;
}

std::string build_request_head(const Route& route, std::string_view path, std::string_view query,
                               bool post, std::size_t body_size) {
    std::string head = post ? "POST " : "GET ";
    if (route.via_proxy) head += "http://" + route.host;
    head.append(path).append(query).append(" HTTP/1.0\n");
    head += "Host: " + route.host + "\n";
    head += "Accept: */*\nPragma: no-cache\nCache-Control: no-cache\n";
    if (route.via_proxy) head += route.extra_headers;
    if (post) head += "Content-length: " + std::to_string(body_size) + "\n";
    head += "\n";
    return head;
}

std::string escape_request_text(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto b = std::uint8_t(c);
        if (b <= 0x20 || b == 0x7F) {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 15];
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace zt::net
