// Hostile and damaged files: data files cut at every byte, bodies that compress far better than
// usual, pictures and record counts that would decode huge.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/cp1251.h"
#include "storage/data_files.h"
#include "storage/field_codec.h"
#include "storage/section.h"
#include "storage_util.h"

namespace zt {
namespace {

using test::Env;
using test::i32;
using test::ProgramDir;
using test::st;

const char* const kFiles[] = {"u.dat", "v.dat", "t.dat", "m.dat"};

// A small store (two channels with a few programmes, favourites and marks) written to `dir`.
std::string write_small_store(const ProgramDir& dir) {
    Env env(dir);
    test::fill_sample(env, "tiny", 3);
    auto& channels = env.store->channels;
    channels.resize(2);
    for (auto& c : channels) {
        if (c->tvprog.size() > 6) c->tvprog.resize(6);
        if (c->love.size() > 2) c->love.resize(2);
        for (auto& p : c->tvprog)
            if (p->love && p->love->id != c->love.front()->id) p->love = nullptr;
        c->tvprog[1]->mark = 1;
        c->tvprog[2]->alarm = 1;
        c->tvprog[3]->love = c->love.front();
    }
    for (auto& g : env.store->chl_groups) g->members.clear();
    EXPECT_TRUE(save_data_files(env.ctx, true, true, true, true));
    Env again(dir);
    EXPECT_TRUE(load_data_files(again.ctx));
    return test::dump(again);
}

// Each cut of each file either shows a message naming that file or loads everything: a cut
// file, down to an empty one, never loads as a shorter one in silence.
TEST(Damage, EveryCutOfEveryFileIsReportedOrLoadsWhole) {
    for (const Inflater inflater : {Inflater::zlib, Inflater::isal}) {
        set_inflater(inflater);
        ProgramDir dir;
        const std::string whole = write_small_store(dir);
        for (const char* name : kFiles) {
            const std::string file = test::read_bytes(dir.file(name));
            // From no byte at all (an empty file) to all but the last.
            for (std::size_t cut = 0; cut < file.size(); ++cut) {
                test::write_bytes(dir.file(name), file.substr(0, cut));
                Env env(dir);
                const bool ok = load_data_files(env.ctx);
                bool named = false;
                for (const auto& m : env.rec.messages)
                    named =
                        named || m.text.find(std::string("\"") + name + "\"") != std::string::npos;
                EXPECT_TRUE(named || (ok && test::dump(env) == whole))
                    << name << " cut at " << cut << " of " << file.size();
                EXPECT_EQ(ok, env.rec.messages.empty()) << name << " cut at " << cut;
            }
            test::write_bytes(dir.file(name), file);
        }
    }
    set_inflater(Inflater::isal);
}

// A BMP file image header declaring `width` x `height` at `bpp` bits with `compression`
// (1: run-length), followed by `pixels`.
std::string bmp(std::int32_t width, std::int32_t height, int bpp, int compression,
                const std::string& pixels) {
    auto u16 = [](int v) { return std::string{char(v & 0xFF), char(v >> 8 & 0xFF)}; };
    std::string h = "BM" + i32(std::int32_t(54 + pixels.size())) + i32(0) + i32(54);
    h += i32(40) + i32(width) + i32(height) + u16(1) + u16(bpp) + i32(compression) +
         i32(std::int32_t(pixels.size())) + i32(2835) + i32(2835) + i32(0) + i32(0);
    return h + pixels;
}

// Logos that declare thousands of pixels in a few bytes of run-length data are dropped as no
// logo before anything decodes them; a real logo stays.
TEST(Damage, LogosThatDeclareHugeSizesAreNoLogo) {
    ProgramDir dir;
    const std::string rle_end = std::string("\x00\x01", 2);  // end of bitmap
    const std::string huge = bmp(5700, 5700, 8, 1, rle_end);
    const std::string small = bmp(16, 16, 24, 0, std::string(16 * 16 * 3, '\x7f'));
    std::string body = i32(301);
    for (int i = 1; i <= 300; ++i)
        body += i32(i) + st("K") + i32(0) + "stamp_01" + i32(std::int32_t(huge.size())) + huge +
                i32(0) + i32(0);
    body += i32(301) + st("R") + i32(0) + "stamp_01" + i32(std::int32_t(small.size())) + small +
            i32(0) + i32(0);
    body += i32(0) + i32(0) + i32(0);
    test::write_bytes(dir.file("u.dat"), test::make_file(2, body));
    Env env(dir);
    EXPECT_TRUE(load_u(env.ctx));
    ASSERT_EQ(env.store->channels.size(), 301u);
    for (const auto& c : env.store->channels) {
        const logo_images& logo = env.store->logos.at(std::size_t(c->logo));
        EXPECT_EQ(logo.bmp16.empty(), c->id != 301) << c->id;
    }
}

// A schedule whose announcement pictures are of one colour compresses far better than 200:1
// and is still ours: it loads whole.
TEST(Damage, BodiesThatCompressExtremelyWellStillLoad) {
    ProgramDir dir;
    Env saved(dir);
    auto c = saved.store->add_channel(7, "Семь"_cp, "", "00000007", -1);
    const std::string flat =
        bmp(2048, 2048, 32, 0, std::string(std::size_t(2048) * 2048 * 4, '\x20'));
    saved.store->add_anons(*c, 1, "Анонс"_cp, flat);
    saved.store->add_tvprog(*c, {.id = 1,
                                 .start = test::at("2024-03-14 10:00"),
                                 .finish = test::at("2024-03-14 11:00"),
                                 .type_family = 1,
                                 .type_sub = 1,
                                 .title = "Фильм"_cp,
                                 .anons_id = 1});
    ASSERT_TRUE(save_data_files(saved.ctx, true, true, true, true));
    const auto size = std::filesystem::file_size(dir.file("t.dat"));
    ASSERT_LT(size * 200, flat.size());

    Env env(dir);
    EXPECT_TRUE(load_data_files(env.ctx));
    EXPECT_TRUE(env.rec.messages.empty());
    ASSERT_EQ(env.store->channels.size(), 1u);
    ASSERT_EQ(env.store->channels[0]->anons.size(), 1u);
    EXPECT_EQ(env.store->channels[0]->anons[0]->picture, flat);
}

// A small file of tiny records that would take far more memory than its records may is
// refused with its message once the budget is spent.
TEST(Damage, RecordsBeyondTheMemoryBudgetAreRefused) {
    ProgramDir dir;
    test::write_bytes(dir.file("u.dat"),
                      test::make_file(2, i32(1) + i32(5) + st("K") + i32(0) + "stamp_01" + i32(0) +
                                             i32(0) + i32(0) + i32(0) + i32(0) + i32(0)));
    const int entries = 100000;
    std::string v = i32(1) + i32(5) + i32(entries);
    for (int k = 0; k < entries; ++k) v += i32(-1) + st("") + "\x01" + st("2024-03-01");
    test::write_bytes(dir.file("v.dat"), test::make_file(2, v));
    ASSERT_LT(std::filesystem::file_size(dir.file("v.dat")), std::size_t(200) << 10);

    Env whole(dir);
    EXPECT_TRUE(load_data_files(whole.ctx));
    EXPECT_EQ(whole.store->channels.at(0)->love.size(), std::size_t(entries));

    Env env(dir);
    env.ctx.record_budget = std::size_t(1) << 20;
    EXPECT_FALSE(load_data_files(env.ctx));
    ASSERT_EQ(env.rec.messages.size(), 1u);
    EXPECT_EQ(env.rec.messages[0].text, "Ошибка загрузки данных из файла: \"v.dat\"");
    EXPECT_LT(env.store->channels.at(0)->love.size(), std::size_t(entries) / 4);
}

}  // namespace
}  // namespace zt
