// Applying package lists and schedule blocks to the store, headless.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>

#include "core/cp1251.h"
#include "core/format_set.h"
#include "net/apply_paket_list.h"
#include "net/apply_schedule.h"
#include "net/download_host.h"
#include "net/paket_tree_model.h"
#include "net/protocol/schedule_reply.h"
#include "storage/field_codec.h"
#include "test_support.h"

namespace zt::test {
namespace {

using protocol::BlockType;

protocol::PaketRecord paket(std::int32_t id, std::int32_t parent, std::string picture,
                            std::vector<protocol::PaketEntry> entries = {}) {
    return {id, parent, "P" + std::to_string(id), "", picture, picture, std::move(entries)};
}

TEST(Apply, PaketListImagesTreeAndSelection) {
    protocol::PaketList list;
    list.channels = {{1, "One", "", "11111111", "a", "b", "c"},
                     {2, "Two", "", "22222222", "d", "e", "f"}};
    list.pakets = {paket(7, 0, "pic", {{1, "+01:00", "1"}, {2, "00:00", "2"}, {9, "", ""}}),
                   paket(8, 7, ""), paket(10, 11, ""), paket(11, 0, "pic2", {{2, "", "B"}})};
    net::SelectionLists lists;
    NullProgress progress;
    net::ReadPaketList(lists, list, progress);
    net::BuildPaketTree(lists, progress);
    const auto& p = lists.update_pakets;
    EXPECT_EQ(p[0]->image, 1);
    EXPECT_EQ(p[1]->image, 1);  // parent read earlier lends its picture
    EXPECT_EQ(p[2]->image, 0);  // parent comes later: the default picture
    EXPECT_EQ(p[3]->image, 2);
    EXPECT_EQ(p[0]->channels[2].channel, nullptr);  // channel 9 is not offered
    EXPECT_EQ(p[1]->parent_node, 0);
    EXPECT_EQ(p[2]->parent_node, -1);
    EXPECT_EQ(p[3]->tree_pos, 3);

    net::PaketTreeModel model(lists);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.paket_at(model.index(0, 0, model.index(0, 0))), 1);

    // Ticking entries 1 and 2 of package 7 (and the unknown channel 9) with groups wanted.
    for (auto& e : p[0]->channels) e.ticked = 1;
    auto store = make_store(at("2026-12-10 12:00"));
    net::ApplySelection(*store, lists, true);
    ASSERT_EQ(store->channels.size(), 2u);
    EXPECT_EQ(store->logos[std::size_t(store->channels[1]->logo)].bmp32, "f");
    EXPECT_EQ(p[0]->selected, 1);
    EXPECT_EQ(p[3]->selected, 0);
    ASSERT_EQ(store->chl_groups.size(), 1u);
    const auto& group = *store->chl_groups[0];
    EXPECT_EQ(group.name, "P7");
    ASSERT_EQ(group.members.size(), 2u);
    EXPECT_EQ(group.members[0]->shift_text, "+01:00");
    EXPECT_EQ(group.members[1]->button, "2");

    lists.clear();
    model.rebuild();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(lists.pakets32.size(), 1u);
}

// A programme payload written field by field, so start and finish texts can be any form.
std::string programmes(const std::vector<std::pair<std::string, std::string>>& times,
                       std::int32_t first_id = 1) {
    std::string out;
    FieldWriter w(out);
    w.Int32(std::int32_t(times.size()));
    std::int32_t id = first_id;
    for (const auto& [start, finish] : times) {
        w.Int32(id++);
        w.ShortText(start);
        w.ShortText(finish);
        w.Byte(0);
        w.Byte(0);
        w.Byte(50);
        w.ShortText("Title");
        w.ShortText("");
        w.Byte(0);
        w.Int32(-1);
    }
    return protocol::compress_payload(out);
}

TEST(Apply, ScheduleBlocks) {
    auto store = make_store(at("2010-12-09 12:00"));
    auto& channel =
        *store->add_channel(5, "Five", "", "55555555", store->add_logo({"a", "b", "c"}));
    net::DownloadHost host;
    std::string body;
    protocol::append_block(body, BlockType::Programmes, 5, "2010-12-09",
                           programmes({{"2010-12-09 08:00", "09:00"}, {"09:00", "10:00"}}));
    body += '\x09';  // an unknown block type is one byte long
    protocol::append_block(body, BlockType::Programmes, 5, "2010-12-09",
                           programmes({{"2010-12-09 23:30", "00:45"}}, 20));
    protocol::append_block(body, BlockType::Programmes, 77, "2010-12-09",
                           programmes({{"10:00", "11:00"}}));  // channel not held
    protocol::append_block(
        body, BlockType::Announcements, 5, "2010-12-09",
        protocol::compress_payload(protocol::encode_announcements({{3, "new text", ""}})));
    protocol::append_block(body, BlockType::Channel, 5, "",
                           protocol::compress_payload(protocol::encode_channel_details(
                               {"Пять"_cp, "d", "66666666", "", "", "big"})));
    store->add_anons(channel, 3, "old text", "");
    store->add_dt_local(channel, "2010-12-08", 1, 0);
    ASSERT_TRUE(net::ReadScheduleBlocks(*store, body, host, 0));

    // The second block of the day replaced the first; the finish took the start's date.
    ASSERT_EQ(channel.tvprog.size(), 1u);
    EXPECT_EQ(channel.tvprog[0]->id, 20);
    EXPECT_EQ(channel.tvprog[0]->start, at("2010-12-09 23:30"));
    EXPECT_EQ(channel.tvprog[0]->finish, at("2010-12-09 00:45"));
    EXPECT_EQ(channel.anons.size(), 1u);
    EXPECT_EQ(channel.anons[0]->text, "old text");
    EXPECT_EQ(channel.name, "Пять"_cp);
    EXPECT_EQ(channel.stamp, "66666666");
    EXPECT_EQ(store->logos[std::size_t(channel.logo)].bmp32, "big");
    EXPECT_EQ(store->logos[std::size_t(channel.logo)].bmp16, "a");
    ASSERT_EQ(channel.dates.size(), 2u);

    // A day held as full is not downgraded by a download without a balance shown.
    std::string again;
    protocol::append_block(again, BlockType::Programmes, 5, "2010-12-08",
                           programmes({{"2010-12-08 08:00", "09:00"}}));
    ASSERT_TRUE(net::ReadScheduleBlocks(*store, again, host, 0));
    for (const auto& d : channel.dates)
        if (d.date == "2010-12-08") {
            EXPECT_EQ(d.full, 1);
        }
}

// A reply with a damaged or cut-off block changes nothing, not even the days before it (their
// programmes would lose the user's marks).
TEST(Apply, DamagedBlocksChangeNothing) {
    auto store = make_store(at("2010-12-09 12:00"));
    auto& channel = *store->add_channel(5, "Five", "", "55555555", -1);
    store->add_tvprog(channel, {.id = 1,
                                .start = at("2010-12-09 08:00"),
                                .finish = at("2010-12-09 09:00"),
                                .reported = 1,
                                .title = "old",
                                .mark = 1,
                                .alarm = 1});
    net::DownloadHost host;
    std::string body;
    protocol::append_block(body, BlockType::Programmes, 5, "2010-12-09",
                           programmes({{"2010-12-09 08:00", "09:00"}}, 2));
    protocol::append_block(body, BlockType::Programmes, 5, "2010-12-10", "not deflate data");
    EXPECT_FALSE(net::ReadScheduleBlocks(*store, body, host, 0));
    ASSERT_EQ(channel.tvprog.size(), 1u);
    EXPECT_EQ(channel.tvprog[0]->title, "old");
    EXPECT_EQ(channel.tvprog[0]->mark, 1);
    EXPECT_TRUE(channel.dates.empty());
    // A reply cut inside a block changes nothing.
    EXPECT_FALSE(net::ReadScheduleBlocks(*store, body.substr(0, body.size() - 3), host, 0));
    EXPECT_EQ(channel.tvprog[0]->title, "old");
    // A payload that does not inflate fails even for a channel the store lacks.
    EXPECT_FALSE(net::ApplyProgrammeDay(*store, 99, "2010-12-09", "junk", true, true, 0));
    // A day that is not a date, and a dated finish before its start, are damage: the day
    // held stays as it was.
    const std::string good = programmes({{"2010-12-09 08:00", "09:00"}});
    EXPECT_FALSE(net::ApplyProgrammeDay(*store, 5, "XXXXXXXXXX", good, true, true, 0));
    EXPECT_FALSE(net::ApplyProgrammeDay(*store, 5, "2010-12-09",
                                        programmes({{"2010-12-09 08:00", "2010-12-09 07:00"}}),
                                        true, true, 0));
    EXPECT_EQ(channel.tvprog.size(), 1u);
}

// A replaced day gives the user's state to the programmes of the same id, also when they
// moved, and moves the pending report; a day asked for with announcements is held with them.
TEST(Apply, ReplacedDayKeepsTheUserState) {
    auto store = make_store(at("2010-12-09 12:00"));
    auto& channel = *store->add_channel(5, "Five", "", "55555555", -1);
    const auto love = store->add_love(channel, 8, "t", 1, DateTime());
    auto marked = store->add_tvprog(channel, {.id = 10,
                                              .start = at("2010-12-09 08:00"),
                                              .finish = at("2010-12-09 09:00"),
                                              .title = "a",
                                              .mark = 1});
    store->add_tvprog(channel, {.id = 11,
                                .start = at("2010-12-09 09:00"),
                                .finish = at("2010-12-09 10:00"),
                                .reported = 1,
                                .title = "b",
                                .love_id = 8,
                                .alarm = 1});
    store->add_tvprog(channel, {.id = 12,
                                .start = at("2010-12-09 10:00"),
                                .finish = at("2010-12-09 11:00"),
                                .title = "c",
                                .alarm = 1});
    channel.report.push_back({10, marked, 1});
    net::DownloadHost host;
    std::string body;
    // 10 keeps its start, 11 and 12 moved.
    protocol::append_block(
        body, BlockType::Programmes, 5, "2010-12-09",
        programmes({{"2010-12-09 08:00", "09:00"}, {"09:30", "10:30"}, {"10:30", "11:00"}}, 10));
    ASSERT_TRUE(net::ReadScheduleBlocks(*store, body, host, 0, 1));
    ASSERT_EQ(channel.tvprog.size(), 3u);
    const auto state = [&](std::size_t i) {
        const auto& p = *channel.tvprog[i];
        return std::to_string(p.id) + " " + std::to_string(p.mark) + std::to_string(p.alarm) +
               std::to_string(p.reported) + (p.love == love ? "L" : "-");
    };
    EXPECT_EQ(state(0), "10 100-");
    EXPECT_EQ(state(1), "11 011L");
    EXPECT_EQ(state(2), "12 010-");
    ASSERT_EQ(channel.report.size(), 1u);
    EXPECT_EQ(channel.report[0].prog, channel.tvprog[0]);
    ASSERT_EQ(channel.dates.size(), 1u);
    EXPECT_EQ(channel.dates[0].with_anons, 1);
}

}  // namespace
}  // namespace zt::test
