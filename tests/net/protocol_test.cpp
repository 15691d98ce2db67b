// Round trips of the exchange layouts through their writers and readers, and the readers'
// handling of cut-off and crafted input.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <functional>
#include <map>
#include <random>
#include <set>

#include "core/cp1251.h"
#include "net/protocol/compressed_body.h"
#include "net/protocol/login_reply.h"
#include "net/protocol/paket_list.h"
#include "net/protocol/schedule_reply.h"
#include "net/protocol/schedule_request.h"
#include "net/protocol/text_reply.h"
#include "net/protocol/update_script.h"
#include "storage/field_codec.h"
#include "test_support.h"

namespace zt::protocol {
namespace {

std::string bmp(int size) {
    QImage img(size, size, QImage::Format_RGB888);
    img.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "BMP");
    return bytes.toStdString();
}

TEST(CompressedBody, StartsWith78DAAndOpens) {
    const std::string text(5000, 'x');
    const std::string packed = compress_body(text);
    ASSERT_TRUE(is_compressed_body(packed));
    EXPECT_EQ(open_body(packed, 1 << 20), text);
    // Another body passes unchanged, including a zlib stream of another level.
    EXPECT_EQ(open_body("\x78\x9C"
                        "abc",
                        100),
              std::string("\x78\x9C"
                          "abc"));
    // Damaged, or beyond the limit: nothing.
    std::string damaged = packed;
    damaged[damaged.size() / 2] ^= 0x55;
    EXPECT_FALSE(open_body(damaged, 1 << 20));
    EXPECT_FALSE(open_body(packed, 100));
    EXPECT_FALSE(open_body("\x78\xDA", 100));
}

TEST(TextReply, ErrorReplyAndLines) {
    const std::string body = write_error_reply("Неверный логин\nили пароль"_cp);
    EXPECT_EQ(read_error_reply(body), "Неверный логин или пароль"_cp);
    EXPECT_FALSE(read_error_reply("error\ntext\n"));
    EXPECT_EQ(read_error_reply("ERROR"), "");
    EXPECT_EQ(split_reply_lines("a\r\nb\rc\n\nd"),
              (std::vector<std::string>{"a", "b", "c", "", "d"}));
}

TEST(LoginReply, RoundTrip) {
    LoginReply r;
    r.paid = true;
    r.text1 = "Платный доступ"_cp;
    r.balance = "12345";
    r.text3 = "Пользователь: ivan"_cp;
    r.time_text = "12:34 05.06.2026";
    r.utc_time = test::at("2026-06-05 12:34");
    const auto read = read_login_reply(write_login_reply(r));
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->time_ok);
    EXPECT_EQ(write_login_reply(read->reply), write_login_reply(r));
    EXPECT_FALSE(read_login_reply("0\n\n\n\n2010113002\n"));
    const auto no_tab = read_login_reply("0\n\n\n\n2010113002\n12:00\n");
    ASSERT_TRUE(no_tab);
    EXPECT_FALSE(no_tab->time_ok);
    EXPECT_FALSE(no_tab->reply.paid);
}

TEST(UpdateScript, RoundTrip) {
    const std::vector<UpdateCommand> script = {{"RNM", "zorvan_tv", "old_zorvan_tv"},
                                               {"GET", "zorvan_tv", ""},
                                               {"SIZE", "zorvan_tv", "12345"},
                                               {"DEL", "*.tmp", "dat/"}};
    EXPECT_EQ(read_update_script(write_update_script(script)), script);
    EXPECT_EQ(read_update_script("\n\nGET\ta\n"), (std::vector<UpdateCommand>{{"GET", "a", ""}}));
}

TEST(PaketList, RoundTripInDepthFirstOrder) {
    PaketList list;
    list.channels.push_back({7, "Первый"_cp, "описание"_cp, "a1b2c3d4", bmp(16), bmp(24), bmp(32)});
    list.channels.push_back({9, "Второй"_cp, "", "00000000", "", "", ""});
    // Child listed before its parent, a grandchild, and a package whose parent is missing.
    std::vector<PaketRecord> pakets = {
        {3, 1, "Дети"_cp, "", "", "", {{9, "-01:00", "2"}}},
        {1, 0, "Основной"_cp, "всё"_cp, bmp(16), bmp(32), {{7, "00:00", "1"}, {9, "", ""}}},
        {4, 3, "Внуки"_cp, "", "", "", {}},
        {5, 99, "Сирота"_cp, "", "", "", {}},
        {2, 0, "Второй"_cp, "", "", "", {}},
    };
    list.pakets = depth_first(pakets);
    std::vector<std::int32_t> order;
    for (const auto& p : list.pakets) order.push_back(p.id);
    EXPECT_EQ(order, (std::vector<std::int32_t>{1, 3, 4, 5, 2}));
    const PaketList read = read_paket_list(write_paket_list(list));
    EXPECT_EQ(read.channels, list.channels);
    EXPECT_EQ(read.pakets, list.pakets);
}

// The tree order as it was first written (a walk of the parents for every package, recursion
// for the children): quadratic, kept here as the reference for what the order must be. Each
// package is visited once: with repeated ids two packages may otherwise list each other as
// children for ever.
std::vector<PaketRecord> reference_depth_first(const std::vector<PaketRecord>& pakets) {
    std::map<std::int32_t, std::size_t> by_id;
    for (std::size_t i = 0; i < pakets.size(); ++i) by_id.emplace(pakets[i].id, i);
    auto is_root = [&](std::size_t i) {
        std::set<std::int32_t> seen{pakets[i].id};
        std::int32_t parent = pakets[i].parent;
        while (parent != 0) {
            auto it = by_id.find(parent);
            if (it == by_id.end() || !seen.insert(parent).second) return true;
            parent = pakets[it->second].parent;
        }
        return false;
    };
    std::map<std::int32_t, std::vector<std::size_t>> children;
    std::vector<bool> root(pakets.size());
    for (std::size_t i = 0; i < pakets.size(); ++i) {
        root[i] = pakets[i].parent == 0 || is_root(i);
        if (!root[i]) children[pakets[i].parent].push_back(i);
    }
    std::vector<PaketRecord> out;
    std::vector<bool> visited(pakets.size());
    std::function<void(std::size_t)> visit = [&](std::size_t i) {
        if (visited[i]) return;
        visited[i] = true;
        out.push_back(pakets[i]);
        for (std::size_t c : children[pakets[i].id]) visit(c);
    };
    for (std::size_t i = 0; i < pakets.size(); ++i)
        if (root[i]) visit(i);
    return out;
}

// Random forests with missing parents, cycles, self-parents and repeated ids: the same order as
// the reference; then a chain as long as the list and many orphans.
TEST(PaketList, DepthFirstOrderOfAnyShape) {
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        const int n = 1 + int(random() % 12);
        std::vector<PaketRecord> pakets;
        for (int i = 0; i < n; ++i) {
            const std::int32_t id = 1 + std::int32_t(random() % (n + 2));
            const std::int32_t parent = random() % 4 == 0 ? 0 : std::int32_t(random() % (n + 3));
            pakets.push_back({id, parent, std::to_string(i), "", "", "", {}});
        }
        const auto order = depth_first(pakets);
        ASSERT_EQ(order, reference_depth_first(pakets)) << "round " << round;
        ASSERT_EQ(order.size(), pakets.size()) << "round " << round;
    }
    std::vector<PaketRecord> chain;
    const std::int32_t kLong = 200000;
    for (std::int32_t i = kLong; i >= 1; --i) chain.push_back({i, i - 1, "", "", "", "", {}});
    for (std::int32_t i = 1; i <= kLong; ++i)
        chain.push_back({kLong + i, 3 * kLong + i, "", "", "", "", {}});
    const auto order = depth_first(chain);
    ASSERT_EQ(order.size(), chain.size());
    for (std::int32_t i = 0; i < kLong; ++i) ASSERT_EQ(order[std::size_t(i)].id, i + 1);
}

TEST(PaketList, CutOffFails) {
    PaketList list;
    list.channels.push_back({1, "a", "", "12345678", "", "", ""});
    const std::string body = write_paket_list(list);
    EXPECT_THROW(read_paket_list(std::string_view(body).substr(0, body.size() - 3)), field_error);
}

ScheduleRequest sample_request() {
    ScheduleRequest r;
    r.channels.push_back({5, "abcdefgh", {{"2026-06-01", 1, 0}, {"2026-06-02", 0, 1}}});
    r.channels.push_back({6, "", {}});
    r.pakets = {1, 3};
    r.marks.push_back({5, {{100, 2}, {101, 0xFE}, {102, 3}}});
    return r;
}

TEST(ScheduleRequest, RoundTrip) {
    ScheduleRequest r = sample_request();
    const ScheduleRequest read = read_schedule_request(write_schedule_request(r));
    r.channels[1].stamp = std::string(8, '\0');  // an empty stamp travels as 8 zero bytes
    EXPECT_EQ(read, r);
}

TEST(ScheduleRequest, HostileBodies) {
    const std::string good = write_schedule_request(sample_request());
    struct Case {
        const char* what;
        std::string body;
    };
    std::string huge_count = good;
    huge_count[0] = '\xFF';
    huge_count[1] = '\xFF';
    huge_count[2] = '\xFF';
    huge_count[3] = '\x7F';
    std::string negative = good;
    negative[3] = '\x80';
    const Case cases[] = {{"cut off", good.substr(0, good.size() - 1)},
                          {"count beyond the body", huge_count},
                          {"negative count", negative},
                          {"trailing bytes", good + "x"},
                          {"three bytes", "abc"}};
    for (const auto& c : cases) EXPECT_THROW(read_schedule_request(c.body), field_error) << c.what;
    // Only part A: the other parts are empty.
    ScheduleRequest only_a;
    only_a.channels.push_back({1, "12345678", {}});
    std::string a_body = write_schedule_request(only_a);
    a_body.resize(a_body.size() - 8);
    EXPECT_EQ(read_schedule_request(a_body), only_a);
}

TEST(ScheduleReply, BlocksRoundTrip) {
    const ChannelDetails details{"Канал"_cp, "о канале"_cp, "stamp001", bmp(16), bmp(24), bmp(32)};
    // A GIF picture of 1 x 1 pixel: the reader decodes it into a BMP.
    const std::string gif(
        "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00"
        "\x21\xf9\x04\x01\x00\x00\x00\x00\x2c\x00\x00\x00\x00\x01\x00"
        "\x01\x00\x00\x02\x02\x44\x01\x00\x3b",
        43);
    const std::vector<Announcement> anons = {{11, "Анонс"_cp, gif}, {12, "без картинки"_cp, ""}};
    const std::vector<ProgEntry> progs = {
        {100, test::at("2026-06-01 23:30"), test::at("2026-06-02 00:40"), 3, 2, 80, "Новости"_cp,
         "Коротко"_cp, true, 11},
        {100, test::at("2026-06-02 00:40"), test::at("2026-06-02 01:00"), 0, 0, 0, "x", "", false,
         -1},
    };
    std::string body;
    append_block(body, BlockType::Channel, 5, "",
                 compress_payload(encode_channel_details(details)));
    body += '\x09';  // a byte of another type is skipped
    append_block(body, BlockType::Announcements, 5, "2026-06-01",
                 compress_payload(encode_announcements(anons)));
    append_block(body, BlockType::Programmes, 5, "2026-06-01",
                 compress_payload(encode_programmes(progs)));
    const auto blocks = read_schedule_reply(body);
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[1].day, "2026-06-01");
    EXPECT_EQ(decode_channel_details(inflate_payload(blocks[0].compressed)), details);
    const auto read_anons = decode_announcements(inflate_payload(blocks[1].compressed));
    ASSERT_EQ(read_anons.size(), 2u);
    EXPECT_EQ(read_anons[0].text, anons[0].text);
    EXPECT_EQ(QImage::fromData(QByteArray::fromStdString(read_anons[0].picture)).size(),
              QSize(1, 1));
    EXPECT_TRUE(read_anons[1].picture.empty());
    EXPECT_EQ(decode_programmes(inflate_payload(blocks[2].compressed)), progs);
    // A block that runs past the end, and a payload that does not inflate.
    EXPECT_THROW(read_schedule_reply(std::string_view(body).substr(0, body.size() - 2)),
                 field_error);
    EXPECT_THROW(inflate_payload("garbage"), field_error);

    // Read as they inflate, within a budget, the blocks give the same; every byte they inflate
    // counts against the reply's cap.
    ReplyBudget budget;
    EXPECT_EQ(read_channel_block(blocks[0].compressed, budget), details);
    const auto streamed = read_announcement_block(blocks[1].compressed, budget);
    ASSERT_EQ(streamed.size(), 2u);
    EXPECT_EQ(streamed[1].text, anons[1].text);
    EXPECT_EQ(streamed[0].picture, read_anons[0].picture);
    EXPECT_EQ(read_programme_block(blocks[2].compressed, budget), progs);
    const std::size_t inflated = inflate_payload(blocks[0].compressed).size() +
                                 inflate_payload(blocks[1].compressed).size() +
                                 inflate_payload(blocks[2].compressed).size();
    EXPECT_EQ(budget.inflated_left(), ReplyBudget::kInflated - inflated);
    // A block that goes on after its last record, one cut short, and a finish before a start.
    EXPECT_THROW(read_programme_block(compress_payload(encode_programmes(progs) + '\0'), budget),
                 field_error);
    std::string cut = encode_programmes(progs);
    cut.pop_back();
    EXPECT_THROW(read_programme_block(compress_payload(cut), budget), field_error);
    auto backwards = progs;
    std::swap(backwards[1].start, backwards[1].finish);
    EXPECT_THROW(read_programme_block(compress_payload(encode_programmes(backwards)), budget),
                 field_error);
    EXPECT_THROW(decode_programmes(encode_programmes(backwards)), field_error);
}

TEST(ScheduleReply, DaysAreDates) {
    for (const char* day : {"2026-06-01", "2024-02-29", "1999-12-31"}) EXPECT_TRUE(valid_day(day));
    for (const char* day : {"XXXXXXXXXX", "2026-13-01", "2023-02-29", "2026-6-01 ", "2026-06-1",
                            "+026-06-01", "2026/06/01", "", "2026-06-01x"})
        EXPECT_FALSE(valid_day(day)) << day;
}

TEST(ScheduleReply, ShortMoments) {
    const DateTime base = test::at("2026-06-01 10:00");
    struct Case {
        const char* text;
        const char* expected;  // nullptr: malformed
    } cases[] = {{"2026-06-02 05:07", "2026-06-02 05:07"},
                 {"26-06-02 05:07", "2026-06-02 05:07"},
                 {"2026-06-02", "2026-06-02 00:00"},
                 {"23:15", "2026-06-01 23:15"},
                 {"24:00", nullptr},
                 {"2026-13-01 00:00", nullptr},
                 {"", nullptr},
                 {"ab:cd", nullptr}};
    for (const auto& c : cases) {
        const auto got = parse_short_moment(c.text, base);
        if (!c.expected) {
            EXPECT_FALSE(got) << c.text;
            continue;
        }
        ASSERT_TRUE(got) << c.text;
        EXPECT_EQ(format_minute(got->value), c.expected) << c.text;
    }
}

}  // namespace
}  // namespace zt::protocol
