#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "core/progress.h"

struct z_stream_s;

namespace zt {

// Compressed sections: a zlib stream (level 1 when we write it) without its two header bytes,
// i.e. raw deflate data followed by the Adler-32 of the uncompressed bytes. Reading works in
// chunks, reporting progress after each chunk.

// Size of every chunk read from or written to the compressor.
constexpr std::size_t kSectionChunk = 102399;

// The most any body may inflate to, whatever its compression ratio (pictures of one colour
// compress far beyond 200:1): 1 GB, or a quarter of the memory where that is less (at least
// 256 MB). It bounds memory, not the ratio.
std::size_t body_ceiling();
// The most a section may inflate to: body_ceiling() for any compressed size.
std::size_t inflate_limit(std::size_t compressed_size);

// The decompressor that reads sections: ISA-L where it is built in (faster on our data), zlib
// otherwise. Switchable for benchmarks and tests.
enum class Inflater { zlib, isal };
void set_inflater(Inflater which);
Inflater current_inflater();

// Inflates a complete zlib stream (with its header) into `out`, checking the Adler-32.
// Progress (input position x 100 / input size) goes to `progress` when given. Fails on damaged
// data, a wrong checksum, input that ends before the stream does, bytes after its end, or
// output beyond `max_output` bytes; `out` is then left empty.
bool inflate_zlib(std::string_view stream, std::string& out, Progress* progress,
                  std::size_t max_output);

// `data` holds the compressed bytes of one section (no length prefix). On success it holds the
// uncompressed bytes. On failure it is left unchanged. `max_output` 0 means
// `inflate_limit(data.size())`.
bool InflateSection(std::string& data, Progress* progress = nullptr, std::size_t max_output = 0);

// A block of bytes that grows without being zero-filled or copied (large blocks are moved by
// the allocator's page remapping): the inflated bodies of data files.
class ByteBuffer final {
public:
    ByteBuffer() = default;
    ByteBuffer(ByteBuffer&& o) noexcept { *this = std::move(o); }
    ByteBuffer& operator=(ByteBuffer&& o) noexcept;
    ~ByteBuffer();

    std::string_view view() const { return {m_data, m_size}; }
    std::size_t size() const { return m_size; }
    // At least `n` writable bytes after the end; they count once passed to `grow`.
    char* room(std::size_t n);
    void grow(std::size_t n) { m_size += n; }
    // Gives back the capacity beyond the size.
    void trim();

private:
    char* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

// Inflates the compressed bytes of one section into `out`, as InflateSection does, without a
// copy of the input or of the output.
bool InflateSection(std::string_view compressed, ByteBuffer& out, Progress* progress = nullptr,
                    std::size_t max_output = 0);

// Inflates a section piece by piece as a reader asks for bytes, so a large body never has to
// be held whole. Every inflater read is at most one chunk; progress (input position x 100 /
// input size) is reported after every chunk of output. Like InflateSection: damaged data, a
// wrong checksum, output beyond the limit, input that ends before the stream's end marker and
// bytes after it all fail (a cut-off file is damage, never a shorter file).
//
// A large section is inflated on a thread of its own, a few blocks ahead of the reader, so
// inflating and reading what was inflated take two processors. Progress is then reported on
// the reader's thread as it takes each block (256 KB of output), never on the inflating one.
class InflateStream final {
public:
    // Whether the inflater runs ahead on its own thread: for sections of at least
    // kAheadFrom compressed bytes on a machine with more than one processor, never, or always.
    enum class Ahead { automatic, never, always };
    static constexpr std::size_t kAheadFrom = std::size_t(1) << 20;
    // The bytes a block taken with next_block() can carry in front of it.
    static constexpr std::size_t kBlockHeadroom = std::size_t(1) << 16;

    // `compressed` (a section without its header, or with `header_included` a whole zlib
    // stream) must outlive the stream. `max_output` 0 means body_ceiling().
    explicit InflateStream(std::string_view compressed, Progress* progress = nullptr,
                           std::size_t max_output = 0, bool header_included = false,
                           Ahead ahead = Ahead::automatic);
    ~InflateStream();
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;

    // Up to `n` bytes into `dst`; fewer only when the data ends or fails.
    std::size_t read(char* dst, std::size_t n);
    // The next bytes in place with `tail` (at most kBlockHeadroom bytes, which may lie in the
    // previous block) copied in front of them: valid until the next call. Only `tail` when the
    // data ends or fails. Saves the copy read() makes when the inflater runs ahead.
    std::string_view next_block(std::string_view tail, char* scratch, std::size_t scratch_size);
    bool failed() const { return m_failed; }
    // Reads the rest, discarding it, so the checksum is verified; false when the section is
    // damaged (also when it failed before).
    bool finish();
    int percent() const;
    bool runs_ahead() const;

private:
    struct State;
    struct Worker;
    std::size_t pull(char* dst, std::size_t n);
    // Takes the next inflated block, copying `tail` in front of it before the block it may lie
    // in is given back; false when there is none.
    bool advance(std::string_view tail);
    std::unique_ptr<State> m_state;
    std::unique_ptr<Worker> m_worker;
    bool m_failed = false;
    bool m_done = false;
};

// The compressor that writes sections: ISA-L where it is built in (several times faster, and a
// large body is compressed in parts on two processors at once), zlib otherwise. Either writes
// a standard stream that every inflater reads. Switchable for benchmarks and tests.
enum class Deflater { zlib, isal };
void set_deflater(Deflater which);
Deflater current_deflater();

// Compresses a section handed over in parts as they are made, so a large body never has to be
// held whole. With ISA-L every part is compressed on its own, on two threads besides the
// caller, while the caller makes the next; with zlib the parts go through one stream as they
// come. Throws std::bad_alloc when memory runs out.
class SectionDeflater final {
public:
    // A good size for a part: large enough that joining parts costs nothing measurable.
    static constexpr std::size_t kPart = std::size_t(4) << 20;

    // Progress, when given, counts against the `expected` bytes to come in parts of `part`
    // bytes (the parts add_view and add are given).
    explicit SectionDeflater(Progress* progress = nullptr, std::size_t expected = 0,
                             std::size_t part = kPart);
    ~SectionDeflater();
    SectionDeflater(const SectionDeflater&) = delete;
    SectionDeflater& operator=(const SectionDeflater&) = delete;

    // The next bytes of the section, taken over (`part` is left empty).
    void add(std::string&& part);
    // The next bytes of the section, which must stay in place until finish() has returned.
    void add_view(std::string_view bytes);
    // The compressed section (level 1, the two zlib header bytes dropped) of every byte added.
    std::string finish();

private:
    struct Shared;
    void add(std::string_view bytes, std::string* owned);
    void zlib_run(std::string_view bytes, int flush);
    void report_parts(std::size_t finished);
    Progress* m_progress = nullptr;
    std::size_t m_expected = 0;
    std::size_t m_part = kPart;
    std::size_t m_reported = 0;
    std::size_t m_total = 0;
    std::unique_ptr<Shared> m_shared;
    std::unique_ptr<class PartDeflater> m_own;
    std::unique_ptr<z_stream_s> m_zlib;
    std::string m_result;
};

// `data` holds uncompressed bytes; on return it holds the compressed section (level 1, the two
// zlib header bytes dropped). Throws std::bad_alloc when memory runs out.
void DeflateSection(std::string& data, Progress* progress = nullptr);

}  // namespace zt
