#include "ui/image_lists.h"

#include <QFile>
#include <QImage>
#include <algorithm>
#include <array>

#include "core/store.h"

// The tables' pictures are compiled into their own resource file; naming its initialiser here
// keeps the linker from dropping it. Q_INIT_RESOURCE must stand outside any namespace.
static bool init_view_resources() {
    Q_INIT_RESOURCE(views);
    return true;
}
static void register_view_resources() {
    static const bool done = init_view_resources();
    (void)done;
}

namespace zt {
namespace {

int size_slot(int size) {
    return size >= 32 ? 2 : size >= 24 ? 1 : 0;
}

std::vector<QPixmap> load_types(int size) {
    register_view_resources();
    std::vector<QPixmap> list;
    list.reserve(kTypeIconCount);
    for (int i = 0; i < kTypeIconCount; ++i) {
        QPixmap p(QStringLiteral(":/types/%1/%2.png").arg(size).arg(i));
        if (p.isNull() || p.width() != size) {
            QPixmap blank(size, size);
            blank.fill(Qt::transparent);
            if (!p.isNull()) {
                p = p.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            } else {
                p = blank;
            }
        }
        list.push_back(p);
    }
    return list;
}

QPixmap decode_bmp(const std::string& bytes, int size) {
    if (bytes.empty()) return {};
    QImage image;
    if (!image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), int(bytes.size()), "BMP"))
        return {};
    if (image.width() != size || image.height() != size)
        image = image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return QPixmap::fromImage(image);
}

}  // namespace

const std::vector<QPixmap>& types_button_icons(int size) {
    static std::array<std::vector<QPixmap>, 3> lists;
    const int slot = size_slot(size);
    static const int sizes[3] = {16, 24, 32};
    if (lists[std::size_t(slot)].empty()) lists[std::size_t(slot)] = load_types(sizes[slot]);
    return lists[std::size_t(slot)];
}

QPixmap type_icon(int index, int size) {
    const auto& list = types_button_icons(size);
    if (index < 0 || std::size_t(index) >= list.size()) return {};
    return list[std::size_t(index)];
}

QIcon view_icon(const char* name) {
    register_view_resources();
    QIcon icon;
    for (const int size : {16, 24, 32})
        icon.addFile(QStringLiteral(":/views/%1/%2.png").arg(size).arg(QLatin1String(name)),
                     QSize(size, size));
    return icon;
}

void LogoImages::clear() {
    m_store = nullptr;
    m_sources.clear();
    m_pictures.clear();
    m_decoded.clear();
}

void LogoImages::refresh(const all_list& store) {
    const auto& logos = store.logos;
    // Comparing the bytes costs far less than decoding them again.
    const bool same =
        m_store == &store && m_sources.size() == logos.size() &&
        std::equal(logos.begin(), logos.end(), m_sources.begin(), [](const auto& l, const auto& s) {
            return l.bmp16 == s[0] && l.bmp24 == s[1] && l.bmp32 == s[2];
        });
    if (same) return;
    clear();
    m_store = &store;
    m_sources.reserve(logos.size());
    for (const auto& l : logos) m_sources.push_back({l.bmp16, l.bmp24, l.bmp32});
    m_pictures.resize(logos.size());
    m_decoded.assign(logos.size(), {false, false, false});
}

const QPixmap* LogoImages::logo(int index, int size) const {
    if (index < 0 || std::size_t(index) >= m_sources.size()) return nullptr;
    const std::size_t i = std::size_t(index), slot = std::size_t(size_slot(size));
    QPixmap& p = m_pictures[i][slot];
    if (!m_decoded[i][slot]) {
        static constexpr int kSides[3] = {16, 24, 32};
        p = decode_bmp(m_sources[i][slot], kSides[slot]);
        m_decoded[i][slot] = true;
    }
    return p.isNull() ? nullptr : &p;
}

}  // namespace zt
