// The four data files: round trips, the layouts, version checks, damaged and hostile bodies.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <map>

#include "core/cp1251.h"
#include "core/genres.h"
#include "storage/data_files.h"
#include "storage/field_codec.h"
#include "storage_util.h"

namespace zt {
namespace {

using test::Env;
using test::i32;
using test::ProgramDir;
using test::st;

std::vector<std::string> texts(const test::Recorder& rec) {
    std::vector<std::string> out;
    for (const auto& m : rec.messages)
        out.push_back(std::to_string(static_cast<int>(m.kind)) + " " + m.text);
    return out;
}

TEST(DataFiles, EveryFileRoundTripsTheStore) {
    for (const char* profile : {"tiny", "small"}) {
        ProgramDir dir;
        Env saved(dir);
        test::fill_sample(saved, profile);
        ASSERT_TRUE(save_data_files(saved.ctx, true, true, true, true));
        EXPECT_TRUE(saved.rec.messages.empty());

        Env loaded(dir);
        ASSERT_TRUE(load_data_files(loaded.ctx));
        EXPECT_TRUE(loaded.rec.messages.empty());
        EXPECT_EQ(test::dump(loaded), test::dump(saved)) << profile;
        // Logos come back as the same images, one entry per channel in channel order.
        ASSERT_EQ(loaded.store->logos.size(), loaded.store->channels.size());
        for (std::size_t i = 0; i < loaded.store->channels.size(); ++i) {
            const auto& c = *saved.store->channels[i];
            EXPECT_EQ(loaded.store->channels[i]->logo, std::int32_t(i));
            EXPECT_EQ(loaded.store->logos[i].bmp24, saved.store->logos[std::size_t(c.logo)].bmp24);
        }
        // Pictures come back byte for byte.
        for (std::size_t i = 0; i < saved.store->channels.size(); ++i)
            for (std::size_t k = 0; k < saved.store->channels[i]->anons.size(); ++k)
                EXPECT_EQ(loaded.store->channels[i]->anons[k]->picture,
                          saved.store->channels[i]->anons[k]->picture);
    }
}

TEST(DataFiles, EmptyStoreWritesZeroCountsAndTheGenreList) {
    ProgramDir dir;
    Env env(dir);
    std::string genres = i32(63);
    for (int id = 1; id <= 63; ++id) genres += i32(id) + st("");
    EXPECT_EQ(build_u_body(env.ctx), i32(0) + i32(0) + genres + i32(0));
    EXPECT_EQ(build_v_body(env.ctx), i32(0));
    EXPECT_EQ(build_t_body(env.ctx), st("") + st("") + st("") + i32(0));
    EXPECT_EQ(build_m_body(env.ctx), i32(0));
}

TEST(DataFiles, PasswordIsKeptOnlyWhenTheBoxIsTicked) {
    for (const bool save_password : {true, false}) {
        ProgramDir dir;
        Env saved(dir);
        saved.user = {"Иван"_cp, "0123456789abcdef0123456789abcdef", "ivan-paid", save_password};
        ASSERT_TRUE(save_t(saved.ctx));
        Env loaded(dir);
        ASSERT_TRUE(load_t(loaded.ctx));
        EXPECT_EQ(loaded.user.login, "Иван"_cp);
        EXPECT_EQ(loaded.user.paid_login, "ivan-paid");
        EXPECT_EQ(loaded.user.password, save_password ? saved.user.password : "");
    }
}

TEST(DataFiles, MidnightIsWrittenAsTheDateAloneAndReadsBack) {
    ProgramDir dir;
    Env saved(dir);
    all_list& s = *saved.store;
    auto c = s.add_channel(7, "Семь"_cp, "", "00000001", -1);
    s.add_tvprog(*c, {.id = 1,
                      .start = test::at("2024-03-11 00:00"),
                      .finish = test::at("2024-03-11 00:30"),
                      .title = "Ночь"_cp,
                      .mark = 1});
    s.add_love(*c, -1, "Ночь"_cp, 1, test::at("2024-03-10 00:00"));
    const std::string t = build_t_body(saved.ctx);
    EXPECT_NE(t.find(st("2024-03-11") + st("2024-03-11 00:30")), std::string::npos);
    EXPECT_NE(build_v_body(saved.ctx).find(st("2024-03-10")), std::string::npos);
    ASSERT_TRUE(save_data_files(saved.ctx, true, true, true, true));

    Env loaded(dir);
    ASSERT_TRUE(load_data_files(loaded.ctx));
    ASSERT_EQ(loaded.store->channels.size(), 1u);
    const auto& p = *loaded.store->channels[0]->tvprog.at(0);
    EXPECT_EQ(p.start, test::at("2024-03-11 00:00"));
    EXPECT_EQ(p.mark, 1);
    EXPECT_EQ(loaded.store->channels[0]->love.at(0)->seen, test::at("2024-03-10"));
}

// Writes a u.dat with the given channels (id, name), no groups, no genres.
std::string u_body(const std::vector<std::pair<std::int32_t, std::string>>& channels,
                   std::int32_t count) {
    std::string b = i32(count);
    for (const auto& [id, name] : channels)
        b += i32(id) + st(name) + i32(0) + "stamp_01" + i32(0) + i32(0) + i32(0);
    return b;
}

TEST(DataFiles, GuardedListStopsSilentlyWhereTheBodyEnds) {
    ProgramDir dir;
    std::vector<std::pair<std::int32_t, std::string>> four;
    for (int i = 1; i <= 4; ++i) four.push_back({i * 10, "K" + std::to_string(i)});
    // The count says ten channels; the body ends after four (and the later sections are gone).
    test::write_bytes(dir.file("u.dat"), test::make_file(2, u_body(four, 10)));
    // v.dat: the first channel's list says 5 entries, the body ends after 2.
    std::string v = i32(3) + i32(10) + i32(5);
    for (int k = 1; k <= 2; ++k)
        v += i32(k) + st("T" + std::to_string(k)) + "\x01" + st("2024-03-01");
    test::write_bytes(dir.file("v.dat"), test::make_file(2, v));

    Env env(dir);
    EXPECT_TRUE(load_data_files(env.ctx));
    EXPECT_TRUE(env.rec.messages.empty());
    ASSERT_EQ(env.store->channels.size(), 4u);
    EXPECT_EQ(env.store->channels[3]->name, "K4");
    EXPECT_EQ(env.store->channels[0]->love.size(), 2u);
}

TEST(DataFiles, WrongVersionsShowTheirMessageAndLoadNothing) {
    struct Case {
        const char* file;
        std::int32_t version;
    };
    for (const Case c : {Case{"u.dat", 3}, Case{"v.dat", 1}, Case{"t.dat", 0}, Case{"m.dat", 1},
                         Case{"u.dat", -1}}) {
        ProgramDir dir;
        Env saved(dir);
        test::fill_sample(saved);
        ASSERT_TRUE(save_data_files(saved.ctx, true, true, true, true));
        const std::string body = test::open_file(test::read_bytes(dir.file(c.file))).second;
        test::write_bytes(dir.file(c.file), test::make_file(c.version, body));

        Env loaded(dir);
        EXPECT_FALSE(load_data_files(loaded.ctx));
        EXPECT_EQ(texts(loaded.rec),
                  std::vector<std::string>{"2 Не верная версия файла данных: \"" +
                                           std::string(c.file) + "\""})
            << c.file << " " << c.version;
        const std::string name = c.file;
        if (name == "u.dat") {
            EXPECT_TRUE(loaded.store->channels.empty());
            EXPECT_TRUE(loaded.store->chl_groups.empty());
        }
        if (name == "v.dat") {
            for (const auto& ch : loaded.store->channels) EXPECT_TRUE(ch->love.empty());
        }
        if (name == "t.dat") {
            for (const auto& ch : loaded.store->channels) EXPECT_TRUE(ch->tvprog.empty());
        }
    }
}

TEST(DataFiles, MissingFilesAreAFirstRunAndEmptyFilesAreDamage) {
    ProgramDir dir;
    Env first(dir);
    EXPECT_TRUE(load_data_files(first.ctx));
    EXPECT_TRUE(first.rec.messages.empty());
    EXPECT_TRUE(first.store->channels.empty());

    // No writer makes an empty data file, nor one of a version and no body: both are damage.
    for (const char* name : {"u.dat", "v.dat", "t.dat", "m.dat"}) {
        for (const std::string& bytes : {std::string(), test::i32(2)}) {
            std::filesystem::remove_all(dir.dat());
            std::filesystem::create_directory(dir.dat());
            test::write_bytes(dir.file(name), bytes);
            Env env(dir);
            EXPECT_FALSE(load_data_files(env.ctx)) << name << " of " << bytes.size();
            EXPECT_EQ(texts(env.rec),
                      std::vector<std::string>{"2 Ошибка загрузки данных из файла: \"" +
                                               std::string(name) + "\""})
                << name << " of " << bytes.size();
        }
    }
}

// v.dat and m.dat are written at every exit once u.dat and t.dat exist: one missing beside those
// was lost. The user is told, and its backup is read in its place where there is one.
TEST(DataFiles, AUserFileMissingBesideTheScheduleIsReadFromItsBackup) {
    ProgramDir dir;
    Env saved(dir);
    test::fill_sample(saved);
    ASSERT_TRUE(save_data_files(saved.ctx, true, true, true, true));
    ASSERT_TRUE(save_data_files(saved.ctx, false, true, false, true));  // v.bak and m.bak
    Env whole(dir);
    ASSERT_TRUE(load_data_files(whole.ctx));
    const std::string expected = test::dump(whole);

    struct Case {
        std::vector<const char*> removed;
        bool loads;
        std::vector<std::string> messages;
        bool whole;  // every record read (from the backups)
    };
    const std::string v_from_bak =
        "2 Файл данных \"v.dat\" не найден. Данные прочитаны из его резервной копии \"v.bak\".";
    const std::string m_from_bak =
        "2 Файл данных \"m.dat\" не найден. Данные прочитаны из его резервной копии \"m.bak\".";
    const Case cases[] = {
        {{"v.dat"}, true, {v_from_bak}, true},
        {{"m.dat"}, true, {m_from_bak}, true},
        {{"v.dat", "m.dat"}, true, {v_from_bak, m_from_bak}, true},
        {{"v.dat", "v.bak"},
         true,
         {"2 Файл данных \"v.dat\" не найден, его резервной копии \"v.bak\" тоже нет."},
         false},
        {{"m.dat", "m.bak"},
         true,
         {"2 Файл данных \"m.dat\" не найден, его резервной копии \"m.bak\" тоже нет."},
         false},
        // Without the schedule files it is a first run: nothing to say about the others.
        {{"u.dat", "t.dat", "v.dat", "m.dat"}, true, {}, false},
        {{"u.dat", "v.dat", "m.dat"}, true, {}, false},
    };
    const std::vector<std::string> names = {"u.dat", "v.dat", "t.dat", "m.dat", "v.bak", "m.bak"};
    std::map<std::string, std::string> files;
    for (const auto& n : names) files[n] = test::read_bytes(dir.file(n));
    for (const Case& c : cases) {
        std::string what;
        for (const char* r : c.removed) what += std::string(r) + " ";
        for (const auto& n : names) test::write_bytes(dir.file(n), files[n]);
        for (const char* r : c.removed) std::filesystem::remove(dir.file(r));
        Env env(dir);
        EXPECT_EQ(load_data_files(env.ctx), c.loads) << what;
        EXPECT_EQ(texts(env.rec), c.messages) << what;
        EXPECT_EQ(test::dump(env) == expected, c.whole) << what;
    }

    // A damaged backup read in place of a missing file fails as the file would.
    for (const auto& n : names) test::write_bytes(dir.file(n), files[n]);
    std::filesystem::remove(dir.file("m.dat"));
    test::write_bytes(dir.file("m.bak"), files["m.bak"].substr(0, files["m.bak"].size() / 2));
    Env env(dir);
    EXPECT_FALSE(load_data_files(env.ctx));
    EXPECT_EQ(texts(env.rec), (std::vector<std::string>{
                                  m_from_bak, "2 Ошибка загрузки данных из файла: \"m.bak\""}));
}

TEST(DataFiles, UnreadableFileShowsTheOpenMessage) {
    ProgramDir dir;
    std::filesystem::create_directory(dir.file("u.dat"));   // exists, but cannot be read
    ASSERT_EQ(mkfifo(dir.file("v.dat").c_str(), 0600), 0);  // would block a plain open
    Env env(dir);
    EXPECT_FALSE(load_data_files(env.ctx));
    EXPECT_EQ(texts(env.rec),
              (std::vector<std::string>{"2 Ошибка при открытии файла данных: \"u.dat\"",
                                        "2 Ошибка при открытии файла данных: \"v.dat\""}));
}

TEST(DataFiles, RecordsOfUnknownChannelsAreReadAndDropped) {
    ProgramDir dir;
    Env saved(dir);
    test::fill_sample(saved);
    // A channel that u.dat will not know, listed first in v, t and m.
    all_list& s = *saved.store;
    auto ghost = s.add_channel(999, "Призрак"_cp, "", "ghost___", -1);
    auto love = s.add_love(*ghost, -1, "Тень"_cp, 1, test::at("2024-03-12"));
    s.add_dt_local(*ghost, "2024-03-12", 1, 1);
    s.add_anons(*ghost, 5, "Анонс"_cp, "BM....");
    s.add_tvprog(*ghost, {.id = 1,
                          .start = test::at("2024-03-12 10:00"),
                          .finish = test::at("2024-03-12 11:00"),
                          .type_family = 1,
                          .type_sub = 1,
                          .rating = 50,
                          .title = "Тень"_cp,
                          .anons_id = 5,
                          .mark = 1,
                          .love_id = love->id,
                          .alarm = 1});
    std::rotate(s.channels.begin(), s.channels.end() - 1, s.channels.end());
    const std::string expected_without_ghost = [&] {
        ProgramDir other;
        Env copy(other);
        test::fill_sample(copy);
        return test::dump(copy);
    }();
    ASSERT_TRUE(save_data_files(saved.ctx, false, true, true, true));
    // u.dat without the ghost.
    s.channels.erase(s.channels.begin());
    ASSERT_TRUE(save_u(saved.ctx));

    Env loaded(dir);
    ASSERT_TRUE(load_data_files(loaded.ctx));
    EXPECT_TRUE(loaded.rec.messages.empty());
    EXPECT_EQ(loaded.store->find_channel(999), nullptr);
    EXPECT_EQ(test::dump(loaded), expected_without_ghost);
}

TEST(DataFiles, MarksOfVanishedProgrammesAreDropped) {
    ProgramDir dir;
    Env saved(dir);
    all_list& s = *saved.store;
    auto c = s.add_channel(1, "Один"_cp, "", "00000001", -1);
    s.add_love(*c, 4, "Кино"_cp, 1, test::at("2024-03-12"));
    s.add_tvprog(*c, {.id = 10,
                      .start = test::at("2024-03-12 10:00"),
                      .finish = test::at("2024-03-12 11:00"),
                      .title = "Кино"_cp,
                      .mark = 1,
                      .love_id = 4,
                      .alarm = 1});
    s.add_tvprog(*c, {.id = 11,
                      .start = test::at("2024-03-12 11:00"),
                      .finish = test::at("2024-03-12 12:00"),
                      .title = "Другое"_cp,
                      .alarm = 1});
    ASSERT_TRUE(save_data_files(saved.ctx, true, true, false, true));
    // t.dat in which programme 10 moved by a minute: its mark no longer applies.
    c->tvprog[0]->start = test::at("2024-03-12 10:01");
    ASSERT_TRUE(save_t(saved.ctx));

    Env loaded(dir);
    ASSERT_TRUE(load_data_files(loaded.ctx));
    const auto& progs = loaded.store->channels.at(0)->tvprog;
    EXPECT_EQ(progs[0]->mark, 0);
    EXPECT_EQ(progs[0]->love, nullptr);
    EXPECT_EQ(progs[1]->alarm, 1);
}

TEST(DataFiles, DamagedBodiesShowTheLoadMessageAndKeepWhatCameBefore) {
    ProgramDir dir;
    Env saved(dir);
    test::fill_sample(saved);
    ASSERT_TRUE(save_data_files(saved.ctx, true, true, true, true));
    const std::string u_file = test::read_bytes(dir.file("u.dat"));
    const std::string u_body = test::open_file(u_file).second;
    const std::string load_error = "2 Ошибка загрузки данных из файла: \"u.dat\"";

    struct Case {
        const char* what;
        std::string file;
        std::size_t channels_at_least;
    };
    std::string bad_sum = u_file;
    bad_sum.back() ^= 1;
    const std::vector<Case> cases = {
        {"checksum", bad_sum, 0},
        {"cut inside the first channel", test::make_file(2, u_body.substr(0, 60)), 0},
        {"cut near the end", test::make_file(2, u_body.substr(0, u_body.size() - 400)), 3},
        {"three bytes", u_file.substr(0, 3), 0},
    };
    for (const auto& c : cases) {
        test::write_bytes(dir.file("u.dat"), c.file);
        Env loaded(dir);
        EXPECT_FALSE(load_u(loaded.ctx)) << c.what;
        EXPECT_EQ(texts(loaded.rec), std::vector<std::string>{load_error}) << c.what;
        EXPECT_GE(loaded.store->channels.size(), c.channels_at_least) << c.what;
        if (std::string(c.what) == "checksum") {
            EXPECT_TRUE(loaded.store->channels.empty());
        }
    }
}

// t.dat is read as it inflates; a checksum found wrong at its very end takes back everything
// the file had added, as if it had not been read.
TEST(DataFiles, AScheduleDamagedAtItsChecksumLeavesNothingBehind) {
    ProgramDir dir;
    Env saved(dir);
    test::fill_sample(saved);
    ASSERT_TRUE(save_data_files(saved.ctx, true, true, true, true));
    std::string t = test::read_bytes(dir.file("t.dat"));
    t.back() ^= 1;
    test::write_bytes(dir.file("t.dat"), t);

    Env loaded(dir);
    loaded.user.login = "до загрузки"_cp;
    EXPECT_FALSE(load_data_files(loaded.ctx));
    EXPECT_EQ(texts(loaded.rec),
              std::vector<std::string>{"2 Ошибка загрузки данных из файла: \"t.dat\""});
    EXPECT_EQ(loaded.user.login, "до загрузки"_cp);
    ASSERT_EQ(loaded.store->channels.size(), saved.store->channels.size());
    for (const auto& c : loaded.store->channels) {
        EXPECT_TRUE(c->tvprog.empty());
        EXPECT_TRUE(c->anons.empty());
        EXPECT_TRUE(c->dates.empty());
        EXPECT_FALSE(c->love.empty());  // v.dat was fine
    }
}

TEST(DataFiles, AbsurdCountsAndLengthsNeverCrashOrAllocateBeyondTheFile) {
    ProgramDir dir;
    const std::string channel = i32(1) + st("A") + i32(0) + "stamp_01" + i32(0) + i32(0) + i32(0);
    const std::vector<std::pair<const char*, std::string>> bodies = {
        {"channel count 2^31-1", i32(0x7FFFFFFF) + channel},
        {"negative channel count", i32(-2147483647 - 1) + channel},
        {"description of 2 GB", i32(1) + i32(1) + st("A") + i32(0x7FFFFFFF) + "x"},
        {"logo of 2 GB", i32(1) + i32(1) + st("A") + i32(0) + "stamp_01" + i32(0x7FFFFFFF)},
        {"member count 2^31-1",
         i32(1) + channel + i32(1) + i32(1) + i32(0) + i32(0) + i32(0x7FFFFFFF)},
        {"genre group member count 2^31-1",
         i32(0) + i32(0) + i32(0) + i32(1) + i32(1) + i32(0) + i32(0x7FFFFFFF) + i32(10)},
    };
    for (const auto& [what, body] : bodies) {
        test::write_bytes(dir.file("u.dat"), test::make_file(2, body));
        Env loaded(dir);
        load_u(loaded.ctx);
        EXPECT_LE(loaded.rec.messages.size(), 1u) << what;
        EXPECT_LE(loaded.store->channels.size(), 1u) << what;
    }
}

TEST(DataFiles, RepeatedChannelIdsKeepTheFirst) {
    ProgramDir dir;
    test::write_bytes(dir.file("u.dat"),
                      test::make_file(2, u_body({{5, "A"}, {5, "B"}, {6, "C"}}, 3)));
    Env env(dir);
    EXPECT_TRUE(load_u(env.ctx));
    ASSERT_EQ(env.store->channels.size(), 2u);
    EXPECT_EQ(env.store->channels[0]->name, "A");
    EXPECT_EQ(env.store->channels[1]->logo, 1);
}

TEST(DataFiles, LoadingReportsProgress) {
    ProgramDir dir;
    Env saved(dir);
    test::fill_sample(saved, "small");
    ASSERT_TRUE(save_t(saved.ctx));
    EXPECT_FALSE(saved.rec.percents.empty());
    Env loaded(dir);
    test::fill_sample(loaded, "small");  // channels to attach the programmes to
    for (auto& c : loaded.store->channels) c->tvprog.clear(), c->anons.clear(), c->dates.clear();
    ASSERT_TRUE(load_t(loaded.ctx));
    EXPECT_GT(loaded.rec.percents.size(), 10u);
    for (int p : loaded.rec.percents) {
        EXPECT_GE(p, 0);
        EXPECT_LE(p, 100);
    }
}

}  // namespace
}  // namespace zt

namespace zt {
namespace {

// The readers resolve repeated days, announcements and marks with lookups of their own; the
// result must be what the store's operations give when the records are applied one by one.
TEST(DataFiles, RepeatedRecordsResolveAsTheStoreOperationsDo) {
    struct Day {
        const char* date;
        std::uint8_t full, with_anons;
    };
    const std::vector<Day> days = {{"2024-03-11", 0, 0}, {"2024-03-12", 1, 0}, {"2024-03-11", 1, 1},
                                   {"2024-03-12", 0, 0}, {"2024-03-13", 0, 1}, {"2024-03-11", 0, 1},
                                   {"2024-03-13", 2, 1}, {"2024-03-14", 1, 0}};
    struct Mark {
        std::int32_t id;
        const char* start;
        std::uint8_t mark, alarm;
        std::int32_t love;
    };
    const std::vector<Mark> marks = {
        {1, "2024-03-11 10:00", 1, 0, 4},  // overwritten below
        {2, "2024-03-11 11:00", 0, 1, -1},
        {1, "2024-03-11 10:00", 0, 1, 9},  // the last for programme 1 stands; 9 is unknown
        {3, "2024-03-11 12:00", 1, 1, 4},  // two programmes share id and start: the first
        {5, "2024-03-11 13:00", 1, 1, 4},  // no such programme
    };

    ProgramDir dir;
    Env expected(dir);
    all_list& s = *expected.store;
    auto c = s.add_channel(1, "Один"_cp, "", "00000001", s.add_logo({}));
    s.add_love(*c, 4, "Кино"_cp, 1, test::at("2024-03-10"));
    s.add_anons(*c, 7, "первый"_cp, "");
    s.add_anons(*c, 7, "второй с тем же id"_cp, "");
    const std::pair<std::int32_t, const char*> progs[] = {{1, "2024-03-11 10:00"},
                                                          {2, "2024-03-11 11:00"},
                                                          {3, "2024-03-11 12:00"},
                                                          {3, "2024-03-11 12:00"}};
    for (const auto& [id, start] : progs)
        s.add_tvprog(*c, {.id = id,
                          .start = test::at(start),
                          .finish = test::at(start).addMinutes(30),
                          .type_family = 2,
                          .type_sub = 4,
                          .title = "Кино"_cp,
                          .anons_id = 7});
    ASSERT_TRUE(save_data_files(expected.ctx, true, true, true, false));
    // t.dat again, with the repeated days.
    std::string t = test::st("") + test::st("") + test::st("") + i32(1) + i32(1) +
                    i32(std::int32_t(days.size()));
    for (const auto& d : days) t += std::string(d.date) + char(d.full) + char(d.with_anons);
    const std::string t_saved = test::open_file(test::read_bytes(dir.file("t.dat"))).second;
    FieldReader tr(t_saved);
    tr.ShortText(), tr.ShortText(), tr.ShortText(), tr.Int32(), tr.Int32();
    const std::int32_t no_days = tr.Int32();
    ASSERT_EQ(no_days, 0);
    t += t_saved.substr(tr.pos());
    test::write_bytes(dir.file("t.dat"), test::make_file(2, t));
    std::string m = i32(1) + i32(1) + i32(std::int32_t(marks.size()));
    for (const auto& k : marks)
        m += i32(k.id) + test::st(k.start) + char(k.mark) + char(k.alarm) + i32(k.love);
    test::write_bytes(dir.file("m.dat"), test::make_file(2, m));

    for (const auto& d : days) s.add_dt_local(*c, d.date, d.full, d.with_anons);
    for (const auto& k : marks)
        s.apply_tvprog_marks(*c, k.id, test::at(k.start), k.mark, k.love, k.alarm);

    Env loaded(dir);
    ASSERT_TRUE(load_data_files(loaded.ctx));
    EXPECT_EQ(test::dump(loaded), test::dump(expected));
    // Programmes name the first announcement of their id.
    EXPECT_EQ(loaded.store->channels[0]->tvprog[0]->anons, loaded.store->channels[0]->anons[0]);
}

}  // namespace
}  // namespace zt
