#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zt::protocol {

// Text replies: lines ended by CR, LF or CR LF. A reply whose first line begins with "ERROR"
// is a server error and its second line is the message to show. Texts are CP1251 bytes.

// The lines of a text reply; a last line without its end counts, a final line end adds none.
std::vector<std::string> split_reply_lines(std::string_view body);

// "ERROR", then the message on the second line.
std::string write_error_reply(std::string_view message);

// The message of a server error reply (empty when the second line is missing); nothing when
// the reply is not an error.
std::optional<std::string> read_error_reply(std::string_view body);

}  // namespace zt::protocol
