#include "storage/field_codec.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <cstring>

#include "core/cp1251.h"
#include "storage/section.h"

namespace zt {

namespace {

// The stream's window: refilled in reads of this size (several inflater chunks).
constexpr std::size_t kWindow = std::size_t(256) << 10;
// A large field grows by at most this much beyond the bytes that have arrived for it.
constexpr std::size_t kTakeStep = std::size_t(1) << 20;
// An unread tail of a field in place always fits in front of an inflated block.
static_assert(FieldReader::kMaxInPlace <= InflateStream::kBlockHeadroom);

}  // namespace

void FieldReader::fail() {
    throw field_error("field runs past the end of the data");
}

int FieldReader::percent() const {
    if (m_source) return m_source->percent();
    return m_bytes.empty() ? 100 : int(m_pos * 100 / m_bytes.size());
}

void FieldReader::refill(std::size_t n) {
    if (!m_source || n > kMaxInPlace) fail();
    // The unread tail goes in front of the stream's next bytes: in the window, or in the block
    // of an inflater running ahead.
    std::string_view have = m_bytes.substr(m_pos);
    char* const scratch = window();
    while (have.size() < n) {
        const std::string_view next = m_source->next_block(have, scratch, m_window.size());
        if (m_source->failed()) throw section_error("section does not inflate");
        if (next.size() == have.size()) break;
        have = next;
    }
    m_bytes = have;
    m_pos = 0;
    if (have.size() < n) fail();
}

bool FieldReader::more() {
    if (!m_source) return false;
    char* const scratch = window();
    m_bytes = m_source->next_block({}, scratch, m_window.size());
    if (m_source->failed()) throw section_error("section does not inflate");
    m_pos = 0;
    return !m_bytes.empty();
}

char* FieldReader::window() {
    // An inflater running ahead hands out its own blocks; the window is only for the others.
    if (!m_source->runs_ahead() && m_window.size() < kWindow) m_window.resize(kWindow);
    return m_window.data();
}

std::string FieldReader::Take(std::size_t n) {
    const std::size_t at_hand = remaining();
    if (n <= at_hand) return std::string(Bytes(n));
    if (!m_source) fail();
    // The bytes at hand, then straight from the stream into the text.
    std::string out;
    out.resize(std::min(n, std::max(at_hand, kTakeStep)));
    std::memcpy(out.data(), m_bytes.data() + m_pos, at_hand);
    m_pos = m_bytes.size();
    std::size_t have = at_hand;
    while (have < n) {
        if (have == out.size()) out.resize(std::min(n, out.size() + kTakeStep));
        const std::size_t got = m_source->read(out.data() + have, out.size() - have);
        if (m_source->failed()) throw section_error("section does not inflate");
        if (got == 0) fail();
        have += got;
    }
    return out;
}

std::string FieldReader::LongText() {
    const std::int32_t n = Int32();
    if (n < 0) throw field_error("negative text length");
    return Take(std::size_t(n));
}

std::string FieldReader::FixedText(std::size_t n) {
    return Take(n);
}

std::string FieldReader::BitmapBlob() {
    const std::int32_t n = Int32();
    if (n < 0) throw field_error("negative picture length");
    return Take(std::size_t(n));
}

std::string FieldReader::GifBlob() {
    const std::int32_t n = Int32();
    if (n < 0) throw field_error("negative picture length");
    if (n == 0) return {};
    return picture_to_bmp(Take(std::size_t(n)));
}

std::string FieldReader::ZSection(Progress* progress, std::size_t max_output) {
    const std::int32_t n = Int32();
    if (n < 0) throw field_error("negative section length");
    std::string data = Take(std::size_t(n));
    if (!InflateSection(data, progress, max_output)) throw field_error("section does not inflate");
    return data;
}

void FieldWriter::Int32(std::int32_t v) {
    const auto u = std::uint32_t(v);
    const char b[4] = {char(u & 0xFF), char(u >> 8 & 0xFF), char(u >> 16 & 0xFF),
                       char(u >> 24 & 0xFF)};
    m_out.append(b, 4);
}

void FieldWriter::Byte(std::uint8_t v) {
    m_out.push_back(char(v));
}

void FieldWriter::Flag(std::uint8_t v) {
    Byte(v == 1 ? 1 : 0);
}

void FieldWriter::ShortText(std::string_view s) {
    if (s.size() > 255) s = s.substr(0, 255);
    Byte(std::uint8_t(s.size()));
    m_out.append(s);
}

void FieldWriter::LongText(std::string_view s) {
    Int32(std::int32_t(s.size()));
    m_out.append(s);
}

void FieldWriter::FixedText(std::string_view s, std::size_t n) {
    if (s.size() >= n) {
        m_out.append(s.substr(0, n));
    } else {
        m_out.append(s);
        m_out.append(n - s.size(), '\0');
    }
}

void FieldWriter::BitmapBlob(std::string_view bmp) {
    LongText(bmp);
}

void FieldWriter::GifBlob(std::string_view gif) {
    LongText(gif);
}

void FieldWriter::ZSection(std::string body, Progress* progress) {
    DeflateSection(body, progress);
    LongText(body);
}

std::string picture_to_bmp(std::string_view image_bytes) {
    if (image_bytes.empty() || image_bytes.size() > std::size_t(INT32_MAX)) return {};
    // The declared size is checked before decoding: a few bytes may declare a huge picture.
    const QByteArray bytes =
        QByteArray::fromRawData(image_bytes.data(), qsizetype(image_bytes.size()));
    QBuffer source;
    source.setData(bytes);
    source.open(QIODevice::ReadOnly);
    QImageReader reader(&source);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxPictureSide || size.height() > kMaxPictureSide)
        return {};
    QImage image;
    if (!reader.read(&image) || image.isNull()) return {};
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP")) return {};
    return std::string(bmp.constData(), std::size_t(bmp.size()));
}

}  // namespace zt
