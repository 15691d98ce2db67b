#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/datetime.h"

namespace zt::protocol {

// The version code the application of this release expects from the login check.
inline constexpr std::string_view kVersionCode = "2010113002";

// The login check's reply: six text lines (CP1251).
struct LoginReply final {
    bool paid = false;
    std::string text1;    // line 1, a display text
    std::string balance;  // line 2, kopecks as decimal digits, or empty
    std::string text3;    // line 3, a display text
    std::string version{kVersionCode};
    std::string time_text;  // line 5 before the TAB, a display text
    DateTime utc_time;      // line 5 after the TAB, "yyyy-MM-dd hh:mm", whole minutes
};

std::string write_login_reply(const LoginReply& reply);

// The largest login reply taken: its six lines are short display texts.
inline constexpr std::size_t kMaxLoginReply = std::size_t(64) << 10;

// Reads six lines; nothing when lines are missing or the reply is over kMaxLoginReply. A time line
// without a TAB or with an unreadable time keeps `utc_time` at day 0 and `time_ok` false.
struct LoginReplyRead final {
    LoginReply reply;
    bool time_ok = false;
};
std::optional<LoginReplyRead> read_login_reply(std::string_view body);

// "yyyy-MM-dd hh:mm" of a time and back (nothing for a malformed text).
std::string format_minute(DateTime t);
std::optional<DateTime> parse_minute(std::string_view text);

}  // namespace zt::protocol
