#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/progress.h"

namespace zt {

// The field encodings shared by the data files, the server's payloads and the import file.
// Integers are little-endian, texts CP1251 bytes without a terminating zero.

// Thrown when a field would run past the end of its bytes (a truncated or damaged payload) or
// a compressed section does not inflate. Every length is checked against what remains before
// anything is allocated, so a crafted length never allocates more than the input holds.
class field_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The field_error of a reader on an InflateStream whose compressed data is damaged (as opposed
// to data that merely ends).
class section_error final : public field_error {
public:
    using field_error::field_error;
};

class InflateStream;

// Reads fields from bytes at a moving position: either a byte range, which must outlive the
// reader, or an InflateStream, of which the reader holds only a window (a large field is
// inflated straight into its own bytes). With a stream, a length can only be checked against
// what the stream still yields, which its own limit bounds; large fields grow as their bytes
// arrive, so a false length costs at most a step of memory beyond what the data holds.
class FieldReader final {
public:
    explicit FieldReader(std::string_view bytes) : m_bytes(bytes) {}
    explicit FieldReader(InflateStream& source) : m_source(&source) {}

    // Position and size of the bytes at hand: the whole range, or the stream's window.
    std::size_t pos() const { return m_pos; }
    std::size_t size() const { return m_bytes.size(); }
    std::size_t remaining() const { return m_bytes.size() - m_pos; }
    // How far the reading is, 0..100 (of the compressed input for a stream).
    int percent() const;
    // True when every byte has been read (a guarded list stops here).
    bool at_end() { return m_pos >= m_bytes.size() && !more(); }

    std::int32_t Int32() {
        const auto* b = reinterpret_cast<const unsigned char*>(Bytes(4).data());
        return std::int32_t(std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 |
                            std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24);
    }
    std::uint8_t Byte() { return std::uint8_t(Bytes(1)[0]); }
    // 1 is true, every other byte false.
    std::uint8_t Flag() { return Byte() == 1 ? 1 : 0; }
    std::string ShortText() { return std::string(ShortTextView()); }
    // The text in place, valid until the next read.
    std::string_view ShortTextView() { return Bytes(Byte()); }
    std::string LongText();
    std::string FixedText(std::size_t n);
    // A BMP file image; empty when the length is 0.
    std::string BitmapBlob();
    // A GIF file image decoded and returned as a BMP file image; empty when the length is 0 or
    // the picture cannot be decoded.
    std::string GifBlob();
    // Reads a length-prefixed compressed section and returns it inflated. Throws field_error
    // when the section does not inflate (or beyond `max_output` bytes; 0: body_ceiling()).
    std::string ZSection(Progress* progress = nullptr, std::size_t max_output = 0);
    // The next n bytes in place, valid until the next read. Meant for short fields: on a stream
    // n may be at most kMaxInPlace.
    std::string_view Bytes(std::size_t n) {
        if (n > remaining()) refill(n);
        const std::string_view v = m_bytes.substr(m_pos, n);
        m_pos += n;
        return v;
    }
    // The next n bytes as a text of their own.
    std::string Take(std::size_t n);

    static constexpr std::size_t kMaxInPlace = std::size_t(1) << 16;

private:
    // Makes at least n unread bytes available or throws.
    void refill(std::size_t n);
    // Reads more of the stream into the window; false at the end of the data.
    bool more();
    // Where the stream's bytes arrive unless it hands out blocks of its own.
    char* window();
    [[noreturn]] static void fail();
    std::string_view m_bytes;
    std::size_t m_pos = 0;
    InflateStream* m_source = nullptr;
    // Not filled with zeros: a download reads thousands of small blocks, each with a reader.
    std::unique_ptr<char[]> m_window;
};

// Appends fields to a byte string.
class FieldWriter final {
public:
    explicit FieldWriter(std::string& out) : m_out(out) {}

    void Int32(std::int32_t v);
    void Byte(std::uint8_t v);
    // true (1) as 1, everything else as 0.
    void Flag(std::uint8_t v);
    // Texts longer than 255 bytes are cut to 255.
    void ShortText(std::string_view s);
    void LongText(std::string_view s);
    // Exactly n bytes: a shorter text is filled with zero bytes, a longer one cut.
    void FixedText(std::string_view s, std::size_t n);
    void BitmapBlob(std::string_view bmp);
    // Writes a GIF file image as it is (length-prefixed).
    void GifBlob(std::string_view gif);
    // Compresses `body` and writes it length-prefixed.
    void ZSection(std::string body, Progress* progress = nullptr);
    void Bytes(std::string_view b) { m_out.append(b); }

private:
    std::string& m_out;
};

// The largest side of a picture decoded from a download (announcement pictures).
constexpr int kMaxPictureSide = 2048;

// Decodes a GIF (or any image format QImage reads) and re-encodes it as a BMP file image.
// Empty when the bytes are not a readable picture or declare more than kMaxPictureSide pixels
// a side (checked before decoding).
std::string picture_to_bmp(std::string_view image_bytes);

}  // namespace zt
