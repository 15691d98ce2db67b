#pragma once

#include <QIcon>
#include <QPixmap>
#include <array>
#include <string>
#include <vector>

namespace zt {

class all_list;

// The program's image lists, shared by the programme tables and the side panels.
//
// Genre icon list `ImageListTypes<size>Button` (the same index in every size): 0 a programme
// without genre family, 1 groups, 2 all genres, 3 system genres, 4 to 11 the eight genre
// families, 12 announcement mark, 13, 14, 15 the overlays all / some / no sub-genres shown,
// 16 continuation mark. The pictures are compiled-in resources named
// ":/types/<size>/<index>.png"; an index without a picture gives a transparent image of the
// size, so a list always has kTypeIconCount entries.
constexpr int kTypeIconCount = 17;
const std::vector<QPixmap>& types_button_icons(int size);
// One icon of the list; an index outside the list gives a null pixmap.
QPixmap type_icon(int index, int size);

// A glyph of the pages' and detail windows' buttons (":/views/<size>/<name>.png" in 16, 24
// and 32 pixels): "multi", "group", "find", "print", "profiles", "up", "down", "close".
QIcon view_icon(const char* name);

// Channel logo lists `ImageListChannels<size>Logo`, decoded from the store's `logos` (BMP
// images); the same index in every size. The main window keeps one for the tables, the channel
// panel and the detail windows. `refresh` takes the store's images again whenever one differs
// from those taken (a download may replace a logo without changing their number). Each image
// is decoded when it is first asked for: a start shows one size of each logo at most.
class LogoImages final {
public:
    void refresh(const all_list& store);
    // The logo at `index` in the size 16, 24 or 32; null outside the list or when the stored
    // image cannot be decoded. The picture stays where it is until the next refresh or clear.
    const QPixmap* logo(int index, int size) const;
    void clear();

private:
    const void* m_store = nullptr;
    std::vector<std::array<std::string, 3>> m_sources;  // the images taken, as stored
    // Per logo and size (16, 24, 32): the picture, once decoded.
    mutable std::vector<std::array<QPixmap, 3>> m_pictures;
    mutable std::vector<std::array<bool, 3>> m_decoded;
};

}  // namespace zt
