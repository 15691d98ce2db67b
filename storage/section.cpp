#include "storage/section.h"

#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>

#ifdef ZT_HAVE_ISAL
#include <isa-l/igzip_lib.h>
#endif

namespace zt {
namespace {

// The header zlib writes at its highest compression level; sections are stored without it.
constexpr std::array<unsigned char, 2> kHeader{0x78, 0xDA};

void report(Progress* progress, std::size_t done, std::size_t total) {
    if (progress) progress->job_progress(total == 0 ? 100 : int(done * 100 / total));
}

const std::string_view kHeaderView(reinterpret_cast<const char*>(kHeader.data()), kHeader.size());

std::atomic<Inflater> g_inflater{
#ifdef ZT_HAVE_ISAL
    Inflater::isal
#else
    Inflater::zlib
#endif
};

// One step of an inflater: what it did with the input and output it was given.
enum class Step { more, end, error };

// The decompressor behind InflateStream: zlib, or ISA-L where it is built in.
class Engine {
public:
    virtual ~Engine() = default;
    // Consumes from `in`/`in_size` and fills `out`/`out_size`, advancing both.
    virtual Step run(const char*& in, std::size_t& in_size, char*& out, std::size_t& out_size) = 0;
};

class ZlibEngine final : public Engine {
public:
    ZlibEngine() { m_ok = inflateInit(&m_zs) == Z_OK; }
    ~ZlibEngine() override { inflateEnd(&m_zs); }
    bool ok() const { return m_ok; }
    Step run(const char*& in, std::size_t& in_size, char*& out, std::size_t& out_size) override {
        m_zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in));
        m_zs.avail_in = uInt(in_size);
        m_zs.next_out = reinterpret_cast<Bytef*>(out);
        m_zs.avail_out = uInt(out_size);
        const int rc = inflate(&m_zs, Z_NO_FLUSH);
        in += in_size - m_zs.avail_in;
        out += out_size - m_zs.avail_out;
        in_size = m_zs.avail_in;
        out_size = m_zs.avail_out;
        if (rc == Z_STREAM_END) return Step::end;
        return rc == Z_OK || rc == Z_BUF_ERROR ? Step::more : Step::error;
    }

private:
    z_stream m_zs{};
    bool m_ok = false;
};

#ifdef ZT_HAVE_ISAL
// ISA-L reads a section directly (raw deflate followed by the Adler-32, which it verifies);
// a whole stream with its header as zlib does.
class IsalEngine final : public Engine {
public:
    explicit IsalEngine(bool header_included) {
        isal_inflate_init(&m_st);
        m_st.crc_flag = header_included ? ISAL_ZLIB : ISAL_ZLIB_NO_HDR_VER;
    }
    Step run(const char*& in, std::size_t& in_size, char*& out, std::size_t& out_size) override {
        m_st.next_in = reinterpret_cast<std::uint8_t*>(const_cast<char*>(in));
        m_st.avail_in = std::uint32_t(in_size);
        m_st.next_out = reinterpret_cast<std::uint8_t*>(out);
        m_st.avail_out = std::uint32_t(out_size);
        const int rc = isal_inflate(&m_st);
        in += in_size - m_st.avail_in;
        out += out_size - m_st.avail_out;
        in_size = m_st.avail_in;
        out_size = m_st.avail_out;
        if (rc < 0) return Step::error;
        if (m_st.block_state != ISAL_BLOCK_FINISH) return Step::more;
        // Whole bytes still in the bit buffer were read ahead past the stream's end: give
        // them back, so bytes after the end are seen.
        const std::size_t ahead = std::size_t(std::max(m_st.read_in_length, 0) / 8);
        in -= ahead;
        in_size += ahead;
        return Step::end;
    }

private:
    inflate_state m_st{};
};
#endif

std::unique_ptr<Engine> make_engine(bool header_included, std::string_view& prefix) {
#ifdef ZT_HAVE_ISAL
    if (g_inflater.load() == Inflater::isal) {
        prefix = {};
        return std::make_unique<IsalEngine>(header_included);
    }
#endif
    auto zlib = std::make_unique<ZlibEngine>();
    if (!zlib->ok()) return nullptr;
    prefix = header_included ? std::string_view() : kHeaderView;
    return zlib;
}

}  // namespace

void set_inflater(Inflater which) {
#ifdef ZT_HAVE_ISAL
    g_inflater = which;
#else
    (void)which;
#endif
}

Inflater current_inflater() {
    return g_inflater.load();
}

std::size_t body_ceiling() {
    static const std::size_t ceiling = [] {
        constexpr std::size_t kMin = std::size_t(256) << 20;
        constexpr std::size_t kMax = std::size_t(1) << 30;
        const long pages = sysconf(_SC_PHYS_PAGES);
        const long page = sysconf(_SC_PAGE_SIZE);
        if (pages <= 0 || page <= 0) return kMax;
        return std::clamp(std::size_t(pages) / 4 * std::size_t(page), kMin, kMax);
    }();
    return ceiling;
}

// The inflater and where it stands in its input: first (for zlib) the restored header, then
// the section. Input goes in pieces of at most one chunk.
struct InflateStream::State {
    std::unique_ptr<Engine> engine;
    std::string_view prefix;
    std::string_view data;
    const char* next = nullptr;  // the unread input of the current piece
    std::size_t avail = 0;
    std::size_t fed_data = 0;
    bool in_prefix = true;
    bool output_full = false;  // the last call filled its room: the inflater may hold more
    std::size_t produced = 0;
    std::size_t max_output = 0;
    std::size_t reported_at = 0;
    Progress* progress = nullptr;

    std::size_t consumed() const {
        return in_prefix ? prefix.size() - avail : prefix.size() + fed_data - avail;
    }
    std::size_t total() const { return prefix.size() + data.size(); }
};

InflateStream::InflateStream(std::string_view compressed, Progress* progress,
                             std::size_t max_output, bool header_included)
    : m_state(std::make_unique<State>()) {
    State& st = *m_state;
    st.engine = make_engine(header_included, st.prefix);
    st.data = compressed;
    st.progress = progress;
    st.max_output = max_output == 0 ? body_ceiling() : max_output;
    if (!st.engine) {
        m_failed = true;
        return;
    }
    st.next = st.prefix.data();
    st.avail = st.prefix.size();
}

InflateStream::~InflateStream() = default;

std::size_t InflateStream::read(char* dst, std::size_t n) {
    State& st = *m_state;
    std::size_t got = 0;
    while (got < n && !m_done && !m_failed) {
        if (st.avail == 0 && !st.output_full) {
            // The inflater holds nothing back: it needs more input.
            st.in_prefix = false;
            if (st.fed_data >= st.data.size()) {
                // The input ended before the stream's end: a cut-off file is damage.
                m_failed = true;
                break;
            }
            const std::size_t k = std::min(kSectionChunk, st.data.size() - st.fed_data);
            st.next = st.data.data() + st.fed_data;
            st.avail = k;
            st.fed_data += k;
        }
        const std::size_t room = std::min(kSectionChunk, n - got);
        char* out = dst + got;
        std::size_t out_left = room;
        const std::size_t avail_before = st.avail;
        const Step step = st.engine->run(st.next, st.avail, out, out_left);
        const std::size_t produced = room - out_left;
        st.output_full = out_left == 0;
        if (step == Step::error) {
            m_failed = true;  // damaged data or a wrong checksum
            break;
        }
        got += produced;
        st.produced += produced;
        if (st.produced > st.max_output) {
            m_failed = true;  // more than any body may hold
            break;
        }
        if (step == Step::end) {
            m_done = true;
            // Bytes after the end of the stream are not ours: the file is damaged.
            if (st.avail != 0 || st.fed_data < st.data.size()) m_failed = true;
        } else if (st.avail != 0 && st.avail == avail_before && produced == 0) {
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

std::size_t inflate_limit(std::size_t) {
    return body_ceiling();
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
