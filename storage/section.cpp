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

const std::string_view kHeaderView(reinterpret_cast<const char*>(kHeader.data()), kHeader.size());

}  // namespace

// The inflater and where it stands in its input: first the restored header, then the section.
struct InflateStream::State {
    z_stream zs{};
    std::string_view prefix;
    std::string_view data;
    std::size_t fed_data = 0;
    bool in_prefix = true;
    bool output_full = false;  // the last read filled its room: zlib may hold more output
    std::size_t produced = 0;
    std::size_t max_output = 0;
    std::size_t reported_at = 0;
    Progress* progress = nullptr;

    std::size_t consumed() const {
        return in_prefix ? prefix.size() - zs.avail_in : prefix.size() + fed_data - zs.avail_in;
    }
    std::size_t total() const { return prefix.size() + data.size(); }
};

InflateStream::InflateStream(std::string_view compressed, Progress* progress,
                             std::size_t max_output, bool header_included)
    : m_state(std::make_unique<State>()) {
    State& st = *m_state;
    st.prefix = header_included ? std::string_view() : kHeaderView;
    st.data = compressed;
    st.progress = progress;
    st.max_output = max_output == 0 ? inflate_limit(compressed.size()) : max_output;
    if (inflateInit(&st.zs) != Z_OK) {
        m_failed = true;
        return;
    }
    st.zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(st.prefix.data()));
    st.zs.avail_in = uInt(st.prefix.size());
}

InflateStream::~InflateStream() {
    inflateEnd(&m_state->zs);
}

std::size_t InflateStream::read(char* dst, std::size_t n) {
    State& st = *m_state;
    std::size_t got = 0;
    while (got < n && !m_done && !m_failed) {
        if (st.zs.avail_in == 0 && !st.output_full) {
            // zlib holds nothing back: it needs more input.
            st.in_prefix = false;
            if (st.fed_data >= st.data.size()) {
                m_done = true;  // the input ended early: the data ends here
                break;
            }
            const std::size_t k = std::min(kSectionChunk, st.data.size() - st.fed_data);
            st.zs.next_in =
                reinterpret_cast<Bytef*>(const_cast<char*>(st.data.data() + st.fed_data));
            st.zs.avail_in = uInt(k);
            st.fed_data += k;
        }
        const std::size_t room = std::min(kSectionChunk, n - got);
        st.zs.next_out = reinterpret_cast<Bytef*>(dst + got);
        st.zs.avail_out = uInt(room);
        const int rc = inflate(&st.zs, Z_NO_FLUSH);
        const std::size_t produced = room - st.zs.avail_out;
        st.output_full = st.zs.avail_out == 0;
        if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) {
            m_failed = true;  // damaged data or a wrong checksum
            break;
        }
        got += produced;
        st.produced += produced;
        if (st.produced > st.max_output) {
            m_failed = true;  // far more than any real section holds
            break;
        }
        if (rc == Z_STREAM_END) m_done = true;
        if (rc == Z_BUF_ERROR && st.zs.avail_in != 0 && produced == 0) {
            m_failed = true;  // no progress possible
            break;
        }
        if (m_done || st.produced - st.reported_at >= kSectionChunk) {
            st.reported_at = st.produced;
            report(st.progress, st.consumed(), st.total());
        }
    }
    return got;
}

bool InflateStream::finish() {
    std::string scratch(kSectionChunk, '\0');
    while (!m_done && !m_failed) read(scratch.data(), scratch.size());
    return !m_failed;
}

int InflateStream::percent() const {
    const State& st = *m_state;
    return st.total() == 0 ? 100 : int(st.consumed() * 100 / st.total());
}

namespace {

// Inflates a section (or with `header_included` a whole zlib stream) into `out`, one chunk at
// a time straight into its room.
bool inflate_parts(bool header_included, std::string_view data, ByteBuffer& out, Progress* progress,
                   std::size_t max_output) {
    InflateStream stream(data, progress, max_output, header_included);
    for (;;) {
        const std::size_t n = stream.read(out.room(kSectionChunk), kSectionChunk);
        out.grow(n);
        if (n < kSectionChunk) break;
    }
    return !stream.failed();
}

bool inflate_to_string(bool header_included, std::string_view data, std::string& out,
                       Progress* progress, std::size_t max_output) {
    ByteBuffer buffer;
    if (!inflate_parts(header_included, data, buffer, progress, max_output)) return false;
    out.assign(buffer.view());
    return true;
}

}  // namespace

std::size_t inflate_limit(std::size_t compressed_size) {
    if (compressed_size > kMaxLimit / kMaxRatio) return kMaxLimit;
    return std::clamp(compressed_size * kMaxRatio, kMinLimit, kMaxLimit);
}

bool inflate_zlib(std::string_view stream, std::string& out, Progress* progress,
                  std::size_t max_output) {
    if (inflate_to_string(true, stream, out, progress, max_output)) return true;
    out.clear();
    return false;
}

bool InflateSection(std::string& data, Progress* progress, std::size_t max_output) {
    if (max_output == 0) max_output = inflate_limit(data.size());
    return inflate_to_string(false, data, data, progress, max_output);
}

bool InflateSection(std::string_view compressed, ByteBuffer& out, Progress* progress,
                    std::size_t max_output) {
    if (max_output == 0) max_output = inflate_limit(compressed.size());
    ByteBuffer buffer;
    if (!inflate_parts(false, compressed, buffer, progress, max_output)) return false;
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
