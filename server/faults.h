#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zt::server {

// Ways the server misbehaves on purpose, for the client's tests (`serve --fault MODE`).
enum class Fault {
    None,
    Silent,       // accepts and never answers
    Status302,    // "302 Found" to every request
    Head5k,       // a response head of 5,120 bytes without its end
    Truncated,    // closes before the body reaches its Content-Length
    CorruptZlib,  // a body of 0x78 0xDA followed by garbage
    Bomb,         // a small compressed body that inflates to a gigabyte
    Error,        // an error reply to every call of the service script
    Slow,         // the real replies, a few bytes a second
    CutBlock,     // the real schedule reply with its last block's data cut short
};

std::optional<Fault> parse_fault(std::string_view name);

// A complete zlib stream (0x78 0xDA) of 1 GiB of zero bytes, about 1 MB long; built once.
const std::string& bomb_body();

// 0x78 0xDA and then bytes that are no deflate data.
std::string corrupt_zlib_body();

// A schedule reply whose last block keeps only the first half of its compressed data (its
// length says so): every block before it is sound. A reply without blocks stays as it is.
std::string cut_last_block(const std::string& reply);

}  // namespace zt::server
