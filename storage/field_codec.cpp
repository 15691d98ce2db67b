#include "storage/field_codec.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include <cstring>

#include "core/cp1251.h"
#include "storage/section.h"

namespace zt {

void FieldReader::fail() {
    throw field_error("field runs past the end of the data");
}

std::string FieldReader::LongText() {
    const std::int32_t n = Int32();
    if (n < 0) throw field_error("negative text length");
    return std::string(Bytes(std::size_t(n)));
}

std::string FieldReader::FixedText(std::size_t n) {
    return std::string(Bytes(n));
}

std::string FieldReader::BitmapBlob() {
    const std::int32_t n = Int32();
    if (n < 0) throw field_error("negative picture length");
    return std::string(Bytes(std::size_t(n)));
}

std::string FieldReader::GifBlob() {
    const std::int32_t n = Int32();
    if (n < 0) throw field_error("negative picture length");
    if (n == 0) return {};
    return picture_to_bmp(Bytes(std::size_t(n)));
}

std::string FieldReader::ZSection(Progress* progress) {
    const std::int32_t n = Int32();
    if (n < 0) throw field_error("negative section length");
    std::string data(Bytes(std::size_t(n)));
    if (!InflateSection(data, progress)) throw field_error("section does not inflate");
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
    const QImage image = QImage::fromData(reinterpret_cast<const uchar*>(image_bytes.data()),
                                          int(image_bytes.size()));
    if (image.isNull()) return {};
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP")) return {};
    return std::string(bmp.constData(), std::size_t(bmp.size()));
}

}  // namespace zt
