#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/datetime.h"

namespace zt {

// Record types of the schedule store. Texts are CP1251 byte strings. A "short text" holds at
// most 255 bytes (the data files give it a one-byte length).
//
// Ownership: lists hold shared pointers. Programmes refer to announcements and favourites by
// shared pointer too, so an entry that maintenance removes from `anons` or `love` stays valid
// for as long as a programme still points at it; `next_part` is weak because it points along
// the same list. View rows hold shared pointers to the programmes they show.

struct type_serv_list;
struct chl_serv_list;

// One time-zone preset.
struct time_gmt final {
    std::int32_t hour = 0;    // -12..14
    std::int32_t minute = 0;  // 0, 30 or 45; the sign is the hour's
    std::string caption;
};

// One announcement.
struct anons_serv_list final {
    std::int32_t id = 0;
    std::string text;
    std::string picture;  // a BMP file image; empty when there is no picture
};

// One favourite (liked) or disliked title of a channel.
struct love_list final {
    std::int32_t id = 0;
    std::string title;
    std::uint8_t liked = 0;
    DateTime seen;
};

// One downloaded day of a channel.
struct dt_local_list final {
    std::string date;  // "yyyy-MM-dd"
    std::uint8_t full = 0;
    std::uint8_t with_anons = 0;
};

// One broadcast programme.
struct tvprog_serv_list final {
    std::int32_t id = 0;
    std::weak_ptr<tvprog_serv_list> next_part;
    std::uint8_t continued = 0;
    DateTime start;
    DateTime finish;
    const type_serv_list* type = nullptr;  // the genre catalogue never changes at run time
    std::int32_t type_family = 0;
    std::int32_t type_sub = 0;
    std::int32_t rating = 0;
    std::uint8_t reported = 0;
    std::string title;
    std::string descr;
    std::shared_ptr<anons_serv_list> anons;
    std::uint8_t mark = 0;
    std::shared_ptr<love_list> love;
    std::uint8_t alarm = 0;
};

// A user mark waiting to be sent to the server.
struct report_entry final {
    std::int32_t id = 0;
    std::shared_ptr<tvprog_serv_list> prog;
    std::int32_t state = 0;
};

// One channel as delivered by the server.
struct chl_serv_list final {
    std::int32_t id = 0;
    std::string name;
    std::string descr;
    std::string stamp;  // exactly 8 characters
    std::int32_t logo = -1;
    std::int32_t group_count = 0;
    std::vector<std::shared_ptr<tvprog_serv_list>> tvprog;
    std::vector<std::shared_ptr<anons_serv_list>> anons;
    std::vector<std::shared_ptr<love_list>> love;
    std::vector<dt_local_list> dates;
    std::vector<report_entry> report;
};

// One channel inside a user's channel group.
struct chl_local_list final {
    std::int32_t id = 0;
    std::int32_t chl_id = 0;
    std::shared_ptr<chl_serv_list> chl;
    std::string name;
    std::string descr;
    std::string shift_text = "00:00";
    DateTime shift;  // magnitude
    std::uint8_t shift_plus = 0;
    std::string button;
    std::int32_t logo = -1;
    std::uint8_t selected = 0;
};

// One user channel group.
struct chl_group_list final {
    std::int32_t id = 0;
    std::string name;
    std::string descr;
    std::vector<std::shared_ptr<chl_local_list>> members;
};

// One genre of the built-in catalogue.
struct type_serv_list final {
    std::int32_t id = 0;
    std::int32_t family = 0;
    std::int32_t sub = -1;
    std::string name;
    std::string abbr;
    std::int32_t image = -1;
    std::uint8_t filter_on = 1;
};

// One member of a genre group.
struct type_group_member final {
    std::int32_t type_id = 0;
    std::int32_t row = 0;
};

// One user genre group.
struct type_group_list final {
    std::int32_t id = 0;
    std::string name;
    std::vector<type_group_member> members;
};

// The three logo images of a channel (16, 24 and 32 pixels) as BMP file images. The store's
// `logos` is the "logo image list": a channel's `logo` indexes it.
struct logo_images final {
    std::string bmp16;
    std::string bmp24;
    std::string bmp32;
};

}  // namespace zt
