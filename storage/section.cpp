#include "storage/section.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <vector>

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

// Output in blocks of one chunk each, inflated into directly; joined once at the end, when
// the total size is known.
class ChunkList final {
public:
    char* next() {
        m_blocks.push_back(std::make_unique_for_overwrite<char[]>(kSectionChunk));
        return m_blocks.back().get();
    }
    void used(std::size_t n) { m_size += n; }
    std::size_t size() const { return m_size; }
    // Copies the blocks into `out` (of size()) and frees them one by one.
    void join(char* out) {
        std::size_t left = m_size;
        for (auto& b : m_blocks) {
            const std::size_t n = std::min(left, kSectionChunk);
            std::memcpy(out, b.get(), n);
            out += n;
            left -= n;
            b.reset();
        }
        m_blocks.clear();
    }

private:
    std::vector<std::unique_ptr<char[]>> m_blocks;
    std::size_t m_size = 0;
};

// Inflates `prefix` followed by `data` (together a zlib stream). Input is fed and output
// drained in chunks. A stream that ends before its end marker yields what could be inflated.
bool inflate_parts(std::string_view prefix, std::string_view data, ChunkList& out,
                   Progress* progress, std::size_t max_output) {
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) return false;
    const std::size_t total = prefix.size() + data.size();
    std::size_t fed_data = 0;
    bool in_prefix = !prefix.empty();
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(prefix.data()));
    zs.avail_in = uInt(prefix.size());
    bool ok = true;
    char* block = nullptr;
    std::size_t block_left = 0;
    for (;;) {
        if (zs.avail_in == 0 && block_left != 0) {
            // The output block has room, so zlib holds nothing back: more input is needed.
            in_prefix = false;
            if (fed_data >= data.size()) break;  // the input ended early: keep what we have
            const std::size_t n = std::min(kSectionChunk, data.size() - fed_data);
            zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data() + fed_data));
            zs.avail_in = uInt(n);
            fed_data += n;
        }
        if (block_left == 0) {
            block = out.next();
            block_left = kSectionChunk;
        }
        zs.next_out = reinterpret_cast<Bytef*>(block + (kSectionChunk - block_left));
        zs.avail_out = uInt(block_left);
        const int rc = inflate(&zs, Z_NO_FLUSH);
        const std::size_t produced = block_left - zs.avail_out;
        block_left = zs.avail_out;
        if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) {
            ok = false;  // damaged data or a wrong checksum
            break;
        }
        out.used(produced);
        if (out.size() > max_output) {
            ok = false;  // far more than any real section holds
            break;
        }
        const std::size_t consumed =
            in_prefix ? prefix.size() - zs.avail_in : prefix.size() + fed_data - zs.avail_in;
        if (block_left == 0 || rc == Z_STREAM_END) report(progress, consumed, total);
        if (rc == Z_STREAM_END) break;
        if (rc == Z_BUF_ERROR && zs.avail_in != 0 && produced == 0) {
            ok = false;  // no progress possible
            break;
        }
    }
    inflateEnd(&zs);
    return ok;
}

bool inflate_to_string(std::string_view prefix, std::string_view data, std::string& out,
                       Progress* progress, std::size_t max_output) {
    ChunkList chunks;
    if (!inflate_parts(prefix, data, chunks, progress, max_output)) return false;
    std::string result(chunks.size(), '\0');
    chunks.join(result.data());
    out = std::move(result);
    return true;
}

const std::string_view kHeaderView(reinterpret_cast<const char*>(kHeader.data()), kHeader.size());

}  // namespace

std::size_t inflate_limit(std::size_t compressed_size) {
    if (compressed_size > kMaxLimit / kMaxRatio) return kMaxLimit;
    return std::clamp(compressed_size * kMaxRatio, kMinLimit, kMaxLimit);
}

bool inflate_zlib(std::string_view stream, std::string& out, Progress* progress,
                  std::size_t max_output) {
    if (inflate_to_string({}, stream, out, progress, max_output)) return true;
    out.clear();
    return false;
}

bool InflateSection(std::string& data, Progress* progress, std::size_t max_output) {
    if (max_output == 0) max_output = inflate_limit(data.size());
    return inflate_to_string(kHeaderView, data, data, progress, max_output);
}

bool InflateSection(std::string_view compressed, ByteBuffer& out, Progress* progress,
                    std::size_t max_output) {
    if (max_output == 0) max_output = inflate_limit(compressed.size());
    ChunkList chunks;
    if (!inflate_parts(kHeaderView, compressed, chunks, progress, max_output)) return false;
    out.size = chunks.size();
    out.data = std::make_unique_for_overwrite<char[]>(out.size);
    chunks.join(out.data.get());
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
