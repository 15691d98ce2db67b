#include "server/gif_writer.h"

#include <QImage>

#include <gif_lib.h>

#include <vector>

namespace zt::server {

namespace {

int append_output(GifFileType* gif, const GifByteType* data, int size) {
    static_cast<std::string*>(gif->UserData)
        ->append(reinterpret_cast<const char*>(data), std::size_t(size));
    return size;
}

// The colour cube 6 x 6 x 6, padded to 256 entries.
ColorMapObject* make_palette() {
    GifColorType colours[256] = {};
    for (int i = 0; i < 216; ++i)
        colours[i] = {GifByteType(i / 36 * 51), GifByteType(i / 6 % 6 * 51),
                      GifByteType(i % 6 * 51)};
    return GifMakeMapObject(256, colours);
}

int level(int v) {
    return (v + 25) / 51;
}

}  // namespace

std::string picture_to_gif(std::string_view image_bytes) {
    QImage image = QImage::fromData(reinterpret_cast<const uchar*>(image_bytes.data()),
                                    int(image_bytes.size()));
    if (image.isNull()) return {};
    image = image.convertToFormat(QImage::Format_RGB32);
    std::string out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, append_output, &error);
    if (!gif) return {};
    ColorMapObject* palette = make_palette();
    bool ok = EGifPutScreenDesc(gif, image.width(), image.height(), 8, 0, palette) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, image.width(), image.height(), false, nullptr) == GIF_OK;
    std::vector<GifPixelType> line(std::size_t(image.width()));
    for (int y = 0; ok && y < image.height(); ++y) {
        const auto* px = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[std::size_t(x)] = GifPixelType(level(qRed(px[x])) * 36 + level(qGreen(px[x])) * 6 +
                                                level(qBlue(px[x])));
        ok = EGifPutLine(gif, line.data(), image.width()) == GIF_OK;
    }
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    GifFreeMapObject(palette);
    return ok ? out : std::string();
}

}  // namespace zt::server
