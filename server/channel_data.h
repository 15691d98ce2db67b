#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "net/protocol/paket_list.h"
#include "net/protocol/schedule_reply.h"
#include "server/database.h"

class QImage;

namespace zt::server {

// Writing schedule data into the database the way the serving side reads it: every day's
// blocks are compressed once here, and a channel's stamp is a digest of all its data, so the
// same data gives the same stamp and any change gives another.

struct ChannelRow final {
    std::int32_t id = 0;
    std::string name, descr;             // CP1251
    std::string logo16, logo24, logo32;  // BMP file images, may be empty
};

struct DayData final {
    std::string day;  // "yyyy-MM-dd"
    std::vector<protocol::ProgEntry> progs;
    std::vector<protocol::Announcement> anons;  // pictures as GIF file images
};

// Inserts or updates the channel's own fields; true when something changed.
bool put_channel(Database& db, const ChannelRow& channel);

// Stores a day of a channel unless the stored one holds the same data; true when it changed.
// `stored`: the stored day's digest when the caller has it already (empty: no day stored);
// `digest`: where the day's digest goes.
bool put_day(Database& db, std::int32_t channel_id, const DayData& day,
             const std::string* stored = nullptr, std::string* digest = nullptr);

// A block's payload compressed as the exchange carries it: a zlib stream (level 1) without its
// two header bytes.
std::string compress_block(std::string_view payload);

// Recomputes the channel's stamp and its compressed details block from what is stored.
void refresh_channel(Database& db, std::int32_t channel_id);

// Replaces every package by these (in their depth-first order).
void replace_packages(Database& db, const std::vector<protocol::PaketRecord>& pakets);

// The top-level package of that name with exactly these channels (created when missing).
void put_package(Database& db, const std::string& name, const std::vector<std::int32_t>& channels);

// A channel logo as a BMP file image of size x size pixels (the picture scaled to fit).
std::string bmp_of(const QImage& image, int size);

// "yyyy-MM-dd" of a moment.
std::string day_text(DateTime t);

}  // namespace zt::server
