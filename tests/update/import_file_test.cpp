// The import file: its layout, opening with every failure message, and applying the ticked
// channels and the days the store lacks.
#include <gtest/gtest.h>

#include "core/cp1251.h"
#include "net/import_file.h"
#include "net/protocol/import_layout.h"
#include "storage/field_codec.h"
#include "update_fixture.h"

namespace zt::net {
namespace {

using protocol::ImportDay;
using protocol::ProgEntry;
using test::at;

ProgEntry prog(std::int32_t id, const std::string& start, const std::string& finish,
               const std::string& title) {
    return {id, at(start), at(finish), 2, 1, 40, to_cp1251(title), "", false, -1};
}

protocol::PaketList offer() {
    protocol::PaketList list;
    list.channels = {{1, "A", "", "00000001", {}, {}, {}},
                     {2, "B", "", "00000002", {}, {}, {}},
                     {3, "C", "", "00000003", {}, {}, {}}};
    list.pakets = {{10, 0, "P1", "", {}, {}, {{1, "01:00", "7"}, {2, "", ""}}},
                   {20, 0, "P2", "", {}, {}, {{3, "", ""}}}};
    return list;
}

std::vector<ImportDay> days() {
    return {{1, "2026-06-10", {prog(1, "2026-06-10 10:00", "2026-06-10 11:00", "Новое")}},
            {1, "2026-06-11", {prog(2, "2026-06-11 10:00", "2026-06-11 11:00", "Завтра")}},
            {2, "2026-06-10", {prog(3, "2026-06-10 12:00", "2026-06-10 13:00", "Б")}},
            {3, "2026-06-10", {prog(4, "2026-06-10 12:00", "2026-06-10 13:00", "В")}},
            {9, "2026-06-10", {prog(5, "2026-06-10 12:00", "2026-06-10 13:00", "Нет")}}};
}

TEST(ImportLayout, DaysRoundTripAndCutOffsAreDamage) {
    const std::string file = protocol::write_import_file(offer(), days());
    ASSERT_EQ(protocol::read_import_version(file), 1);
    const auto sections = protocol::read_import_sections(std::string_view(file).substr(4));
    EXPECT_EQ(sections.list.pakets, offer().pakets);
    std::vector<std::pair<std::int32_t, std::string>> seen;
    protocol::read_import_days(sections.tvprog, [&](const protocol::ImportDayRecord& d) {
        seen.emplace_back(d.channel_id, d.day);
        EXPECT_EQ(protocol::decode_programmes(d.payload).size(), 1u);
    });
    EXPECT_EQ(seen.size(), days().size());
    EXPECT_EQ(seen[1], (std::pair<std::int32_t, std::string>{1, "2026-06-11"}));

    // Every cut of the sections is damage; bytes after the third section are not.
    for (std::size_t cut = 4; cut < file.size(); cut += 7)
        EXPECT_THROW(protocol::read_import_sections(std::string_view(file).substr(4, cut - 4)),
                     field_error)
            << cut;
    EXPECT_NO_THROW(protocol::read_import_sections(std::string_view(file + "tail").substr(4)));
    // A day record cut inside its programmes.
    const std::string& tvprog = sections.tvprog;
    EXPECT_THROW(protocol::read_import_days(tvprog.substr(0, tvprog.size() - 3),
                                            [](const protocol::ImportDayRecord&) {}),
                 field_error);
}

// The job window's opening and closing.
struct JobRecorder final : DownloadHost {
    void job_begin(const std::string& text, bool, bool) override { jobs.push_back(text); }
    void job_end() override { jobs.push_back("end"); }
    std::vector<std::string> jobs;
};

class ImportFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        store = test::make_store(at("2026-06-10 09:00"));
        store->exe_dir = dir.path().toStdString() + "/";
        QDir().mkpath(dir.filePath("dat"));
    }
    QString put(const std::string& bytes, const QString& name = "t.zorvan_tv") {
        test::write_file(dir.filePath(name), bytes);
        return dir.filePath(name);
    }
    std::optional<ImportSession> open(const QString& path) {
        return ImportFileOpen(path.toStdString(), *store, rec, host);
    }

    QTemporaryDir dir;
    std::unique_ptr<all_list> store;
    test::Recorder rec;
    JobRecorder host;
    user_account user;
};

TEST_F(ImportFileTest, OpeningFailuresShowTheirMessageWithTheShortenedPath) {
    std::string version2 = protocol::write_import_file(offer(), days());
    version2[0] = 2;
    // Valid channel and package sections, then a programme-day section that ends inside its
    // first record.
    std::string no_days, cut_record;
    FieldWriter(no_days).ZSection("");
    std::string record;
    FieldWriter(record).Int32(1);
    FieldWriter(cut_record).ZSection(record);
    const std::string base = protocol::write_import_file(offer(), {});
    const std::string cut_days = base.substr(0, base.size() - no_days.size()) + cut_record;
    const std::string valid = protocol::write_import_file(offer(), days());
    struct Case {
        std::string name;
        std::string bytes;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"empty", "", "Ошибка при открытии файла данных:\r\n\""},
        {"version 2", version2, "Не верная версия файла данных:\r\n\""},
        {"two bytes", "\x01\x00", "Не верная версия файла данных:\r\n\""},
        {"cut in a section", valid.substr(0, valid.size() / 2), "Ошибка данных."},
        {"day record cut off", cut_days, "Ошибка данных."},
    };
    for (const auto& c : cases) {
        rec.messages.clear();
        const QString path = put(c.bytes);
        EXPECT_FALSE(open(path)) << c.name;
        ASSERT_EQ(rec.messages.size(), 1u) << c.name;
        EXPECT_EQ(rec.messages[0].kind, MsgKind::Error);
        EXPECT_EQ(rec.messages[0].text.rfind(c.message, 0), 0u)
            << c.name << ": " << rec.messages[0].text;
    }
    rec.messages.clear();
    EXPECT_FALSE(open(""));
    EXPECT_EQ(rec.messages.at(0).text, "Файл не выбран.");

    // A path of 40 characters shows "..." and its last 35.
    const std::string missing = "/nonexistent/folder/Телепрограмма.zorvan_tv";
    rec.messages.clear();
    EXPECT_FALSE(ImportFileOpen(missing, *store, rec, host));
    EXPECT_EQ(rec.messages.at(0).text,
              "Ошибка при открытии файла данных:\r\n\"...tent/folder/Телепрограмма.zorvan_tv\"");
    EXPECT_EQ(shorten_path(std::string(35, 'a')), std::string(35, 'a'));
    EXPECT_EQ(shorten_path("12345" + std::string(35, 'b')), "..." + std::string(35, 'b'));
}

TEST_F(ImportFileTest, TakesTickedChannelsAndOnlyDaysTheStoreLacks) {
    // Channel 1 already holds 2026-06-10 from a paid server download.
    auto held = store->add_channel(1, "A", "", "00000001", -1);
    store->add_tvprog(*held, {.id = 99,
                              .start = at("2026-06-10 10:00"),
                              .finish = at("2026-06-10 11:00"),
                              .title = "Old"});
    store->add_dt_local(*held, "2026-06-10", 1, 1);

    auto session = open(put(protocol::write_import_file(offer(), days())));
    ASSERT_TRUE(session);
    EXPECT_EQ(session->day_count, 5u);
    EXPECT_EQ(host.jobs, (std::vector<std::string>{"Обработка данных...", "end"}));
    EXPECT_TRUE(session->create_groups);  // no group yet
    tick_channels(session->lists, {1, 2});
    const DataContext ctx{*store, rec, rec, user};
    const ImportResult r = ImportFileApply(ctx, *session, {});
    EXPECT_TRUE(r.saved);
    EXPECT_EQ(r.days_imported, 2u);  // 1/06-11 and 2/06-10
    EXPECT_EQ(r.days_skipped, 3u);   // held, unticked, not offered

    ASSERT_EQ(store->channels.size(), 2u);
    EXPECT_FALSE(store->find_channel(3));
    EXPECT_EQ(held->tvprog.front()->title, "Old");
    ASSERT_EQ(held->tvprog.size(), 2u);
    for (const auto& d : store->find_channel(2)->dates) {
        EXPECT_EQ(d.full, 0);
        EXPECT_EQ(d.with_anons, 0);
    }
    // One group for the package with ticked channels, with its shift and button.
    ASSERT_EQ(store->chl_groups.size(), 1u);
    const auto& group = *store->chl_groups[0];
    EXPECT_EQ(group.name, "P1");
    ASSERT_EQ(group.members.size(), 2u);
    EXPECT_EQ(group.members[0]->shift_text, "01:00");
    EXPECT_EQ(group.members[0]->button, "7");
    EXPECT_TRUE(QFile::exists(dir.filePath("dat/t.dat")));

    // The same file again adds nothing.
    auto again = open(put(protocol::write_import_file(offer(), days())));
    ASSERT_TRUE(again);
    EXPECT_FALSE(again->create_groups);
    tick_all(again->lists);
    const ImportResult r2 = ImportFileApply(ctx, *again, {});
    EXPECT_EQ(r2.days_imported, 1u);  // only channel 3, new now
    EXPECT_EQ(store->find_channel(1)->tvprog.size(), 2u);
}

TEST_F(ImportFileTest, EmptyProgrammeDaySectionImportsNoDay) {
    auto session = open(put(protocol::write_import_file(offer(), {})));
    ASSERT_TRUE(session);
    EXPECT_EQ(session->day_count, 0u);
    tick_all(session->lists);
    const DataContext ctx{*store, rec, rec, user};
    const ImportResult r = ImportFileApply(ctx, *session, {});
    EXPECT_EQ(r.days_imported, 0u);
    EXPECT_EQ(store->channels.size(), 3u);
}

}  // namespace
}  // namespace zt::net
