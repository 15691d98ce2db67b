#include "storage/section.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <new>
#include <utility>

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
bool inflate_parts(std::string_view prefix, std::string_view data, ByteBuffer& out,
                   Progress* progress, std::size_t max_output) {
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) return false;
    const std::size_t total = prefix.size() + data.size();
    std::size_t fed_data = 0;
    bool in_prefix = !prefix.empty();
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(prefix.data()));
    zs.avail_in = uInt(prefix.size());
    bool ok = true;
    bool output_full = false;
    for (;;) {
        if (zs.avail_in == 0 && !output_full) {
            // The last read had room left, so zlib holds nothing back: more input is needed.
            in_prefix = false;
            if (fed_data >= data.size()) break;  // the input ended early: keep what we have
            const std::size_t n = std::min(kSectionChunk, data.size() - fed_data);
            zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data() + fed_data));
            zs.avail_in = uInt(n);
            fed_data += n;
        }
        // One read of at most a chunk, straight into the output.
        zs.next_out = reinterpret_cast<Bytef*>(out.room(kSectionChunk));
        zs.avail_out = uInt(kSectionChunk);
        const int rc = inflate(&zs, Z_NO_FLUSH);
        const std::size_t produced = kSectionChunk - zs.avail_out;
        output_full = zs.avail_out == 0;
        if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) {
            ok = false;  // damaged data or a wrong checksum
            break;
        }
        out.grow(produced);
        if (out.size() > max_output) {
            ok = false;  // far more than any real section holds
            break;
        }
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
    return ok;
}

bool inflate_to_string(std::string_view prefix, std::string_view data, std::string& out,
                       Progress* progress, std::size_t max_output) {
    ByteBuffer buffer;
    if (!inflate_parts(prefix, data, buffer, progress, max_output)) return false;
    out.assign(buffer.view());
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
    ByteBuffer buffer;
    if (!inflate_parts(kHeaderView, compressed, buffer, progress, max_output)) return false;
    buffer.trim();
    out = std::move(buffer);
    return true;
}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& o) noexcept {
    if (this != &o) {
        std::free(m_data);
        m_data = std::exchange(o.m_data, nullptr);
        m_size = std::exchange(o.m_size, 0);
        m_capacity = std::exchange(o.m_capacity, 0);
    }
    return *this;
}

ByteBuffer::~ByteBuffer() {
    std::free(m_data);
}

char* ByteBuffer::room(std::size_t n) {
    if (m_capacity - m_size < n) {
        // Doubling while small, then steps of 16 MB: large blocks move by remapping pages, so
        // a step is cheap and the spare room stays small.
        constexpr std::size_t kStep = std::size_t(16) << 20;
        const std::size_t want = std::max(m_size + n, std::min(m_capacity * 2, m_capacity + kStep));
        void* p = std::realloc(m_data, want);
        if (!p) throw std::bad_alloc();
        m_data = static_cast<char*>(p);
        m_capacity = want;
    }
    return m_data + m_size;
}

void ByteBuffer::trim() {
    if (m_capacity == m_size || m_size == 0) return;
    if (void* p = std::realloc(m_data, m_size)) {
        m_data = static_cast<char*>(p);
        m_capacity = m_size;
    }
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
