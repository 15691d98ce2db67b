// Field encodings and compressed sections.
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <algorithm>
#include <thread>
#include <vector>

#include "core/cp1251.h"
#include "storage/field_codec.h"
#include "storage/section.h"
#include "storage_util.h"

namespace zt {
namespace {

using test::i32;

TEST(FieldCodec, WritesTheEncodingsByteForByte) {
    struct Case {
        const char* what;
        std::function<void(FieldWriter&)> write;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        {"Int32 little-endian", [](FieldWriter& w) { w.Int32(0x01020304); }, "\x04\x03\x02\x01"},
        {"Int32 negative", [](FieldWriter& w) { w.Int32(-1); }, "\xFF\xFF\xFF\xFF"},
        {"Byte", [](FieldWriter& w) { w.Byte(200); }, "\xC8"},
        {"Flag set", [](FieldWriter& w) { w.Flag(1); }, "\x01"},
        {"Flag: anything but 1 is written clear", [](FieldWriter& w) { w.Flag(2); },
         std::string(1, '\0')},
        {"ShortText", [](FieldWriter& w) { w.ShortText("Мир"_cp); }, "\x03" + "Мир"_cp},
        {"ShortText empty", [](FieldWriter& w) { w.ShortText(""); }, std::string(1, '\0')},
        {"LongText", [](FieldWriter& w) { w.LongText("ab"); }, i32(2) + "ab"},
        {"FixedText padded with zeros", [](FieldWriter& w) { w.FixedText("ab", 4); },
         std::string("ab\0\0", 4)},
        {"FixedText cut", [](FieldWriter& w) { w.FixedText("abcdef", 4); }, "abcd"},
        {"BitmapBlob", [](FieldWriter& w) { w.BitmapBlob("BMxy"); }, i32(4) + "BMxy"},
    };
    for (const auto& c : cases) {
        std::string out;
        FieldWriter w(out);
        c.write(w);
        EXPECT_EQ(out, c.bytes) << c.what;
    }
}

TEST(FieldCodec, ShortTextLongerThan255BytesIsCutOnWrite) {
    std::string out;
    FieldWriter(out).ShortText(std::string(300, 'x'));
    FieldReader r(out);
    EXPECT_EQ(r.ShortText(), std::string(255, 'x'));
    EXPECT_TRUE(r.at_end());
}

TEST(FieldCodec, ReadsBackWhatItWrites) {
    std::string out;
    FieldWriter w(out);
    w.Int32(-123456);
    w.Byte(255);
    w.Flag(1);
    w.ShortText("Новости"_cp);
    w.LongText(std::string(1000, 'z'));
    w.FixedText("2024", 8);
    w.BitmapBlob("");
    FieldReader r(out);
    EXPECT_EQ(r.Int32(), -123456);
    EXPECT_EQ(r.Byte(), 255);
    EXPECT_EQ(r.Flag(), 1);
    EXPECT_EQ(r.ShortText(), "Новости"_cp);
    EXPECT_EQ(r.LongText(), std::string(1000, 'z'));
    EXPECT_EQ(r.FixedText(8), std::string("2024\0\0\0\0", 8));
    EXPECT_EQ(r.BitmapBlob(), "");
    EXPECT_TRUE(r.at_end());
}

TEST(FieldCodec, FlagByteOtherThanOneReadsFalse) {
    const std::string bytes("\x02\x01\x00\xFF", 4);
    FieldReader r(bytes);
    EXPECT_EQ(r.Flag(), 0);
    EXPECT_EQ(r.Flag(), 1);
    EXPECT_EQ(r.Flag(), 0);
    EXPECT_EQ(r.Flag(), 0);
}

// Lengths beyond the remaining bytes, negative lengths and truncated integers are refused
// before anything is allocated.
TEST(FieldCodec, RefusesLengthsBeyondTheData) {
    using Read = std::function<void(FieldReader&)>;
    const Read long_text = [](FieldReader& r) { r.LongText(); };
    const std::vector<std::tuple<const char*, std::string, Read>> cases = {
        {"LongText claiming 2 GB", i32(0x7FFFFFFF) + "abc", long_text},
        {"LongText negative", i32(-5) + "abc", long_text},
        {"ShortText past the end",
         "\x05"
         "ab",
         [](FieldReader& r) { r.ShortText(); }},
        {"Int32 of three bytes", "\x01\x02\x03", [](FieldReader& r) { r.Int32(); }},
        {"FixedText past the end", "abc", [](FieldReader& r) { r.FixedText(8); }},
        {"BitmapBlob claiming 2 GB", i32(0x7FFFFFF0), [](FieldReader& r) { r.BitmapBlob(); }},
        {"ZSection longer than the data", i32(1000) + "xx", [](FieldReader& r) { r.ZSection(); }},
    };
    for (const auto& [what, bytes, read] : cases) {
        FieldReader r(bytes);
        EXPECT_THROW(read(r), field_error) << what;
    }
}

// Every section test runs with each inflater (ISA-L falls back to zlib where it is not built
// in).
class Section : public ::testing::TestWithParam<Inflater> {
protected:
    void SetUp() override { set_inflater(GetParam()); }
    void TearDown() override { set_inflater(m_before); }

private:
    Inflater m_before = current_inflater();
};

TEST_P(Section, DeflatedSectionIsZlibWithoutItsHeader) {
    std::string data = "abc";
    DeflateSection(data);
    ASSERT_GE(data.size(), 5u);
    EXPECT_NE(std::uint8_t(data[0]), 0x78);
    // With 0x78 0xDA in front it is a complete zlib stream.
    const std::string stream = "\x78\xDA" + data;
    char out[16];
    uLongf out_len = sizeof out;
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(out), &out_len,
                         reinterpret_cast<const Bytef*>(stream.data()), uLong(stream.size())),
              Z_OK);
    EXPECT_EQ(std::string(out, out_len), "abc");
    ASSERT_TRUE(InflateSection(data));
    EXPECT_EQ(data, "abc");
}

TEST_P(Section, RoundTripsAcrossManyChunksAndReportsProgress) {
    std::string original;
    for (int i = 0; original.size() < 3 * kSectionChunk + 17; ++i)
        original += std::to_string(i * 7919 % 100003) + ' ';
    std::string data = original;
    test::Recorder deflating;
    DeflateSection(data, &deflating);
    EXPECT_GE(deflating.percents.size(), 4u);
    EXPECT_EQ(deflating.percents.back(), 100);
    test::Recorder inflating;
    ASSERT_TRUE(InflateSection(data, &inflating));
    EXPECT_EQ(data, original);
    EXPECT_EQ(inflating.percents.back(), 100);
    EXPECT_TRUE(std::is_sorted(inflating.percents.begin(), inflating.percents.end()));
}

TEST_P(Section, DamagedDataOrChecksumFailsAndLeavesTheInputAlone) {
    std::string good = std::string(5000, 'q') + "tail";
    DeflateSection(good);
    std::string bad_sum = good;
    bad_sum.back() ^= 0x55;  // the last byte belongs to the Adler-32
    std::string bad_data = good;
    bad_data[0] = char(0xFF);  // an invalid block type
    for (auto* s : {&bad_sum, &bad_data}) {
        const std::string before = *s;
        EXPECT_FALSE(InflateSection(*s));
        EXPECT_EQ(*s, before);
    }
}

// A cut-off section, or one with bytes after its end, is damage at every cut point: never
// a shorter body read as if complete.
TEST_P(Section, CutOrExtendedSectionsFail) {
    std::string text;
    for (int i = 0; i < 20000; ++i) text += char('a' + i * 31 % 26);
    std::string good = text;
    DeflateSection(good);
    for (std::size_t cut = 1; cut < good.size(); ++cut) {
        std::string data = good.substr(0, cut);
        EXPECT_FALSE(InflateSection(data)) << "cut at " << cut;
        ByteBuffer out;
        EXPECT_FALSE(InflateSection(good.substr(0, cut), out)) << "cut at " << cut;
    }
    for (const std::string& extra : {std::string(1, '\0'), std::string("tail")}) {
        std::string data = good + extra;
        EXPECT_FALSE(InflateSection(data));
    }
    std::string whole = good;
    ASSERT_TRUE(InflateSection(whole));
    EXPECT_EQ(whole, text);
}

// The limit is a fixed ceiling on the body, whatever the ratio: 64 MB of zeros packed 1000:1
// are a valid body, refused only when the caller allows less.
TEST_P(Section, BodiesAreBoundedByTheirSizeNotByTheirRatio) {
    const std::string zeros(std::size_t(64) << 20, '\0');
    std::string packed(compressBound(uLong(zeros.size())), '\0');
    uLongf packed_len = uLongf(packed.size());
    ASSERT_EQ(compress2(reinterpret_cast<Bytef*>(packed.data()), &packed_len,
                        reinterpret_cast<const Bytef*>(zeros.data()), uLong(zeros.size()), 9),
              Z_OK);
    const std::string section = packed.substr(2, packed_len - 2);
    ASSERT_LT(section.size(), std::size_t(100) << 10);
    std::string data = section;
    EXPECT_TRUE(InflateSection(data));
    EXPECT_EQ(data, zeros);
    data = section;
    EXPECT_FALSE(InflateSection(data, nullptr, zeros.size() - 1));
    EXPECT_GE(body_ceiling(), std::size_t(256) << 20);
}

// Damaged sections read alike with either inflater, whatever the damage: each fails with both
// or both read the same bytes. Among them the sections that once left ISA-L's input count
// running below zero after an invalid distance (inputs found by fuzzing). Each is read in steps
// of a different size.
TEST(Inflaters, DamagedSectionsFailAlikeWithEitherInflater) {
    const Inflater before = current_inflater();
    std::vector<std::string> sections;
    const auto from_base64 = [](const char* text) {
        return QByteArray::fromBase64(QByteArray(text)).toStdString();
    };
    // The compressed sections of two fuzz inputs: m.dat after its marker byte and version, and
    // a section after the codec target's field byte and length.
    sections.push_back(
        from_base64("AAIAAABj0EykDBQNrAyMGBlAurOgul3RlBhYWplaQC0EoUiZ////AAAAAAEAvI4mjQ==")
            .substr(5));
    sections.push_back(from_base64("B10AAABjZmBgSAFiRiB+wczAIGBkYGSia2AMRAoGBlaGxgyM/4EgHSjNBMRCLGh"
                                   "KzKyMzSFKFFCkTBQMDawMjBgZQLqzoLpd0ZQYWFr//5laQJQEoUiZKhhYWBmZ"
                                   "QqQAvI4mjQ==")
                           .substr(5, 93));
    std::string text;
    for (int i = 0; i < 30000; ++i) text += char('a' + (i * 7919 + i / 100) % 23);
    std::string good = text;
    DeflateSection(good);
    std::uint32_t seed = 12345;
    const auto next = [&seed] { return seed = seed * 1103515245u + 12345u, seed >> 8; };
    for (int k = 0; k < 3000; ++k) {
        std::string bad = good;
        for (int flips = 1 + int(next() % 3); flips > 0; --flips)
            bad[next() % bad.size()] ^= char(1 << next() % 8);
        if (k % 3 == 0) bad.resize(1 + next() % bad.size());
        sections.push_back(bad);
    }
    for (std::size_t i = 0; i < sections.size(); ++i) {
        std::string read[2];
        bool ok[2];
        for (const Inflater inflater : {Inflater::zlib, Inflater::isal}) {
            set_inflater(inflater);
            const int n = inflater == Inflater::zlib ? 0 : 1;
            InflateStream stream(sections[i], nullptr, std::size_t(1) << 20, false,
                                 InflateStream::Ahead::never);
            char piece[4096];
            const std::size_t step = 1 + i % sizeof piece;
            for (std::size_t got = step; got == step;) {
                got = stream.read(piece, step);
                read[n].append(piece, got);
            }
            ok[n] = stream.finish();
            if (!ok[n]) read[n].clear();
        }
        EXPECT_EQ(ok[0], ok[1]) << "section " << i;
        EXPECT_EQ(read[0], read[1]) << "section " << i;
        if (i < 2) {
            EXPECT_FALSE(ok[1]) << "section " << i;
        }
    }
    set_inflater(before);
}

std::string inflater_name(const ::testing::TestParamInfo<Inflater>& info) {
    return info.param == Inflater::zlib ? "zlib" : "isal";
}

INSTANTIATE_TEST_SUITE_P(Inflaters, Section, ::testing::Values(Inflater::zlib, Inflater::isal),
                         inflater_name);

// A large body read field by field while the inflater runs ahead on its own thread: the
// fields straddle its blocks, large ones are read past several blocks, and progress arrives on
// the reading thread only.
namespace ahead {

struct Record {
    std::int32_t id;
    std::string short_text;
    std::string long_text;
};

std::vector<Record> records() {
    std::vector<Record> out;
    for (int i = 0; i < 3000; ++i) {
        std::string s(std::size_t(i * 37 % 256), char('a' + i % 26));
        // Mostly small long texts, now and then one larger than a block of the inflater.
        const std::size_t long_size = i % 500 == 7 ? std::size_t(600000 + i) : std::size_t(i % 900);
        std::string l(long_size, '\0');
        for (std::size_t k = 0; k < l.size(); ++k) l[k] = char((k * 131 + std::size_t(i)) % 251);
        out.push_back({i * 7919, std::move(s), std::move(l)});
    }
    return out;
}

std::string section_of(const std::vector<Record>& list) {
    std::string body;
    FieldWriter w(body);
    for (const auto& r : list) {
        w.Int32(r.id);
        w.ShortText(r.short_text);
        w.LongText(r.long_text);
    }
    DeflateSection(body);
    return body;
}

// The records read until the data ends or fails; whether the whole section then checks out.
struct ReadResult {
    std::vector<Record> read;
    bool whole = false;
};

ReadResult read_all(const std::string& section, InflateStream::Ahead ahead,
                    Progress* progress = nullptr) {
    ReadResult result;
    InflateStream stream(section, progress, 0, false, ahead);
    EXPECT_EQ(stream.runs_ahead(), ahead == InflateStream::Ahead::always);
    FieldReader r(stream);
    try {
        while (!r.at_end()) {
            Record rec;
            rec.id = r.Int32();
            rec.short_text = r.ShortText();
            rec.long_text = r.LongText();
            result.read.push_back(std::move(rec));
        }
        result.whole = stream.finish();
    } catch (const field_error&) {
        result.whole = false;
    }
    return result;
}

class ThreadRecorder final : public Progress {
public:
    void job_progress(int percent) override {
        percents.push_back(percent);
        if (std::this_thread::get_id() != reader) other_thread = true;
    }
    std::thread::id reader = std::this_thread::get_id();
    std::vector<int> percents;
    bool other_thread = false;
};

}  // namespace ahead

TEST_P(Section, ARunningAheadInflaterReadsWhatTheReaderReadsDirectly) {
    const auto list = ahead::records();
    const std::string section = ahead::section_of(list);
    ahead::ThreadRecorder progress;
    const auto result = ahead::read_all(section, InflateStream::Ahead::always, &progress);
    EXPECT_TRUE(result.whole);
    ASSERT_EQ(result.read.size(), list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        ASSERT_EQ(result.read[i].id, list[i].id) << i;
        ASSERT_EQ(result.read[i].short_text, list[i].short_text) << i;
        ASSERT_EQ(result.read[i].long_text, list[i].long_text) << i;
    }
    EXPECT_FALSE(progress.other_thread);
    ASSERT_FALSE(progress.percents.empty());
    EXPECT_EQ(progress.percents.back(), 100);
    EXPECT_TRUE(std::is_sorted(progress.percents.begin(), progress.percents.end()));
}

// Damage found by the inflating thread reaches the reader: a cut anywhere, bytes after the end,
// a wrong checksum or broken data never read as a whole section, running ahead or not.
TEST_P(Section, DamageFoundAheadReachesTheReader) {
    const std::string good = ahead::section_of(ahead::records());
    std::vector<std::pair<std::string, std::string>> damaged;
    for (std::size_t cut = 1; cut < good.size(); cut += good.size() / 23)
        damaged.emplace_back("cut at " + std::to_string(cut), good.substr(0, cut));
    damaged.emplace_back("cut before the last byte", good.substr(0, good.size() - 1));
    damaged.emplace_back("a byte after the end", good + '\0');
    std::string bad_sum = good;
    bad_sum.back() ^= 0x55;
    damaged.emplace_back("wrong checksum", bad_sum);
    std::string bad_data = good;
    for (std::size_t i = good.size() / 2; i < good.size() / 2 + 64; ++i) bad_data[i] ^= 0x5A;
    damaged.emplace_back("broken data in the middle", bad_data);
    for (const auto& [what, section] : damaged)
        for (auto mode : {InflateStream::Ahead::always, InflateStream::Ahead::never})
            EXPECT_FALSE(ahead::read_all(section, mode).whole)
                << what << (mode == InflateStream::Ahead::always ? " (ahead)" : "");
}

// A reader that stops early (a damaged record, the end of the program) ends the inflating
// thread with it.
TEST_P(Section, AReaderThatStopsEarlyEndsTheInflaterRunningAhead) {
    const std::string section = ahead::section_of(ahead::records());
    for (std::size_t bytes : {std::size_t(0), std::size_t(10), std::size_t(3) << 20}) {
        InflateStream stream(section, nullptr, 0, false, InflateStream::Ahead::always);
        std::string part(bytes, '\0');
        EXPECT_EQ(stream.read(part.data(), part.size()), bytes);
    }
}

TEST(FieldCodec, ZSectionReadsAnInflatedSection) {
    std::string bytes;
    FieldWriter w(bytes);
    w.ZSection("inside");
    w.Byte(7);
    FieldReader r(bytes);
    EXPECT_EQ(r.ZSection(), "inside");
    EXPECT_EQ(r.Byte(), 7);

    std::string broken = i32(3) + "\xFF\xFF\xFF";  // an invalid block type
    FieldReader rb(broken);
    EXPECT_THROW(rb.ZSection(), field_error);
}

TEST(FieldCodec, GifBlobIsDecodedIntoABitmap) {
    // A 1x1 GIF whose only pixel is red.
    const std::string gif(
        "GIF89a\x01\x00\x01\x00\x80\x00\x00\xFF\x00\x00\x00\x00\x00"
        ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
        35);
    std::string bytes;
    FieldWriter w(bytes);
    w.GifBlob(gif);
    w.GifBlob("");
    w.GifBlob("not a picture");
    FieldReader r(bytes);
    const std::string bmp = r.GifBlob();
    ASSERT_EQ(bmp.substr(0, 2), "BM");
    const QImage image =
        QImage::fromData(reinterpret_cast<const uchar*>(bmp.data()), int(bmp.size()), "BMP");
    ASSERT_EQ(image.size(), QSize(1, 1));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(r.GifBlob(), "");
    EXPECT_EQ(r.GifBlob(), "");  // unreadable pictures count as none
    EXPECT_TRUE(r.at_end());

    // The same picture declaring 60000 x 60000 pixels is no picture, refused before decoding.
    std::string huge = gif;
    huge.replace(6, 4, std::string("\x60\xEA\x60\xEA", 4));
    huge.replace(24, 4, std::string("\x60\xEA\x60\xEA", 4));
    EXPECT_EQ(picture_to_bmp(huge), "");
}

// A GIF of `w` x `h` pixels made with giflib's encoder: pixel (x, y) has palette index
// (x * 7 + y * 3) % colours; optionally interlaced, with a local palette instead of the
// global one, with a transparent index, or with the picture smaller than the screen.
struct GifShape {
    int w = 37, h = 23, colours = 256;
    bool interlaced = false, local = false, transparent = false, offset = false;
};

int append_gif(GifFileType* gif, const GifByteType* data, int size) {
    static_cast<std::string*>(gif->UserData)
        ->append(reinterpret_cast<const char*>(data), std::size_t(size));
    return size;
}

std::string make_gif(const GifShape& g) {
    std::vector<GifColorType> colours(std::size_t(g.colours));
    for (int i = 0; i < g.colours; ++i)
        colours[std::size_t(i)] = {GifByteType(i * 37), GifByteType(255 - i), GifByteType(i * 11)};
    ColorMapObject* map = GifMakeMapObject(g.colours, colours.data());
    std::string out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, append_gif, &error);
    const int sw = g.offset ? g.w + 5 : g.w, sh = g.offset ? g.h + 3 : g.h;
    EGifPutScreenDesc(gif, sw, sh, 8, 0, g.local ? nullptr : map);
    if (g.transparent) {
        GraphicsControlBlock gcb{};
        gcb.TransparentColor = 1;
        GifByteType ext[4];
        EGifGCBToExtension(&gcb, ext);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext);
    }
    EGifPutImageDesc(gif, g.offset ? 2 : 0, g.offset ? 1 : 0, g.w, g.h, g.interlaced,
                     g.local ? map : nullptr);
    std::vector<GifPixelType> line(static_cast<std::size_t>(g.w));
    std::vector<int> rows;
    if (g.interlaced) {
        for (int start : {0, 4, 2, 1})
            for (int y = start; y < g.h; y += start == 0 || start == 4 ? 8 : start == 2 ? 4 : 2)
                rows.push_back(y);
    } else {
        for (int y = 0; y < g.h; ++y) rows.push_back(y);
    }
    for (int y : rows) {
        for (int x = 0; x < g.w; ++x)
            line[std::size_t(x)] = GifPixelType((x * 7 + y * 3) % g.colours);
        EGifPutLine(gif, line.data(), g.w);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

// What Qt's own GIF reader makes of the picture, as a BMP file image.
std::string qt_bitmap(const std::string& gif) {
    QImage image = QImage::fromData(reinterpret_cast<const uchar*>(gif.data()), int(gif.size()));
    if (image.isNull()) return {};
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return std::string(bmp.constData(), std::size_t(bmp.size()));
}

TEST(FieldCodec, GifsDecodeToTheBitmapsQtsReaderMakes) {
    const GifShape shapes[] = {
        {},
        {.w = 1, .h = 1, .colours = 2},
        {.w = 64, .h = 17, .colours = 4},
        {.interlaced = true},
        {.w = 5, .h = 11, .colours = 16, .interlaced = true},
        {.local = true},
        {.transparent = true},
        {.offset = true},
    };
    for (const GifShape& g : shapes) {
        const std::string gif = make_gif(g);
        const std::string ours = picture_to_bmp(gif);
        ASSERT_EQ(ours.substr(0, 2), "BM") << g.w << "x" << g.h;
        EXPECT_TRUE(ours == qt_bitmap(gif))
            << g.w << "x" << g.h << " colours " << g.colours << " interlaced " << g.interlaced
            << " local " << g.local << " transparent " << g.transparent << " offset " << g.offset;
    }
    // Cut anywhere, a GIF is either no picture or the picture Qt's reader makes of it.
    const std::string gif = make_gif({.w = 9, .h = 7, .colours = 8});
    for (std::size_t cut = 0; cut < gif.size(); ++cut) {
        const std::string part = gif.substr(0, cut);
        const std::string ours = picture_to_bmp(part);
        if (!ours.empty()) {
            EXPECT_EQ(ours, qt_bitmap(part)) << cut;
        }
    }
}

}  // namespace
}  // namespace zt
