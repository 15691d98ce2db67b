// Version 1 files: reading them and the one-time conversion.
#include <gtest/gtest.h>

#include "core/cp1251.h"
#include "storage/legacy.h"
#include "storage/legacy_layout.h"
#include "storage_util.h"

namespace zt {
namespace {

using test::Env;
using test::ProgramDir;

std::int32_t version_of(const ProgramDir& dir, const std::string& name) {
    return test::open_file(test::read_bytes(dir.file(name))).first;
}

TEST(Legacy, ConvertsTwoVersionOneFilesIntoFourCurrentOnes) {
    ProgramDir dir;
    Env old(dir);
    test::fill_sample(old, "small");
    ASSERT_TRUE(save_legacy_files(old.ctx));
    const std::string old_u = test::read_bytes(dir.file("u.dat"));
    const std::string old_t = test::read_bytes(dir.file("t.dat"));

    Env conv(dir);
    EXPECT_TRUE(legacy_files_present(conv.ctx));
    conv.user.save_password = true;  // as the settings read before the conversion say
    std::vector<std::string> captions;
    bool ended = false;
    conv.ctx.job_caption = [&](const std::string& c) { captions.push_back(c); };
    conv.ctx.job_end = [&] { ended = true; };
    ASSERT_TRUE(convert_legacy(conv.ctx));
    ASSERT_EQ(conv.rec.messages.size(), 2u);
    EXPECT_EQ(conv.rec.messages[0].kind, MsgKind::Info);
    EXPECT_EQ(conv.rec.messages[0].text,
              "Сейчас будет произведено преобразование файлов данных в новый формат. "
              "Пожалуйста, дождитесь завершения операции.");
    EXPECT_EQ(conv.rec.messages[1].kind, MsgKind::Info);
    EXPECT_EQ(conv.rec.messages[1].text,
              "Спасибо, операция завершена. Запустите программу повторно.");
    EXPECT_EQ(captions, (std::vector<std::string>{"Загрузка данных...", "Сохранение данных..."}));
    EXPECT_TRUE(ended);

    for (const char* name : {"u.dat", "v.dat", "t.dat", "m.dat"})
        EXPECT_EQ(version_of(dir, name), 2) << name;
    EXPECT_EQ(test::read_bytes(dir.file("u.bak")), old_u);
    EXPECT_EQ(test::read_bytes(dir.file("t.bak")), old_t);
    EXPECT_FALSE(std::filesystem::exists(dir.file("v.bak")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("m.bak")));

    // The next start loads normally and finds everything the old files held.
    Env next(dir);
    EXPECT_FALSE(legacy_files_present(next.ctx));
    EXPECT_FALSE(convert_legacy(next.ctx));
    ASSERT_TRUE(load_data_files(next.ctx));
    EXPECT_TRUE(next.rec.messages.empty());
    EXPECT_EQ(test::dump(next), test::dump(old));
}

TEST(Legacy, MarksAndFavouriteLinksMoveToTheMarksFile) {
    ProgramDir dir;
    Env old(dir);
    all_list& s = *old.store;
    auto c = s.add_channel(3, "Три"_cp, "", "00000003", -1);
    s.add_love(*c, 4, "Сериал"_cp, 1, test::at("2024-03-13"));
    s.add_tvprog(*c, {.id = 77,
                      .start = test::at("2024-03-13 20:00"),
                      .finish = test::at("2024-03-13 21:00"),
                      .type_family = 3,
                      .type_sub = 1,
                      .rating = 10,
                      .title = "Сериал"_cp,
                      .mark = 1,
                      .love_id = 4});
    ASSERT_TRUE(save_legacy_files(old.ctx));

    Env conv(dir);
    ASSERT_TRUE(convert_legacy(conv.ctx));
    // m.dat: one channel, one record: programme 77 at its start, mark 1, alarm 0, favourite 4.
    const std::string m = test::open_file(test::read_bytes(dir.file("m.dat"))).second;
    EXPECT_EQ(m, test::i32(1) + test::i32(3) + test::i32(1) + test::i32(77) +
                     test::st("2024-03-13 20:00") + std::string("\x01\x00", 2) + test::i32(4));
}

TEST(Legacy, OneOldFileAloneIsReadButNotConverted) {
    ProgramDir dir;
    Env old(dir);
    test::fill_sample(old);
    ASSERT_TRUE(save_legacy_files(old.ctx));
    std::filesystem::remove(dir.file("t.dat"));

    Env env(dir);
    EXPECT_FALSE(convert_legacy(env.ctx));
    EXPECT_TRUE(env.rec.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("v.dat")));
    ASSERT_TRUE(load_data_files(env.ctx));
    ASSERT_EQ(env.store->channels.size(), old.store->channels.size());
    for (std::size_t i = 0; i < old.store->channels.size(); ++i) {
        const auto& want = old.store->channels[i]->love;
        const auto& got = env.store->channels[i]->love;
        ASSERT_EQ(got.size(), want.size());
        for (std::size_t k = 0; k < want.size(); ++k) {
            EXPECT_EQ(got[k]->title, want[k]->title);
            EXPECT_EQ(got[k]->seen, want[k]->seen);
        }
    }
}

// A damaged old file is not turned into a clean, emptier current one.
TEST(Legacy, DamagedOldFilesAreNotConverted) {
    for (const char* damaged : {"u.dat", "t.dat"}) {
        ProgramDir dir;
        Env old(dir);
        test::fill_sample(old);
        ASSERT_TRUE(save_legacy_files(old.ctx));
        std::string bytes = test::read_bytes(dir.file(damaged));
        bytes.back() ^= 1;
        test::write_bytes(dir.file(damaged), bytes);

        Env env(dir);
        EXPECT_FALSE(convert_legacy(env.ctx)) << damaged;
        EXPECT_TRUE(env.rec.messages.empty()) << damaged;
        EXPECT_EQ(test::read_bytes(dir.file(damaged)), bytes) << damaged;
        EXPECT_FALSE(std::filesystem::exists(dir.file("m.dat"))) << damaged;
        EXPECT_TRUE(env.store->channels.empty()) << damaged;
    }
}

// Favourites that an old channel file carries and a current favourites file repeats load once,
// so they do not grow by a copy at every start and exit.
TEST(Legacy, FavouritesInBothOldAndCurrentFilesLoadOnce) {
    ProgramDir dir;
    Env old(dir);
    test::fill_sample(old);
    ASSERT_TRUE(save_legacy_files(old.ctx));
    old.store->channels[0]->love[0]->title = "Новое имя"_cp;
    ASSERT_TRUE(save_v(old.ctx));
    std::filesystem::remove(dir.file("t.dat"));
    std::size_t loves = 0;
    for (const auto& c : old.store->channels) loves += c->love.size();
    ASSERT_GT(loves, 0u);

    for (int start = 0; start < 2; ++start) {
        Env env(dir);
        ASSERT_TRUE(load_data_files(env.ctx));
        std::size_t now = 0;
        for (const auto& c : env.store->channels) now += c->love.size();
        EXPECT_EQ(now, loves) << "start " << start;
        EXPECT_EQ(env.store->channels[0]->love[0]->title, "Новое имя"_cp);
        ASSERT_TRUE(save_v(env.ctx));
    }
}

TEST(Legacy, CurrentFilesAreLeftAlone) {
    ProgramDir dir;
    Env env(dir);
    test::fill_sample(env);
    ASSERT_TRUE(save_data_files(env.ctx, true, true, true, true));
    Env again(dir);
    EXPECT_FALSE(convert_legacy(again.ctx));
    EXPECT_TRUE(again.rec.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("u.bak")));
}

}  // namespace
}  // namespace zt
