#include "server/faults.h"

#include <zlib.h>

#include <utility>

#include "net/protocol/schedule_reply.h"

namespace zt::server {

std::optional<Fault> parse_fault(std::string_view name) {
    static const std::pair<std::string_view, Fault> kNames[] = {
        {"none", Fault::None},           {"silent", Fault::Silent},
        {"status302", Fault::Status302}, {"head5k", Fault::Head5k},
        {"truncated", Fault::Truncated}, {"corrupt-zlib", Fault::CorruptZlib},
        {"bomb", Fault::Bomb},           {"error", Fault::Error},
        {"slow", Fault::Slow},           {"cut-block", Fault::CutBlock}};
    for (const auto& [n, f] : kNames)
        if (n == name) return f;
    return std::nullopt;
}

namespace {

constexpr std::size_t kUnit = std::size_t(1) << 20;
constexpr std::size_t kUnits = 1024;

// Deflates `n` zero bytes with a full flush: the output does not refer back to earlier data,
// so it can be repeated.
std::string deflate_zeros(z_stream& zs, const std::string& zeros) {
    std::string out;
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.data()));
    zs.avail_in = uInt(zeros.size());
    char buf[1 << 16];
    do {
        zs.next_out = reinterpret_cast<Bytef*>(buf);
        zs.avail_out = sizeof buf;
        deflate(&zs, Z_FULL_FLUSH);
        out.append(buf, sizeof buf - zs.avail_out);
    } while (zs.avail_out == 0);
    return out;
}

std::string build_bomb() {
    const std::string zeros(kUnit, '\0');
    z_stream zs{};
    deflateInit(&zs, Z_BEST_COMPRESSION);
    std::string out = deflate_zeros(zs, zeros);  // the header and the first unit
    const std::string unit = deflate_zeros(zs, zeros);
    deflateEnd(&zs);
    out.reserve(out.size() + unit.size() * kUnits + 8);
    for (std::size_t i = 1; i < kUnits; ++i) out += unit;
    out += std::string("\x03\x00", 2);  // an empty final block
    const uLong one = adler32(1, reinterpret_cast<const Bytef*>(zeros.data()), uInt(kUnit));
    uLong sum = one;
    for (std::size_t i = 1; i < kUnits; ++i) sum = adler32_combine(sum, one, z_off_t(kUnit));
    for (int shift = 24; shift >= 0; shift -= 8) out += char((sum >> shift) & 0xFF);
    return out;
}

}  // namespace

const std::string& bomb_body() {
    static const std::string body = build_bomb();
    return body;
}

std::string corrupt_zlib_body() {
    std::string out("\x78\xDA", 2);
    for (int i = 0; i < 4000; ++i) out += char(0xFF - (i * 37) % 251);
    return out;
}

std::string cut_last_block(const std::string& reply) {
    auto blocks = protocol::read_schedule_reply(reply);
    if (blocks.empty()) return reply;
    auto& last = blocks.back().compressed;
    last.resize(last.size() / 2);
    std::string out;
    for (const auto& b : blocks)
        protocol::append_block(out, b.type, b.channel_id, b.day, b.compressed);
    return out;
}

}  // namespace zt::server
