#include "net/protocol/login_reply.h"

#include <cstdio>

#include "net/protocol/text_reply.h"

namespace zt::protocol {

std::string format_minute(DateTime t) {
    int y = 0, mo = 0, d = 0;
    t.toParts(y, mo, d);
    const int h = t.hour(), mi = t.minute();
    if (y < 0 || y > 9999 || mo < 0 || mo > 99 || d < 0 || d > 99 || h < 0 || h > 99 || mi < 0 ||
        mi > 99) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d", y, mo, d, h, mi);
        return buf;
    }
    // Every programme of every day goes through here twice: digits by hand, not printf.
    std::string out(16, '-');
    auto put = [&out](std::size_t at, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            out[at + std::size_t(i)] = char('0' + value % 10);
    };
    put(0, y, 4);
    put(5, mo, 2);
    put(8, d, 2);
    out[10] = ' ';
    put(11, h, 2);
    out[13] = ':';
    put(14, mi, 2);
    return out;
}

std::optional<DateTime> parse_minute(std::string_view text) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0;
    char tail = 0;
    const std::string s(text);
    if (s.size() != 16 ||
        std::sscanf(s.c_str(), "%4d-%2d-%2d %2d:%2d%c", &y, &mo, &d, &h, &mi, &tail) != 5)
        return std::nullopt;
    return DateTime::fromParts(y, mo, d, h, mi);
}

std::string write_login_reply(const LoginReply& r) {
    std::string out;
    for (std::string_view line :
         {std::string_view(r.paid ? "1" : "0"), std::string_view(r.text1),
          std::string_view(r.balance), std::string_view(r.text3), std::string_view(r.version)}) {
        out.append(line);
        out += '\n';
    }
    out += r.time_text + '\t' + format_minute(r.utc_time) + '\n';
    return out;
}

std::optional<LoginReplyRead> read_login_reply(std::string_view body) {
    if (body.size() > kMaxLoginReply) return std::nullopt;
    const auto lines = split_reply_lines(body);
    if (lines.size() < 6) return std::nullopt;
    LoginReplyRead out;
    out.reply.paid = lines[0].find('1') != std::string::npos;
    out.reply.text1 = lines[1];
    out.reply.balance = lines[2];
    out.reply.text3 = lines[3];
    out.reply.version = lines[4];
    const std::size_t tab = lines[5].find('\t');
    out.reply.time_text = lines[5].substr(0, tab);
    if (tab != std::string::npos) {
        if (auto t = parse_minute(std::string_view(lines[5]).substr(tab + 1))) {
            out.reply.utc_time = *t;
            out.time_ok = true;
        }
    }
    return out;
}

}  // namespace zt::protocol
