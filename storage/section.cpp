#include "storage/section.h"

#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

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

std::atomic<Deflater> g_deflater{
#ifdef ZT_HAVE_ISAL
    Deflater::isal
#else
    Deflater::zlib
#endif
};

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
    // Ready for another stream, as a new engine would be.
    void reset(bool header_included) {
        isal_inflate_reset(&m_st);
        m_st.crc_flag = header_included ? ISAL_ZLIB : ISAL_ZLIB_NO_HDR_VER;
        m_used = 0;
    }
    Step run(const char*& in, std::size_t& in_size, char*& out, std::size_t& out_size) override {
        auto* const in_bytes = reinterpret_cast<std::uint8_t*>(const_cast<char*>(in));
        m_st.next_in = in_bytes;
        m_st.avail_in = std::uint32_t(in_size);
        m_st.next_out = reinterpret_cast<std::uint8_t*>(out);
        m_st.avail_out = std::uint32_t(out_size);
        const int rc = isal_inflate(&m_st);
        // After an error ISA-L's input position is not meaningful (its byte count can even run
        // below zero): the stream is damaged and nothing of the state is used.
        if (rc < 0) return Step::error;
        // A call only moves forward through the input it was given, its position and count in
        // step; anything else is a state that cannot be trusted, and damage.
        const std::size_t used = std::size_t(m_st.next_in - in_bytes);
        if (m_st.next_in < in_bytes || used > in_size || m_st.avail_in != in_size - used ||
            m_st.next_out < reinterpret_cast<std::uint8_t*>(out) ||
            std::size_t(m_st.next_out - reinterpret_cast<std::uint8_t*>(out)) > out_size)
            return Step::error;
        m_used += used;
        in += used;
        in_size -= used;
        const std::size_t made = std::size_t(m_st.next_out - reinterpret_cast<std::uint8_t*>(out));
        out += made;
        out_size -= made;
        if (m_st.block_state != ISAL_BLOCK_FINISH) return Step::more;
        // Whole bytes still in the bit buffer were read ahead past the stream's end: give
        // them back, so bytes after the end are seen. They are bytes this stream was given
        // (the input is one block, handed over in consecutive pieces).
        const std::size_t ahead = std::size_t(std::max(m_st.read_in_length, 0) / 8);
        if (ahead > m_used) return Step::error;
        in -= ahead;
        in_size += ahead;
        m_used -= ahead;
        return Step::end;
    }

private:
    inflate_state m_st{};
    std::size_t m_used = 0;  // input bytes consumed so far
};
#endif

#ifdef ZT_HAVE_ISAL
// The ISA-L engine a thread used last, kept for its next stream: its state is large (about
// 90 KB), and a download inflates thousands of small blocks one after the other.
thread_local std::unique_ptr<IsalEngine> t_spare_engine;
#endif

std::unique_ptr<Engine> make_engine(bool header_included, std::string_view& prefix) {
#ifdef ZT_HAVE_ISAL
    if (g_inflater.load() == Inflater::isal) {
        prefix = {};
        if (auto spare = std::move(t_spare_engine)) {
            spare->reset(header_included);
            return spare;
        }
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

void set_deflater(Deflater which) {
#ifdef ZT_HAVE_ISAL
    g_deflater = which;
#else
    (void)which;
#endif
}

Deflater current_deflater() {
    return g_deflater.load();
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

    // Up to `n` inflated bytes into `dst`; sets `done` at the stream's end and `failed` on
    // damage. Progress goes to `to` (none while inflating ahead of the reader).
    std::size_t pull(char* dst, std::size_t n, bool& done, bool& failed, Progress* to);
};

std::size_t InflateStream::State::pull(char* dst, std::size_t n, bool& done, bool& failed,
                                       Progress* to) {
    std::size_t got = 0;
    while (got < n && !done && !failed) {
        if (avail == 0 && !output_full) {
            // The inflater holds nothing back: it needs more input.
            in_prefix = false;
            if (fed_data >= data.size()) {
                // The input ended before the stream's end: a cut-off file is damage.
                failed = true;
                break;
            }
            const std::size_t k = std::min(kSectionChunk, data.size() - fed_data);
            next = data.data() + fed_data;
            avail = k;
            fed_data += k;
        }
        const std::size_t room = std::min(kSectionChunk, n - got);
        char* out = dst + got;
        std::size_t out_left = room;
        const std::size_t avail_before = avail;
        const Step step = engine->run(next, avail, out, out_left);
        const std::size_t step_produced = room - out_left;
        output_full = out_left == 0;
        if (step == Step::error) {
            failed = true;  // damaged data or a wrong checksum
            break;
        }
        got += step_produced;
        produced += step_produced;
        if (produced > max_output) {
            failed = true;  // more than any body may hold
            break;
        }
        if (step == Step::end) {
            done = true;
            // Bytes after the end of the stream are not ours: the file is damaged.
            if (avail != 0 || fed_data < data.size()) failed = true;
        } else if (avail != 0 && avail == avail_before && step_produced == 0) {
            failed = true;  // no progress possible
            break;
        }
        if (done || produced - reported_at >= kSectionChunk) {
            reported_at = produced;
            report(to, consumed(), total());
        }
    }
    return got;
}

// The inflater on its own thread, filling a ring of blocks ahead of the reader. Block k goes
// to slot k % kSlots; the reader holds at most one block (the one it reads) and gives it back
// when it takes the next.
struct InflateStream::Worker {
    static constexpr std::size_t kSlots = 4;
    static constexpr std::size_t kBlock = std::size_t(256) << 10;
    struct Slot {
        std::unique_ptr<char[]> bytes{new char[kBlockHeadroom + kBlock]};
        std::size_t size = 0;
        std::size_t consumed_input = 0;  // for the reader's progress
        bool last = false;               // the stream ended (or failed) with this block
        char* data() { return bytes.get() + kBlockHeadroom; }
    };
    std::array<Slot, kSlots> slots;
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t filled = 0;  // blocks filled so far
    std::size_t freed = 0;   // blocks the reader has given back
    bool stop = false;
    bool done = false, failed = false;  // the stream's end, valid once the last block is in
    // The reader's side: whether it holds block `freed`, and how far it has read it.
    bool held = false;
    std::size_t offset = 0;
    std::thread thread;

    void run(State& st) {
        bool end = false, bad = false;
        while (!end && !bad) {
            std::size_t index = 0;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [this] { return stop || filled - freed < kSlots; });
                if (stop) return;
                index = filled;
            }
            Slot& slot = slots[index % kSlots];
            slot.size = st.pull(slot.data(), kBlock, end, bad, nullptr);
            slot.consumed_input = st.consumed();
            slot.last = end || bad;
            std::lock_guard lock(mutex);
            if (slot.last) {
                done = end && !bad;
                failed = bad;
            }
            ++filled;
            changed.notify_all();
        }
    }
    Slot& current() { return slots[freed % kSlots]; }
};

InflateStream::InflateStream(std::string_view compressed, Progress* progress,
                             std::size_t max_output, bool header_included, Ahead ahead)
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
    const bool run_ahead =
        ahead == Ahead::always || (ahead == Ahead::automatic && compressed.size() >= kAheadFrom &&
                                   std::thread::hardware_concurrency() > 1);
    if (run_ahead) {
        m_worker = std::make_unique<Worker>();
        try {
            m_worker->thread = std::thread([this] { m_worker->run(*m_state); });
        } catch (const std::system_error&) {
            m_worker.reset();  // no thread to be had: the reader inflates as it reads
        }
    }
}

InflateStream::~InflateStream() {
    if (m_worker) {
        {
            std::lock_guard lock(m_worker->mutex);
            m_worker->stop = true;
        }
        m_worker->changed.notify_all();
        m_worker->thread.join();
    }
#ifdef ZT_HAVE_ISAL
    // The engine goes back to this thread for its next stream.
    if (auto* isal = dynamic_cast<IsalEngine*>(m_state->engine.get()); isal && !t_spare_engine) {
        m_state->engine.release();
        t_spare_engine.reset(isal);
    }
#endif
}

bool InflateStream::runs_ahead() const {
    return m_worker != nullptr;
}

std::size_t InflateStream::pull(char* dst, std::size_t n) {
    return m_state->pull(dst, n, m_done, m_failed, m_state->progress);
}

bool InflateStream::advance(std::string_view tail) {
    Worker& w = *m_worker;
    std::unique_lock lock(w.mutex);
    if (w.held && w.current().last) return false;  // the stream ended with the block held
    const std::size_t next = w.freed + (w.held ? 1 : 0);
    w.changed.wait(lock, [&w, next] { return w.filled > next; });
    Worker::Slot& slot = w.slots[next % Worker::kSlots];
    const bool last = slot.last;
    const bool failed = w.failed;
    lock.unlock();
    // The tail may lie in the block held until now: copy it before giving that block back.
    std::memcpy(slot.data() - tail.size(), tail.data(), tail.size());
    lock.lock();
    if (w.held) ++w.freed;
    w.held = true;
    w.offset = 0;
    lock.unlock();
    w.changed.notify_all();
    if (last) {
        m_failed = failed;
        m_done = !failed;
    }
    report(m_state->progress, slot.consumed_input, m_state->total());
    return true;
}

std::size_t InflateStream::read(char* dst, std::size_t n) {
    if (!m_worker) return pull(dst, n);
    Worker& w = *m_worker;
    std::size_t got = 0;
    while (got < n && !m_failed) {
        if (!w.held || w.offset == w.current().size) {
            if (!advance({})) break;
            continue;
        }
        Worker::Slot& slot = w.current();
        const std::size_t k = std::min(n - got, slot.size - w.offset);
        std::memcpy(dst + got, slot.data() + w.offset, k);
        w.offset += k;
        got += k;
    }
    return got;
}

std::string_view InflateStream::next_block(std::string_view tail, char* scratch,
                                           std::size_t scratch_size) {
    if (!m_worker) {
        if (!tail.empty() && tail.data() != scratch)
            std::memmove(scratch, tail.data(), tail.size());
        const std::size_t got = pull(scratch + tail.size(), scratch_size - tail.size());
        return {scratch, tail.size() + got};
    }
    Worker& w = *m_worker;
    if (!m_failed && (!w.held || w.offset == w.current().size)) {
        if (!advance(tail)) return tail;
        tail = {w.current().data() - tail.size(), tail.size()};
    }
    if (m_failed) return tail;
    // The rest of the held block, with the tail in front of it (the headroom, or the bytes of
    // this block already read, leave room for it).
    Worker::Slot& slot = w.current();
    char* at = slot.data() + w.offset;
    if (tail.data() != at - tail.size()) std::memmove(at - tail.size(), tail.data(), tail.size());
    const std::size_t size = tail.size() + slot.size - w.offset;
    w.offset = slot.size;
    return {at - tail.size(), size};
}

bool InflateStream::finish() {
    // Usually nothing is left but the checksum: a small buffer, never filled beforehand (a
    // download finishes thousands of small blocks).
    char scratch[16384];
    while (!m_done && !m_failed) read(scratch, sizeof scratch);
    return !m_failed;
}

int InflateStream::percent() const {
    const State& st = *m_state;
    std::size_t consumed = 0;
    if (m_worker) {
        // The reader's position: the input behind the block it holds (the inflater's own
        // position belongs to its thread).
        std::lock_guard lock(m_worker->mutex);
        if (m_worker->held)
            consumed = m_worker->slots[m_worker->freed % Worker::kSlots].consumed_input;
    } else {
        consumed = st.consumed();
    }
    return st.total() == 0 ? 100 : int(consumed * 100 / st.total());
}

namespace {

// Inflates a section (or with `header_included` a whole zlib stream) into `out`, one chunk at
// a time straight into its room.
bool inflate_parts(bool header_included, std::string_view data, ByteBuffer& out, Progress* progress,
                   std::size_t max_output) {
    // Inflated straight into the buffer: a thread running ahead would only add a copy.
    InflateStream stream(data, progress, max_output, header_included, InflateStream::Ahead::never);
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

#ifdef ZT_HAVE_ISAL

// One ISA-L compressor at level 1, kept for the parts one thread compresses. A part ends on a
// byte boundary without the final-block mark (a sync flush), so parts compressed each on
// their own and joined are one deflate stream; a part only loses the back-references into
// the part before it.
class PartDeflater final {
public:
    PartDeflater() : m_level_buf(new std::uint8_t[ISAL_DEF_LVL1_DEFAULT]) {}
    std::string run(std::string_view in) {
        isal_deflate_init(&m_zs);
        m_zs.level = 1;
        m_zs.level_buf = m_level_buf.get();
        m_zs.level_buf_size = ISAL_DEF_LVL1_DEFAULT;
        m_zs.gzip_flag = IGZIP_DEFLATE;
        m_zs.end_of_stream = 0;
        m_zs.flush = SYNC_FLUSH;
        m_zs.next_in = reinterpret_cast<std::uint8_t*>(const_cast<char*>(in.data()));
        m_zs.avail_in = std::uint32_t(in.size());
        // Stored blocks bound what deflate data may take: 5 bytes for each 64 KB and a few
        // for the block headers and the flush marker. The room is never filled beforehand.
        std::size_t room = in.size() + in.size() / 1024 * 5 / 64 + 1024;
        std::unique_ptr<char[]> out(new char[room]);
        std::size_t made = 0;
        for (;;) {
            m_zs.next_out = reinterpret_cast<std::uint8_t*>(out.get() + made);
            m_zs.avail_out = std::uint32_t(std::min<std::size_t>(room - made, UINT32_MAX));
            const std::uint32_t before = m_zs.avail_out;
            if (isal_deflate(&m_zs) != COMP_OK) throw std::bad_alloc();
            made += before - m_zs.avail_out;
            if (m_zs.avail_out != 0 && m_zs.avail_in == 0) break;
            const std::size_t larger = room + room / 2 + 1024;
            std::unique_ptr<char[]> grown(new char[larger]);
            std::memcpy(grown.get(), out.get(), made);
            out = std::move(grown);
            room = larger;
        }
        return std::string(out.get(), made);
    }

private:
    std::unique_ptr<std::uint8_t[]> m_level_buf;
    isal_zstream m_zs{};
};

#else

class PartDeflater final {};

#endif

// Parts waiting for a compressor, the parts compressed so far (in their order) and the threads
// that compress them.
struct SectionDeflater::Shared {
    struct Part {
        std::string owned;
        std::string_view bytes;
        std::string out;
        std::size_t length = 0;
        std::uint32_t adler = 1;
        bool done = false;
    };
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Part> parts;    // every part so far, in order
    std::size_t next = 0;      // the first part no compressor has taken
    std::size_t finished = 0;  // parts compressed
    bool stop = false;
    bool failed = false;
    std::vector<std::thread> threads;

#ifdef ZT_HAVE_ISAL
    // Compresses part `i` (taken under the lock) outside the lock.
    void compress(PartDeflater& deflater, std::size_t i, std::unique_lock<std::mutex>& lock) {
        Part& part = parts[i];  // a deque keeps its elements in place as it grows at its end
        lock.unlock();
        std::string out;
        std::uint32_t adler = 1;
        bool ok = true;
        try {
            out = deflater.run(part.bytes);
            adler = isal_adler32(1, reinterpret_cast<const unsigned char*>(part.bytes.data()),
                                 part.bytes.size());
        } catch (const std::bad_alloc&) {
            ok = false;
        }
        lock.lock();
        part.out = std::move(out);
        part.adler = adler;
        part.done = true;
        std::string().swap(part.owned);
        part.bytes = {};
        failed = failed || !ok;
        ++finished;
        changed.notify_all();
    }
    void work() {
        std::unique_ptr<PartDeflater> deflater;
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [this] { return stop || next < parts.size(); });
            if (next >= parts.size()) return;  // stopped with nothing left to take
            const std::size_t i = next++;
            if (!deflater) {
                try {
                    deflater = std::make_unique<PartDeflater>();
                } catch (const std::bad_alloc&) {
                    failed = true;
                }
            }
            if (!deflater) {
                parts[i].done = true;
                ++finished;
                changed.notify_all();
                continue;
            }
            compress(*deflater, i, lock);
        }
    }
#endif
};

SectionDeflater::SectionDeflater(Progress* progress, std::size_t expected, std::size_t part)
    : m_progress(progress), m_expected(expected), m_part(std::max<std::size_t>(part, 1)) {
#ifdef ZT_HAVE_ISAL
    if (g_deflater.load() == Deflater::isal) {
        m_shared = std::make_unique<Shared>();
        const unsigned cores = std::max(1u, std::min(2u, std::thread::hardware_concurrency()));
        for (unsigned i = 0; i < cores; ++i) {
            try {
                m_shared->threads.emplace_back([s = m_shared.get()] { s->work(); });
            } catch (const std::system_error&) {
                break;  // fewer threads; the caller compresses what they leave
            }
        }
        return;
    }
#endif
    m_zlib = std::make_unique<z_stream>();
    if (deflateInit(m_zlib.get(), 1) != Z_OK) throw std::bad_alloc();
}

SectionDeflater::~SectionDeflater() {
    if (m_shared) {
        {
            std::lock_guard lock(m_shared->mutex);
            m_shared->stop = true;
            m_shared->next = m_shared->parts.size();  // nothing more is taken
        }
        m_shared->changed.notify_all();
        for (auto& t : m_shared->threads) t.join();
    }
    if (m_zlib) deflateEnd(m_zlib.get());
}

void SectionDeflater::zlib_run(std::string_view bytes, int flush) {
    z_stream& zs = *m_zlib;
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    zs.avail_in = uInt(bytes.size());
    char chunk[16384];
    int rc = Z_OK;
    do {
        zs.next_out = reinterpret_cast<Bytef*>(chunk);
        zs.avail_out = sizeof chunk;
        rc = deflate(&zs, flush);
        m_result.append(chunk, sizeof chunk - zs.avail_out);
    } while (zs.avail_out == 0 || zs.avail_in != 0 || (flush == Z_FINISH && rc != Z_STREAM_END));
}

void SectionDeflater::add(std::string_view bytes, std::string* owned) {
    m_total += bytes.size();
    if (m_zlib) {
        // One stream through zlib, in pieces of at most a chunk.
        for (std::size_t at = 0; at < bytes.size(); at += kSectionChunk) {
            zlib_run(bytes.substr(at, kSectionChunk), Z_NO_FLUSH);
            if (m_expected)
                report(m_progress,
                       std::min(m_total - bytes.size() + at + kSectionChunk, m_expected),
                       m_expected);
        }
        if (owned) owned->clear();
        return;
    }
#ifdef ZT_HAVE_ISAL
    Shared& s = *m_shared;
    std::unique_lock lock(s.mutex);
    Shared::Part& part = s.parts.emplace_back();
    part.length = bytes.size();
    if (owned) {
        part.owned = std::move(*owned);
        owned->clear();
        part.bytes = part.owned;
    } else {
        part.bytes = bytes;
    }
    s.changed.notify_all();
    // More than a few parts waiting: the caller compresses the oldest itself, which bounds the
    // memory they hold and puts the caller's processor to work.
    if (s.parts.size() - s.next > 2 * std::max<std::size_t>(1, s.threads.size())) {
        if (!m_own) m_own = std::make_unique<PartDeflater>();
        s.compress(*m_own, s.next++, lock);
    }
    report_parts(s.finished);
#endif
}

// Every part finished since the last report is reported in turn, so the steps a progress bar
// shows do not depend on how the threads happened to overlap.
void SectionDeflater::report_parts(std::size_t finished) {
    if (!m_progress || m_expected == 0) return;
    const std::size_t parts = std::max<std::size_t>(1, (m_expected + m_part - 1) / m_part);
    while (m_reported < finished) {
        ++m_reported;
        report(m_progress, std::min(m_reported, parts), parts);
    }
}

void SectionDeflater::add(std::string&& part) {
    add(std::string_view(part), &part);
}

void SectionDeflater::add_view(std::string_view bytes) {
    add(bytes, nullptr);
}

std::string SectionDeflater::finish() {
    if (m_zlib) {
        zlib_run({}, Z_FINISH);
        report(m_progress, 1, 1);
        // Drop the two header bytes; the reader puts them back.
        m_result.erase(0, 2);
        return std::move(m_result);
    }
#ifdef ZT_HAVE_ISAL
    Shared& s = *m_shared;
    std::unique_lock lock(s.mutex);
    // The caller compresses what no thread has taken yet and waits for the rest, reporting
    // each part as it is done.
    while (s.finished < s.parts.size()) {
        if (s.next < s.parts.size()) {
            if (!m_own) m_own = std::make_unique<PartDeflater>();
            s.compress(*m_own, s.next++, lock);
        } else {
            const std::size_t before = s.finished;
            s.changed.wait(lock, [&s, before] { return s.finished != before; });
        }
        report_parts(s.finished);
    }
    if (s.failed) throw std::bad_alloc();
    std::size_t size = 2 + 4;
    for (const auto& p : s.parts) size += p.out.size();
    std::string result;
    result.reserve(size);
    std::uint32_t sum = 1;
    for (auto& p : s.parts) {
        result += p.out;
        sum = std::uint32_t(adler32_combine(sum, p.adler, z_off_t(p.length)));
        std::string().swap(p.out);
    }
    // The final block: an empty one with fixed codes, then the Adler-32 of every byte.
    result.push_back('\x03');
    result.push_back('\x00');
    const char tail[4] = {char(sum >> 24), char(sum >> 16 & 0xFF), char(sum >> 8 & 0xFF),
                          char(sum & 0xFF)};
    result.append(tail, 4);
    report(m_progress, 1, 1);
    return result;
#else
    return {};
#endif
}

void DeflateSection(std::string& data, Progress* progress) {
    // Straight from the bytes, in parts of at least a chunk and at most the deflater's size:
    // a body of a few chunks still reports progress a few times.
    const std::size_t part = std::clamp(data.size() / 8, kSectionChunk, SectionDeflater::kPart);
    SectionDeflater deflater(progress, data.size(), part);
    for (std::size_t at = 0; at < data.size(); at += part)
        deflater.add_view(std::string_view(data).substr(at, part));
    data = deflater.finish();
}

}  // namespace zt
