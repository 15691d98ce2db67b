#include "net/apply_schedule.h"

#include "net/protocol/schedule_reply.h"
#include "storage/field_codec.h"

namespace zt::net {

bool ApplyProgrammeDay(all_list& store, std::int32_t channel_id, const std::string& day,
                       std::string_view payload, bool inflate, bool look_up,
                       protocol::ReplyBudget* budget) {
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
    store.clear_day_tvprog(*channel, day);
    for (const auto& e : entries)
        store.add_tvprog(*channel, e.id, e.continued ? 1 : 0, e.start, e.finish, e.type_family,
                         e.type_sub, e.rating, 0, e.title, e.descr, e.anons, 0, -1, 0);
    store.add_dt_local(*channel, day, -1, 0);
    return true;
}

namespace {

bool apply_block(all_list& store, const protocol::ReplyBlock& b, DownloadHost& host,
                 protocol::ReplyBudget& budget) {
    using protocol::BlockType;
    if (b.type == BlockType::Programmes)
        return ApplyProgrammeDay(store, b.channel_id, b.day, b.compressed, true, true, &budget);
    if (b.type == BlockType::Announcements && !protocol::valid_day(b.day)) return false;
    const auto channel = store.find_channel(b.channel_id);
    if (!channel) return true;
    if (b.type == BlockType::Channel) {
        const protocol::ChannelDetails d = protocol::read_channel_block(b.compressed, budget);
        channel->name = d.name;
        channel->descr = d.descr;
        channel->stamp = d.stamp;
        if (channel->logo >= 0 && std::size_t(channel->logo) < store.logos.size()) {
            logo_images& logo = store.logos[std::size_t(channel->logo)];
            bool changed = false;
            for (auto [from, to] : {std::pair{&d.logo16, &logo.bmp16},
                                    {&d.logo24, &logo.bmp24},
                                    {&d.logo32, &logo.bmp32}})
                if (!from->empty()) {
                    *to = *from;
                    changed = true;
                }
            if (changed) host.logo_replaced(channel->logo);
        }
        return true;
    }
    for (const auto& a : protocol::read_announcement_block(b.compressed, budget))
        if (!all_list::find_anons(*channel, a.id))
            store.add_anons(*channel, a.id, a.text, a.picture);
    store.add_dt_local(*channel, b.day, -1, 1);
    return true;
}

}  // namespace

bool ReadScheduleBlocks(all_list& store, std::string_view body, DownloadHost& host) {
    std::vector<protocol::ReplyBlock> blocks;
    try {
        blocks = protocol::read_schedule_reply(body);
    } catch (const field_error&) {
        return false;
    }
    protocol::ReplyBudget budget;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        try {
            if (!apply_block(store, blocks[i], host, budget)) return false;
        } catch (const field_error&) {
            return false;
        }
        host.job_progress(int((i + 1) * 100 / blocks.size()));
    }
    return true;
}

}  // namespace zt::net
