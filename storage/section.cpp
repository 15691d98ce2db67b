#include "storage/section.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <climits>

namespace zt {
namespace {

// A floor for small sections and a fixed ceiling; between them a section may grow by
// kMaxRatio, which our own files (texts, BMP logos) stay well under.
constexpr std::size_t kMinLimit = std::size_t(16) << 20;
constexpr std::size_t kMaxLimit = std::size_t(1) << 30;
constexpr std::size_t kMaxRatio = 64;

// The header zlib writes at its highest compression level; sections are stored without it.
constexpr std::array<unsigned char, 2> kHeader{0x78, 0xDA};

void report(Progress* progress, std::size_t done, std::size_t total) {
    if (progress) progress->job_progress(total == 0 ? 100 : int(done * 100 / total));
}

// Inflates `prefix` followed by `data` (together a zlib stream). Input is fed and output
// drained in chunks. A stream that ends before its end marker yields what could be inflated.
bool inflate_parts(std::string_view prefix, std::string_view data, std::string& out,
                   Progress* progress, std::size_t max_output) {
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) return false;
    std::string result;
    std::string chunk(kSectionChunk, '\0');
    const std::size_t total = prefix.size() + data.size();
    std::size_t fed_data = 0;
    bool in_prefix = !prefix.empty();
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(prefix.data()));
    zs.avail_in = uInt(prefix.size());
    bool ok = true;
    bool output_full = false;
    for (;;) {
        if (zs.avail_in == 0 && !output_full) {
            in_prefix = false;
            if (fed_data >= data.size()) break;  // the input ended early: keep what we have
            const std::size_t n = std::min(kSectionChunk, data.size() - fed_data);
            zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data() + fed_data));
            zs.avail_in = uInt(n);
            fed_data += n;
        }
        zs.next_out = reinterpret_cast<Bytef*>(chunk.data());
        zs.avail_out = uInt(chunk.size());
        const int rc = inflate(&zs, Z_NO_FLUSH);
        const std::size_t produced = chunk.size() - zs.avail_out;
        output_full = zs.avail_out == 0;
        if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) {
            ok = false;  // damaged data or a wrong checksum
            break;
        }
        if (result.size() + produced > max_output) {
            ok = false;  // far more than any real section holds
            break;
        }
        result.append(chunk.data(), produced);
        const std::size_t consumed =
            in_prefix ? prefix.size() - zs.avail_in : prefix.size() + fed_data - zs.avail_in;
        report(progress, consumed, total);
        if (rc == Z_STREAM_END) break;
        if (rc == Z_BUF_ERROR && zs.avail_in != 0 && produced == 0) {
            ok = false;  // no progress possible
            break;
        }
    }
    inflateEnd(&zs);
    if (!ok) return false;
    out = std::move(result);
    return true;
}

}  // namespace

std::size_t inflate_limit(std::size_t compressed_size) {
    if (compressed_size > kMaxLimit / kMaxRatio) return kMaxLimit;
    return std::clamp(compressed_size * kMaxRatio, kMinLimit, kMaxLimit);
}

bool inflate_zlib(std::string_view stream, std::string& out, Progress* progress,
                  std::size_t max_output) {
    std::string result;
    if (!inflate_parts({}, stream, result, progress, max_output)) {
        out.clear();
        return false;
    }
    out = std::move(result);
    return true;
}

bool InflateSection(std::string& data, Progress* progress, std::size_t max_output) {
    if (max_output == 0) max_output = inflate_limit(data.size());
    const std::string_view header(reinterpret_cast<const char*>(kHeader.data()), kHeader.size());
    std::string result;
    if (!inflate_parts(header, data, result, progress, max_output)) return false;
    data = std::move(result);
    return true;
}

void DeflateSection(std::string& data, Progress* progress) {
    z_stream zs{};
    deflateInit(&zs, 1);
    std::string result;
    result.reserve(deflateBound(&zs, uLong(std::min<std::size_t>(data.size(), ULONG_MAX))));
    std::string chunk(kSectionChunk, '\0');
    std::size_t fed = 0;
    for (;;) {
        const std::size_t n = std::min(kSectionChunk, data.size() - fed);
        zs.next_in = reinterpret_cast<Bytef*>(data.data() + fed);
        zs.avail_in = uInt(n);
        fed += n;
        const int flush = fed >= data.size() ? Z_FINISH : Z_NO_FLUSH;
        int rc;
        do {
            zs.next_out = reinterpret_cast<Bytef*>(chunk.data());
            zs.avail_out = uInt(chunk.size());
            rc = deflate(&zs, flush);
            result.append(chunk.data(), chunk.size() - zs.avail_out);
        } while (zs.avail_out == 0 || (flush == Z_FINISH && rc != Z_STREAM_END));
        report(progress, fed, data.size());
        if (flush == Z_FINISH) break;
    }
    deflateEnd(&zs);
    // Drop the two header bytes; the reader puts them back.
    data.assign(result, 2);
}

}  // namespace zt
