// Our files against an independent implementation: data files written by a separate Python
// writer (fixtures/make_fixtures.py, zlib level 1, header cut) load, and our sections (written
// by zlib or in parts by ISA-L) inflate with Python's zlib and with both of our readers.
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "core/cp1251.h"
#include "storage/section.h"
#include "storage_util.h"

namespace zt {
namespace {

TEST(Interop, FilesWrittenByAnIndependentWriterLoad) {
    test::Recorder rec;
    auto store = test::make_store(test::at("2024-03-14 12:00"));
    store->exe_dir = std::string(ZT_SOURCE_DIR) + "/tests/storage/fixtures/python_dat/";
    user_account user;
    const DataContext ctx(*store, rec, rec, user);
    ASSERT_TRUE(load_data_files(ctx));
    EXPECT_TRUE(rec.messages.empty());

    ASSERT_EQ(store->channels.size(), 2u);
    const auto& first = *store->channels[0];
    EXPECT_EQ(first.name, "Первый"_cp);
    EXPECT_EQ(first.descr, "<b>Первый</b> канал"_cp);
    EXPECT_EQ(first.stamp, "A1B2C3D4");
    EXPECT_EQ(store->channels[1]->stamp, std::string("xyz\0\0\0\0\0", 8));
    ASSERT_EQ(store->logos.size(), 2u);
    EXPECT_EQ(store->logos[0].bmp32.substr(0, 2), "BM");
    EXPECT_TRUE(store->logos[1].bmp16.empty());

    ASSERT_EQ(store->chl_groups.size(), 1u);
    const auto& g = *store->chl_groups[0];
    EXPECT_EQ(g.id, 4);
    ASSERT_EQ(g.members.size(), 2u);
    EXPECT_EQ(g.members[0]->name, "Культура ТВ"_cp);
    EXPECT_EQ(g.members[0]->shift_text, "+03:00");
    EXPECT_EQ(g.members[0]->shift_plus, 1);
    EXPECT_EQ(g.members[0]->button, "5");
    EXPECT_EQ(g.members[1]->name, "Первый"_cp);  // an empty name takes the channel's
    EXPECT_EQ(g.members[1]->shift_text, "00:00");
    EXPECT_EQ(first.group_count, 1);
    EXPECT_EQ(store->types[9]->abbr, "Ком"_cp);
    ASSERT_EQ(store->type_groups.size(), 1u);
    EXPECT_EQ(store->type_groups[0]->members.size(), 2u);

    ASSERT_EQ(first.love.size(), 2u);
    EXPECT_EQ(first.love[1]->title, "Погода"_cp);
    EXPECT_EQ(first.love[1]->liked, 0);
    EXPECT_EQ(first.love[1]->seen, test::at("2024-03-12 18:30"));

    EXPECT_EQ(user.login, "Иван"_cp);
    EXPECT_EQ(user.password, "5ebe2294ecd0e0f08eab7690d2a6ee69");
    EXPECT_EQ(user.paid_login, "ivan-paid");
    ASSERT_EQ(first.dates.size(), 2u);
    EXPECT_EQ(first.dates[0].full, 1);
    ASSERT_EQ(first.anons.size(), 1u);
    EXPECT_EQ(first.anons[0]->picture.substr(0, 2), "BM");
    ASSERT_EQ(first.tvprog.size(), 3u);
    const auto& film = *first.tvprog[0];
    EXPECT_EQ(film.start, test::at("2024-03-11 00:00"));
    ASSERT_NE(film.type, nullptr);
    EXPECT_EQ(film.type->id, 10);
    EXPECT_EQ(film.anons, first.anons[0]);
    EXPECT_EQ(film.next_part.lock(), first.tvprog[2]);
    EXPECT_EQ(first.tvprog[1]->mark, 1);
    EXPECT_EQ(first.tvprog[1]->love, first.love[0]);
    EXPECT_EQ(first.tvprog[2]->alarm, 1);
}

// Python's zlib, or nothing when there is no Python here.
bool python_inflates(const std::string& section, const std::string& expected) {
    // A name of this process's own: other runs of the suite may be at the same step.
    const auto in = std::filesystem::temp_directory_path() /
                    ("zt_interop_section_" + std::to_string(::getpid()) + ".bin");
    test::write_bytes(in, section);
    const std::string cmd =
        "python3 -c \"import sys,zlib; d=zlib.decompress(b'\\x78\\xda'+open(sys.argv[1],'rb')"
        ".read()); sys.stdout.buffer.write(d)\" " +
        in.string() + " 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    std::string out;
    char buf[65536];
    for (std::size_t n; p && (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    const int rc = p ? pclose(p) : -1;
    std::filesystem::remove(in);
    if (rc != 0) return false;
    return out == expected;
}

// A body of several compressor parts: text that compresses well, runs of one byte and bytes
// that do not compress, with part boundaries falling inside each.
std::string large_body() {
    std::string body;
    std::uint32_t x = 12345;
    while (body.size() < 2 * SectionDeflater::kPart + 777) {
        body += "Передача номер " + std::to_string(body.size() % 9973) + "; ";
        body.append(x % 300, char(x % 7));
        for (int i = 0; i < 200; ++i) {
            x = x * 1103515245u + 12345u;
            body.push_back(char(x >> 16));
        }
    }
    return body;
}

// Restores the writer and reader the suite runs with.
struct CodecChoice {
    Deflater deflater = current_deflater();
    Inflater inflater = current_inflater();
    ~CodecChoice() {
        set_deflater(deflater);
        set_inflater(inflater);
    }
};

TEST(Interop, OurSectionsInflateWithAnIndependentInflater) {
    if (std::system("python3 -c 'import zlib' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "python3 with zlib is not available";
    test::ProgramDir dir;
    test::Env env(dir);
    test::fill_sample(env);
    const CodecChoice restore;
    for (const Deflater writer : {Deflater::zlib, Deflater::isal}) {
        set_deflater(writer);
        for (std::string body : {std::string("abc"), std::string(), build_u_body(env.ctx),
                                 build_t_body(env.ctx), large_body()}) {
            const std::string original = body;
            DeflateSection(body);
            EXPECT_TRUE(python_inflates(body, original))
                << original.size() << " bytes, writer " << int(writer);
        }
    }
}

// Sections written in parts, by the parts or whole, read back by both of our readers (zlib
// is the reader of the versions before the parted writer), byte for byte.
TEST(Interop, PartedSectionsReadWithEveryReader) {
    const CodecChoice restore;
    const std::string original = large_body();
    std::string whole = original;
    DeflateSection(whole);
    SectionDeflater parted;
    std::string piece;
    for (std::size_t at = 0; at < original.size(); at += 1000003) {
        piece.assign(original, at, 1000003);
        parted.add(std::move(piece));
    }
    const std::string by_parts = parted.finish();
    const std::string* sections[] = {&whole, &by_parts};
    for (const std::string* section : sections) {
        for (const Inflater reader : {Inflater::zlib, Inflater::isal}) {
            set_inflater(reader);
            std::string data = *section;
            ASSERT_TRUE(InflateSection(data)) << int(reader);
            EXPECT_TRUE(data == original) << int(reader);
            // A damaged checksum is still found.
            std::string bad = *section;
            bad.back() = char(bad.back() ^ 1);
            EXPECT_FALSE(InflateSection(bad)) << int(reader);
        }
    }
}

// Data files written by the parted writer load with the zlib reader (as the versions before it
// read them) and with ISA-L, into the same store.
TEST(Interop, DataFilesWrittenInPartsLoadWithEveryReader) {
    const CodecChoice restore;
    test::ProgramDir dir;
    test::Env env(dir);
    test::fill_sample(env, "small");
    set_deflater(Deflater::isal);
    ASSERT_TRUE(save_data_files(env.ctx, true, true, true, true));
    ASSERT_GT(std::filesystem::file_size(dir.file("t.dat")), 4u);
    const std::string expected = test::dump(env);
    for (const Inflater reader : {Inflater::zlib, Inflater::isal}) {
        set_inflater(reader);
        test::Env again(dir);
        ASSERT_TRUE(load_data_files(again.ctx)) << int(reader);
        EXPECT_TRUE(again.rec.messages.empty());
        EXPECT_EQ(test::dump(again), expected) << int(reader);
    }
}

}  // namespace
}  // namespace zt
