#include "net/apply_schedule.h"

#include "net/protocol/schedule_reply.h"
#include "storage/field_codec.h"

namespace zt::net {

namespace {

// A decoded day goes into the channel in place of its old programmes of that day.
void put_programme_day(all_list& store, chl_serv_list& channel, const std::string& day,
                       std::vector<protocol::ProgEntry>& entries, std::uint8_t full,
                       std::uint8_t with_anons) {
    const auto old = store.clear_day_tvprog(channel, day);
    std::vector<std::shared_ptr<tvprog_serv_list>> fresh;
    fresh.reserve(entries.size());
    for (auto& e : entries)
        fresh.push_back(store.add_tvprog(channel, {.id = e.id,
                                                   .continued = std::uint8_t(e.continued ? 1 : 0),
                                                   .start = e.start,
                                                   .finish = e.finish,
                                                   .type_family = e.type_family,
                                                   .type_sub = e.type_sub,
                                                   .rating = e.rating,
                                                   .title = std::move(e.title),
                                                   .descr = std::move(e.descr),
                                                   .anons_id = e.anons}));
    all_list::carry_user_state(channel, old, fresh);
    store.add_dt_local(channel, day, full, with_anons);
}

// One block of the reply, read and checked, waiting to be applied.
struct DecodedBlock final {
    protocol::BlockType type = protocol::BlockType::Channel;
    std::shared_ptr<chl_serv_list> channel;  // null: a channel the store lacks, read past
    std::string day;
    protocol::ChannelDetails details;
    std::vector<protocol::Announcement> anons;
    std::vector<protocol::ProgEntry> progs;
};

// Throws field_error when the block is damaged: its day is not a date, or it does not inflate
// or decode within the reply's budget.
DecodedBlock decode_block(const all_list& store, protocol::ReplyBlockView& b,
                          protocol::ReplyBudget& budget) {
    using protocol::BlockType;
    DecodedBlock d;
    d.type = b.type;
    d.channel = store.find_channel(b.channel_id);
    d.day = std::move(b.day);
    // Programme days are checked even for a channel the store lacks; the other blocks of such
    // a channel are read past unread.
    if (b.type != BlockType::Channel && !protocol::valid_day(d.day))
        throw field_error("a day that is not a date");
    if (b.type == BlockType::Programmes) {
        d.progs = protocol::read_programme_block(b.compressed, budget);
        if (!d.channel) d.progs.clear();
    } else if (d.channel) {
        if (b.type == BlockType::Channel)
            d.details = protocol::read_channel_block(b.compressed, budget);
        else
            d.anons = protocol::read_announcement_block(
                b.compressed, budget,
                [&d](std::int32_t id) { return all_list::find_anons(*d.channel, id) != nullptr; });
    }
    return d;
}

void apply_block(all_list& store, DecodedBlock& b, DownloadHost& host, std::uint8_t full,
                 std::uint8_t with_anons) {
    using protocol::BlockType;
    if (!b.channel) return;
    chl_serv_list& channel = *b.channel;
    if (b.type == BlockType::Programmes) {
        put_programme_day(store, channel, b.day, b.progs, full, with_anons);
        return;
    }
    if (b.type == BlockType::Channel) {
        protocol::ChannelDetails& d = b.details;
        channel.name = std::move(d.name);
        channel.descr = std::move(d.descr);
        channel.stamp = std::move(d.stamp);
        if (channel.logo >= 0 && std::size_t(channel.logo) < store.logos.size()) {
            logo_images& logo = store.logos[std::size_t(channel.logo)];
            bool changed = false;
            for (auto [from, to] : {std::pair{&d.logo16, &logo.bmp16},
                                    {&d.logo24, &logo.bmp24},
                                    {&d.logo32, &logo.bmp32}})
                if (!from->empty()) {
                    *to = std::move(*from);
                    changed = true;
                }
            if (changed) host.logo_replaced(channel.logo);
        }
        return;
    }
    for (auto& a : b.anons)
        if (!all_list::find_anons(channel, a.id))
            store.add_anons(channel, a.id, std::move(a.text), std::move(a.picture));
    store.add_dt_local(channel, b.day, full, 1);
}

}  // namespace

bool ApplyProgrammeDay(all_list& store, std::int32_t channel_id, const std::string& day,
                       std::string_view payload, bool inflate, bool look_up, std::uint8_t full,
                       std::uint8_t with_anons, protocol::ReplyBudget* budget) {
    if (!protocol::valid_day(day)) return false;
    std::vector<protocol::ProgEntry> entries;
    try {
        protocol::ReplyBudget own;
        entries = inflate ? protocol::read_programme_block(payload, budget ? *budget : own)
                          : protocol::decode_programmes(payload);
    } catch (const field_error&) {
        return false;
    }
    const auto channel = look_up ? store.find_channel(channel_id) : nullptr;
    if (!channel) return true;
    put_programme_day(store, *channel, day, entries, full, with_anons);
    return true;
}

bool ReadScheduleBlocks(all_list& store, std::string_view body, DownloadHost& host,
                        std::uint8_t full, std::uint8_t with_anons) {
    std::vector<protocol::ReplyBlockView> blocks;
    std::vector<DecodedBlock> decoded;
    // One budget for every block of the reply together.
    protocol::ReplyBudget budget;
    try {
        blocks = protocol::read_schedule_reply_in_place(body);
        decoded.reserve(blocks.size());
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            decoded.push_back(decode_block(store, blocks[i], budget));
            host.job_progress(int((i + 1) * 50 / blocks.size()));
        }
    } catch (const field_error&) {
        return false;
    }
    // Only a reply read whole reaches the store.
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        apply_block(store, decoded[i], host, full, with_anons);
        host.job_progress(int(50 + (i + 1) * 50 / decoded.size()));
    }
    return true;
}

}  // namespace zt::net
