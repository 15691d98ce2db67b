#include "storage/field_codec.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

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
        const std::string_view next = m_source->next_block(have, scratch, kWindow);
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
    m_bytes = m_source->next_block({}, scratch, kWindow);
    if (m_source->failed()) throw section_error("section does not inflate");
    m_pos = 0;
    return !m_bytes.empty();
}

char* FieldReader::window() {
    // An inflater running ahead hands out its own blocks; the window is only for the others.
    if (!m_source->runs_ahead() && !m_window) m_window.reset(new char[kWindow]);
    return m_window.get();
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

namespace {

// The headers of a 24-bit BMP file image as Qt's BMP writer makes them (its resolution
// fields among them), taken once from Qt itself; sizes are filled in per picture.
const std::string& bitmap_header() {
    static const std::string header = [] {
        QImage one(1, 1, QImage::Format_RGB32);
        one.fill(0);
        QByteArray bmp;
        QBuffer buffer(&bmp);
        buffer.open(QIODevice::WriteOnly);
        one.save(&buffer, "BMP");
        return std::string(bmp.constData(), std::size_t(std::min<qsizetype>(bmp.size(), 54)));
    }();
    return header;
}

// Reads a GIF file image from memory for giflib.
struct GifSource {
    std::string_view bytes;
    std::size_t at = 0;
};

int read_gif_bytes(GifFileType* gif, GifByteType* dst, int n) {
    auto* src = static_cast<GifSource*>(gif->UserData);
    const std::size_t k = std::min(std::size_t(std::max(n, 0)), src->bytes.size() - src->at);
    std::memcpy(dst, src->bytes.data() + src->at, k);
    src->at += k;
    return int(k);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

// The first picture of a GIF decoded with giflib, for the common plain case only: one picture
// that fills the whole screen, without a transparent colour, every pixel within its palette.
// Such a picture is exactly its pixels' palette colours, as any decoder gives it; it is
// written straight as the BMP file image Qt would write of it. Nothing for every other GIF, which
// is left to QImageReader; `too_large` when the picture declares more than kMaxPictureSide pixels a
// side.
std::string plain_gif(std::string_view bytes, bool& too_large) {
    too_large = false;
    GifSource source{bytes};
    int error = 0;
    const std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&source, read_gif_bytes, &error));
    if (!gif) return {};
    const int width = gif->SWidth, height = gif->SHeight;
    if (width > kMaxPictureSide || height > kMaxPictureSide) {
        too_large = true;
        return {};
    }
    if (width <= 0 || height <= 0) return {};
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &type) != GIF_OK) return {};
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* ext = nullptr;
            if (DGifGetExtension(gif.get(), &code, &ext) != GIF_OK) return {};
            // A graphic control block that names a transparent colour: left to Qt.
            if (code == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] >= 1 && (ext[1] & 1)) return {};
            while (ext)
                if (DGifGetExtensionNext(gif.get(), &ext) != GIF_OK) return {};
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE) return {};
        break;
    }
    if (DGifGetImageDesc(gif.get()) != GIF_OK) return {};
    const GifImageDesc& desc = gif->Image;
    if (desc.Left != 0 || desc.Top != 0 || desc.Width != width || desc.Height != height) return {};
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!map || !map->Colors || map->ColorCount <= 0) return {};
    // The BMP file image of a 24-bit picture as Qt's BMP writer makes it: the headers, then
    // the rows from the bottom up, blue, green and red, each row padded to 4 bytes.
    if (bitmap_header().size() != 54 || bitmap_header().substr(0, 2) != "BM") return {};
    const std::size_t row = (std::size_t(width) * 24 + 31) / 32 * 4;
    const std::size_t pixels = row * std::size_t(height);
    std::string bmp = bitmap_header();
    const auto put32 = [&bmp](std::size_t at, std::size_t v) {
        for (int i = 0; i < 4; ++i) bmp[at + std::size_t(i)] = char(v >> (8 * i) & 0xFF);
    };
    put32(2, bmp.size() + pixels);
    put32(18, std::size_t(width));
    put32(22, std::size_t(height));
    put32(34, pixels);
    const std::size_t head = bmp.size();
    bmp.resize(head + pixels);  // the padding stays zero
    std::vector<GifPixelType> line(static_cast<std::size_t>(width));
    // Interlaced pictures send every eighth row from 0, every eighth from 4, every fourth from
    // 2, then every second from 1.
    static constexpr int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
    const int passes = desc.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const int first = desc.Interlace ? kStart[pass] : 0;
        const int step = desc.Interlace ? kStep[pass] : 1;
        for (int y = first; y < height; y += step) {
            if (DGifGetLine(gif.get(), line.data(), width) != GIF_OK) return {};
            char* px = bmp.data() + head + std::size_t(height - 1 - y) * row;
            for (int x = 0; x < width; ++x) {
                const int index = line[std::size_t(x)];
                if (index >= map->ColorCount) return {};
                const GifColorType& c = map->Colors[index];
                px[3 * x] = char(c.Blue);
                px[3 * x + 1] = char(c.Green);
                px[3 * x + 2] = char(c.Red);
            }
        }
    }
    return bmp;
}

bool is_gif(std::string_view bytes) {
    return bytes.size() >= 6 && (bytes.substr(0, 6) == "GIF87a" || bytes.substr(0, 6) == "GIF89a");
}

}  // namespace

std::string picture_to_bmp(std::string_view image_bytes) {
    if (image_bytes.empty() || image_bytes.size() > std::size_t(INT32_MAX)) return {};
    if (is_gif(image_bytes)) {
        bool too_large = false;
        std::string bmp = plain_gif(image_bytes, too_large);
        if (too_large) return {};
        if (!bmp.empty()) return bmp;
    }
    QImage image;
    {
        // The declared size is checked before decoding: a few bytes may declare a huge picture.
        const QByteArray bytes =
            QByteArray::fromRawData(image_bytes.data(), qsizetype(image_bytes.size()));
        QBuffer source;
        source.setData(bytes);
        source.open(QIODevice::ReadOnly);
        // A GIF goes to the GIF reader at once instead of every reader being asked first.
        QImageReader reader(&source, is_gif(image_bytes) ? QByteArray("gif") : QByteArray());
        const QSize size = reader.size();
        if (!size.isValid() || size.width() > kMaxPictureSide || size.height() > kMaxPictureSide)
            return {};
        if (!reader.read(&image) || image.isNull()) return {};
    }
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP")) return {};
    return std::string(bmp.constData(), std::size_t(bmp.size()));
}

}  // namespace zt
