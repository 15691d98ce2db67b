#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zt::net {

// The selection lists the package list (or an import file) fills while the download dialogs
// are in use, with the dialog's image lists. Texts are CP1251; pictures are BMP file images.

struct update_channel_list final {
    std::int32_t id = 0;
    std::string name;
    std::string descr;
    std::string stamp;
    std::int32_t logo = -1;  // index in the three channel image lists
    std::int32_t selected = 0;
};

struct update_paket_channel_list final {
    std::int32_t chl_id = 0;
    std::string shift_text;
    std::string button;
    std::shared_ptr<update_channel_list> channel;  // none when the id is not offered
    std::int32_t ticked = 0;
};

struct update_paket_list final {
    std::int32_t id = 0;
    std::int32_t parent = 0;
    std::string name;
    std::string descr;
    std::int32_t image = 0;  // index in the two package image lists; 0 the default picture
    std::int32_t selected = 0;
    std::int32_t tree_pos = -1;
    std::int32_t parent_node = -1;  // list position of the parent node; -1 top-level
    std::vector<update_paket_channel_list> channels;
};

struct SelectionLists final {
    std::vector<std::shared_ptr<update_channel_list>> update_channels;
    std::vector<std::shared_ptr<update_paket_list>> update_pakets;
    // ImageListChannels16/24/32 and ImageListPaket16/32; the package lists start with the
    // default picture (an empty image here, which the dialog draws as its own picture).
    std::vector<std::string> channels16, channels24, channels32;
    std::vector<std::string> pakets16{std::string()}, pakets32{std::string()};

    std::shared_ptr<update_channel_list> find_channel(std::int32_t id) const;
    // ClearSelection: empties the lists and the image lists.
    void clear();
};

}  // namespace zt::net
