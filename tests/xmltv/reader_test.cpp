// The XMLTV reader over small documents: time conversion, ordering, encodings, compression and
// damaged input.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimeZone>

#include "core/cp1251.h"
#include "xmltv_test_support.h"

namespace zt::test {
namespace {

QByteArray prog(const char* channel, const char* start, const char* stop, const char* title) {
    QByteArray s = QByteArray("<programme channel=\"") + channel + "\" start=\"" + start + "\"";
    if (stop) s += QByteArray(" stop=\"") + stop + "\"";
    return s + "><title>" + title + "</title></programme>\n";
}

// (title, local start, local finish) of every programme delivered.
std::vector<std::string> timeline(const CollectingSink& sink) {
    std::vector<std::string> out;
    for (const auto& p : sink.programmes)
        out.push_back(to_utf8(p.title) + " " + text_of(p.start) + " - " + text_of(p.finish));
    return out;
}

struct TimeCase {
    const char* name;
    const char* zone;
    QByteArray body;
    std::vector<std::string> expected;
};

TEST(XmltvReader, TimesOrderAndFinishes) {
    const TimeCase cases[] = {
        {"own offsets into the target zone",
         "Europe/Moscow",
         prog("a", "20260110100000 +0300", "20260110110000 +0300", "A") +
             prog("a", "20260110090000 -0500", "20260110100000 -0500", "B") +
             prog("a", "20260110200000", "20260110210000 Z", "C") +
             prog("a", "202601102200 +03:00", "20260110230000 +0300", "D"),
         {"A 2026-01-10 10:00 - 2026-01-10 11:00", "B 2026-01-10 17:00 - 2026-01-10 18:00",
          "C 2026-01-10 23:00 - 2026-01-11 00:00", "D 2026-01-10 22:00 - 2026-01-10 23:00"}},
        {"summer time begins and ends",
         "Europe/Berlin",
         prog("a", "20260329003000 +0000", "20260329013000 +0000", "Spring") +
             prog("a", "20261025003000 +0000", "20261025013000 +0000", "Autumn") +
             prog("a", "20261025013000 +0000", "20261025020000 +0000", "After"),
         {"Spring 2026-03-29 01:30 - 2026-03-29 03:30",
          "Autumn 2026-10-25 02:30 - 2026-10-25 03:30",
          "After 2026-10-25 02:30 - 2026-10-25 03:00"}},
        {"a missing stop ends at the next start; the last one without stop is left out",
         "Europe/Moscow",
         prog("a", "20260110100000 +0300", nullptr, "A") +
             prog("a", "20260110103000 +0300", "20260110110000 +0300", "B") +
             prog("a", "20260110120000 +0300", nullptr, "Open"),
         {"A 2026-01-10 10:00 - 2026-01-10 10:30", "B 2026-01-10 10:30 - 2026-01-10 11:00"}},
        {"a length stands for a missing stop",
         "Europe/Moscow",
         "<programme channel=\"a\" start=\"20260110100000 +0300\"><title>L</title>"
         "<length units=\"minutes\">25</length></programme>\n"
         "<programme channel=\"a\" start=\"20260110110000 +0300\"><title>H</title>"
         "<length units=\"hours\">2</length></programme>\n",
         {"L 2026-01-10 10:00 - 2026-01-10 10:25", "H 2026-01-10 11:00 - 2026-01-10 13:00"}},
        {"overlaps: the later start wins, the same start is replaced",
         "Europe/Moscow",
         prog("a", "20260110100000 +0300", "20260110120000 +0300", "Long") +
             prog("a", "20260110110000 +0300", "20260110113000 +0300", "Old") +
             prog("a", "20260110110000 +0300", "20260110114500 +0300", "New") +
             prog("a", "20260110114500 +0300", "20260110130000 +0300", "Last"),
         {"Long 2026-01-10 10:00 - 2026-01-10 11:00", "New 2026-01-10 11:00 - 2026-01-10 11:45",
          "Last 2026-01-10 11:45 - 2026-01-10 13:00"}},
        {"interleaved channels and local disorder come out sorted per channel",
         "Europe/Moscow",
         prog("b", "20260110110000 +0300", "20260110120000 +0300", "b2") +
             prog("a", "20260110110000 +0300", nullptr, "a2") +
             prog("b", "20260110100000 +0300", nullptr, "b1") +
             prog("a", "20260110100000 +0300", nullptr, "a1") +
             prog("a", "20260110120000 +0300", "20260110130000 +0300", "a3"),
         {"b1 2026-01-10 10:00 - 2026-01-10 11:00", "b2 2026-01-10 11:00 - 2026-01-10 12:00",
          "a1 2026-01-10 10:00 - 2026-01-10 11:00", "a2 2026-01-10 11:00 - 2026-01-10 12:00",
          "a3 2026-01-10 12:00 - 2026-01-10 13:00"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CollectingSink sink;
        const auto r = read_xmltv(xmltv_doc(c.body), sink, c.zone);
        EXPECT_TRUE(r.ok) << r.message.toStdString();
        // Channels are independent: compare each channel's sequence.
        auto got = timeline(sink);
        auto want = c.expected;
        std::stable_sort(got.begin(), got.end(), [](auto& x, auto& y) { return x[0] < y[0]; });
        std::stable_sort(want.begin(), want.end(), [](auto& x, auto& y) { return x[0] < y[0]; });
        EXPECT_EQ(got, want);
    }
}

TEST(XmltvReader, ProgrammeStartingBeforeOneDeliveredIsSkippedAndCounted) {
    QByteArray body;
    for (int h = 0; h < 20; ++h)
        body += prog("a", QByteArray::number(2026011000 + h).append("0000 +0300"), nullptr, "x");
    body += prog("a", "20260110013000 +0300", "20260110014000 +0300", "late");
    CollectingSink sink;
    const auto r = read_xmltv(xmltv_doc(body), sink);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.late_programmes, 1);
    EXPECT_EQ(r.open_ended, 1);
    EXPECT_EQ(sink.programmes.size(), 19u);
    for (std::size_t i = 1; i < sink.programmes.size(); ++i)
        EXPECT_EQ(sink.programmes[i].start, sink.programmes[i - 1].finish);
}

TEST(XmltvReader, FieldsOfChannelsAndProgrammes) {
    const QByteArray body =
        "<channel id=\"c1\"><display-name lang=\"en\">One</display-name>"
        "<display-name lang=\"ru\">Первый</display-name><icon src=\"file:///srv/logo%201.png\"/>"
        "</channel>\n<channel id=\"c2\"><display-name>Two</display-name>"
        "<icon src=\"https://example.invalid/x.png\"/></channel>\n"
        "<programme channel=\"c1\" start=\"20260110100000 +0300\" stop=\"20260110110000 +0300\">"
        "<title>Сериал</title><desc>“Кавычки” — и … ✓</desc><category>Сериал</category>"
        "<category>Comedy</category><rating><value>16+</value></rating>"
        "<star-rating><value>3.5 / 5</value></star-rating></programme>\n"
        "<programme channel=\"c1\" start=\"20260110110000 +0300\" stop=\"20260110120000 +0300\">"
        "<title>X</title><category>Нечто</category></programme>\n";
    CollectingSink sink;
    const auto r = read_xmltv(xmltv_doc(body), sink);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    ASSERT_EQ(sink.channels.size(), 2u);
    EXPECT_EQ(sink.channels[0].name, "Первый"_cp);
    EXPECT_EQ(sink.channels[0].icon_path, "/srv/logo 1.png");
    EXPECT_EQ(sink.channels[1].icon_path, "");
    ASSERT_EQ(sink.programmes.size(), 2u);
    const auto& p = sink.programmes[0];
    EXPECT_EQ(p.descr, "\x93" + "Кавычки"_cp + "\x94 \x97 " + "и"_cp + " \x85 ?");
    EXPECT_EQ(r.replaced_chars, 1);
    EXPECT_EQ(std::pair(p.type_family, p.type_sub), std::pair(3, 3));
    EXPECT_EQ(p.rating, 70);
    EXPECT_EQ(std::pair(sink.programmes[1].type_family, sink.programmes[1].type_sub),
              std::pair(-1, -1));
    EXPECT_EQ(sink.programmes[1].rating, -1);
}

TEST(XmltvReader, SingleByteEncodingsAndGzip) {
    const QByteArray latin = xmltv_doc(
        "<programme channel=\"a\" start=\"20260110100000\" stop=\"20260110110000\">"
        "<title>Caf\xe9 \xabParis\xbb</title></programme>\n",
        "ISO-8859-1");
    const QByteArray cyr = xmltv_doc(
        "<programme channel=\"a\" start=\"20260110100000\" stop=\"20260110110000\">"
        "<title>" +
            QByteArray::fromStdString("Ёлка «Новая»"_cp) + "</title></programme>\n",
        "windows-1251");
    struct {
        const char* name;
        QByteArray data;
        std::string title;
        std::int64_t transliterated;
    } cases[] = {
        {"ISO-8859-1", latin, "Cafe \xabParis\xbb", 1},
        {"windows-1251", cyr, "Ёлка «Новая»"_cp, 0},
        {"windows-1251 gzip", gzip(cyr), "Ёлка «Новая»"_cp, 0},
        {"two gzip members", gzip(cyr.left(100)) + gzip(cyr.mid(100)), "Ёлка «Новая»"_cp, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CollectingSink sink;
        const auto r = read_xmltv(c.data, sink);
        ASSERT_TRUE(r.ok) << r.message.toStdString();
        ASSERT_EQ(sink.programmes.size(), 1u);
        EXPECT_EQ(sink.programmes[0].title, c.title);
        EXPECT_EQ(r.transliterated_chars, c.transliterated);
        EXPECT_EQ(r.replaced_chars, 0);
    }
}

// UTF-16 with the byte order mark, little-endian.
QByteArray utf16(const QByteArray& utf8) {
    const QString text = QString::fromUtf8(utf8);
    QByteArray out("\xff\xfe");
    for (const QChar c : text) out.append(char(c.unicode() & 0xff)).append(char(c.unicode() >> 8));
    return out;
}

// Code pages the parser lacks go by a table of their bytes; encodings of several bytes a
// character are decoded before the parser; a byte the declared encoding lacks stops the read.
TEST(XmltvReader, EncodingsByTableAndDecoded) {
    const QByteArray body =
        "<programme channel=\"a\" start=\"20260110100000\" "
        "stop=\"20260110110000\"><title>%</title></programme>\n";
    auto doc = [&](const QByteArray& title, const char* encoding) {
        QByteArray b = body;
        return xmltv_doc(b.replace("%", title), encoding);
    };
    struct {
        const char* name;
        QByteArray data;
        std::string title;  // empty: the read fails
        std::int64_t line;
    } cases[] = {
        {"KOI8-R", doc("\xf0\xd2\xc9\xd7\xc5\xd4 \xe5\xd6", "KOI8-R"), "Привет Еж"_cp, 0},
        {"ISO-8859-5", doc("\xbf\xe0\xd8\xd2\xd5\xe2", "ISO-8859-5"), "Привет"_cp, 0},
        {"windows-1252", doc("Caf\xe9 \x80 5", "windows-1252"), "Cafe \x88 5", 0},
        {"Shift_JIS", doc("\x83\x65\x83\x8c\x83\x72", "Shift_JIS"), "terebi", 0},
        {"UTF-16", utf16(doc("Привет", "UTF-16")), "Привет"_cp, 0},
        {"a byte ISO-8859-3 lacks", doc("ok\n\xa5", "ISO-8859-3"), "", 4},
        {"a byte Shift_JIS lacks", doc("\x83\x65\n\xff\xfe", "Shift_JIS"), "", 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CollectingSink sink;
        const auto r = read_xmltv(c.data, sink);
        if (c.title.empty()) {
            EXPECT_FALSE(r.ok);
            EXPECT_EQ(r.line, c.line);
            EXPECT_TRUE(r.message.contains(QStringLiteral("не соответствует кодировке")))
                << r.message.toStdString();
            continue;
        }
        ASSERT_TRUE(r.ok) << r.message.toStdString();
        ASSERT_EQ(sink.programmes.size(), 1u);
        EXPECT_EQ(sink.programmes[0].title, c.title);
    }
}

// Entities: HTML's names stand for their characters with or without a DOCTYPE, in text and in
// attributes, and are counted; a document's own declaration comes first; an unknown name is a
// space under a DOCTYPE and an error without one; an external entity is never read.
TEST(XmltvReader, EntitiesDeclaredUndeclaredAndExternal) {
    const QByteArray prog_tail = "start=\"20260110100000\" stop=\"20260110110000\"><title>";
    struct {
        const char* name;
        QByteArray doc;
        std::string title;  // empty: the read fails
        std::string channel;
        std::int64_t entities;
    } cases[] = {
        {"HTML names without a DOCTYPE",
         "<tv><programme channel=\"ch&eacute;\" " + prog_tail +
             "Caf&eacute;&nbsp;&laquo;X&raquo;&amp;</title></programme></tv>",
         "Cafe «X»&"_cp, "ch\xc3\xa9", 5},
        {"the document's own declaration wins",
         "<!DOCTYPE tv [<!ENTITY nbsp \"NB\"><!ENTITY my \"mine\">]><tv><programme "
         "channel=\"a\" " +
             prog_tail + "&nbsp;&my;&mdash;</title></programme></tv>",
         "NBmine\x97", "a", 1},
        {"an unknown name under a DOCTYPE",
         "<!DOCTYPE tv SYSTEM \"xmltv.dtd\"><tv><programme channel=\"a\" " + prog_tail +
             "one&unknown;two</title></programme></tv>",
         "one two", "a", 1},
        {"an external entity is not read",
         "<!DOCTYPE tv [<!ENTITY ext SYSTEM \"/etc/passwd\">]><tv><programme channel=\"a\" " +
             prog_tail + "x&ext;y</title></programme></tv>",
         "xy", "a", 0},
        {"an unknown name without a DOCTYPE",
         "<tv>\n<programme channel=\"a\" " + prog_tail + "one&unknown;</title></programme></tv>",
         "", "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CollectingSink sink;
        const auto r = read_xmltv(c.doc, sink, "UTC");
        if (c.title.empty()) {
            EXPECT_FALSE(r.ok);
            EXPECT_EQ(r.message.toStdString(),
                      "Строка 2: нарушена разметка XML (сущность «unknown» не объявлена).");
            EXPECT_TRUE(sink.programmes.empty());
            continue;
        }
        ASSERT_TRUE(r.ok) << r.message.toStdString();
        ASSERT_EQ(sink.programmes.size(), 1u);
        EXPECT_EQ(sink.programmes[0].title, c.title);
        EXPECT_EQ(sink.programmes[0].channel_id.toStdString(), c.channel);
        EXPECT_EQ(r.entities, c.entities);
    }
}

TEST(XmltvReader, DamagedInputStopsWithLineAndKeepsEarlierRecords) {
    const QByteArray good = prog("a", "20260110100000 +0300", "20260110110000 +0300", "ok") +
                            prog("b", "20260110100000 +0300", "20260110110000 +0300", "ok");
    const QByteArray doc = xmltv_doc(good + prog("a", "20260110110000 +0300", nullptr, "t") +
                                     prog("a", "20260110120000 +0300", nullptr, "t"));
    // cut_zip: the second gzip member ends after its header; corrupt: an invalid block type.
    const qsizetype first_t = doc.indexOf("<programme channel=\"a\" start=\"20260110110000");
    const QByteArray cut_zip = gzip(doc.left(first_t)) + gzip(doc.mid(first_t)).left(12);
    QByteArray corrupt = gzip(doc);
    corrupt[10] = char(corrupt[10] | 0x06);
    struct {
        const char* name;
        QByteArray data;
        std::int64_t line;
        const char* words;
    } cases[] = {
        {"cut inside a programme", doc.left(doc.indexOf("<title>t</title>") + 5), 5, "оборван"},
        {"cut gzip", cut_zip, 0, "сжатый файл оборван"},
        {"corrupt gzip", corrupt, 0, "повреждены"},
        {"not UTF-8 as declared",
         xmltv_doc(good + "\n<programme channel=\"a\" start=\"20260110120000\"><title>\xc0\xe1"), 6,
         "UTF-8"},
        {"UTF-8 declared as windows-1251",
         xmltv_doc(good + prog("a", "20260110120000", nullptr, "Передача с русским названием"),
                   "windows-1251"),
         5, "UTF-8"},
        {"endless text", xmltv_doc(good + "<x>" + QByteArray(5 << 20, 'a') + "</x>"), 5,
         "без разметки"},
        {"endless comment", xmltv_doc(good + "<!-- " + QByteArray("<x> ").repeated(1 << 21)), 5,
         "длиннее 4 МБ"},
        {"endless nesting", xmltv_doc(good + "<x>" + QByteArray("<y>").repeated(100)), 5,
         "вложены"},
        {"unsupported encoding", xmltv_doc(good, "x-unknown"), 1, "не поддерживается"},
        {"not XMLTV", "<?xml version=\"1.0\"?>\n<html></html>", 2, "tv"},
        {"empty", "", 1, "оборван"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CollectingSink sink;
        const auto r = read_xmltv(c.data, sink);
        EXPECT_FALSE(r.ok);
        if (c.line > 0) {
            EXPECT_EQ(r.line, c.line);
        }
        EXPECT_TRUE(r.message.startsWith(QStringLiteral("Строка %1: ").arg(r.line)))
            << r.message.toStdString();
        EXPECT_TRUE(r.message.contains(QString::fromUtf8(c.words))) << r.message.toStdString();
        // Nothing after the fault; the two complete programmes with a stop before it arrive.
        for (const auto& p : sink.programmes) EXPECT_EQ(p.title, "ok");
    }
}

TEST(XmltvReader, SampleFile) {
    QFile file(ZT_SOURCE_DIR "/tests/xmltv/sample.xml");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray data = file.readAll();
    for (const QByteArray& bytes : {data, gzip(data)}) {
        CollectingSink sink;
        const auto r = read_xmltv(bytes, sink);
        ASSERT_TRUE(r.ok) << r.message.toStdString();
        EXPECT_EQ(r.channels, 3);
        EXPECT_EQ(r.programmes, 14);
        EXPECT_EQ(sink.channels[0].icon_path, "/base/logos/pervy.png");
        EXPECT_EQ(sink.channels[2].name, "Кино Европа"_cp);
        std::vector<std::string> pervy;
        for (const auto& p : sink.programmes)
            if (p.channel_id == "pervy.zt" && to_utf8(p.title) == "Новости")
                pervy.push_back(text_of(p.start) + " - " + text_of(p.finish));
        EXPECT_EQ(pervy, (std::vector<std::string>{"2026-03-28 09:00 - 2026-03-28 09:15",
                                                   "2026-03-29 09:00 - 2026-03-29 09:10"}));
        // 01:30 +0100 to 04:00 +0200 is 03:30 to 05:00 in Moscow.
        const auto night = std::find_if(sink.programmes.begin(), sink.programmes.end(),
                                        [](auto& p) { return to_utf8(p.title) == "Ночной эфир"; });
        ASSERT_NE(night, sink.programmes.end());
        EXPECT_EQ(text_of(night->start) + " - " + text_of(night->finish),
                  "2026-03-29 03:30 - 2026-03-29 05:00");
    }
}

}  // namespace
}  // namespace zt::test

namespace zt::test {
namespace {

class XmltvFiles : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(XmltvFiles, CompressionIsFoundByItsBytesNotTheName) {
    QFile sample(ZT_SOURCE_DIR "/tests/xmltv/sample.xml");
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    const QByteArray data = sample.readAll();
    for (const QString& path : {write("plain.xml.gz", data), write("packed.xml", gzip(data))}) {
        CollectingSink sink;
        std::vector<std::int64_t> done;
        xmltv::ReadOptions options;
        options.progress = [&](std::int64_t d, std::int64_t total) {
            EXPECT_EQ(total, QFileInfo(path).size());
            done.push_back(d);
        };
        const auto r = xmltv::read_file(path, options, sink);
        EXPECT_TRUE(r.ok) << r.message.toStdString();
        EXPECT_EQ(r.programmes, 14);
        EXPECT_EQ(sink.channels[0].icon_path, dir.filePath("logos/pervy.png"));
        ASSERT_FALSE(done.empty());
        EXPECT_EQ(done.back(), QFileInfo(path).size());
    }
}

TEST_F(XmltvFiles, MissingFileCancelAndOwnGenreTable) {
    CollectingSink sink;
    xmltv::ReadOptions bad_zone;
    bad_zone.zone = QTimeZone("Nowhere/Atlantis");
    EXPECT_EQ(xmltv::read_file(dir.filePath("none.xml"), bad_zone, sink).message,
              QStringLiteral("Неизвестный часовой пояс."));
    auto r = xmltv::read_file(dir.filePath("none.xml"), {}, sink);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.startsWith(QStringLiteral("Не удалось открыть файл")))
        << r.message.toStdString();

    QByteArray body;
    for (int i = 0; i < 30; ++i)
        body += prog("a", QByteArray::number(20260110100000ll + i * 100).append(" +0300"), nullptr,
                     "x");
    const QString path = write("many.xml", xmltv_doc(body));
    xmltv::ReadOptions options;
    int asked = 0;
    options.cancelled = [&] { return ++asked > 3; };
    r = xmltv::read_file(path, options, sink);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, QStringLiteral("Чтение файла прервано."));
    EXPECT_LT(sink.programmes.size(), 3u);

    options = {};
    options.genre_map_path = write("genres.tsv", "x\t5\t15\n");
    const QString one =
        write("one.xml", xmltv_doc("<programme channel=\"a\" start=\"20260110100000\" "
                                   "stop=\"20260110110000\"><title>t</title><category>X</category>"
                                   "<category>Новости</category></programme>\n"));
    CollectingSink own;
    r = xmltv::read_file(one, options, own);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    ASSERT_EQ(own.programmes.size(), 1u);
    EXPECT_EQ(std::pair(own.programmes[0].type_family, own.programmes[0].type_sub),
              std::pair(5, 15));
    options.genre_map_path = write("bad.tsv", "x\t9\t1\n");
    r = xmltv::read_file(one, options, own);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains(QStringLiteral("строка 1"))) << r.message.toStdString();
}

}  // namespace
}  // namespace zt::test
