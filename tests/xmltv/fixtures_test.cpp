// Real-shaped files of grabbers in several languages, each with the mistakes such files carry:
// what the reader delivers of them and what it counts.
#include <gtest/gtest.h>

#include <QFile>
#include <QTimeZone>

#include <algorithm>
#include <cstdio>
#include <ostream>

#include "core/cp1251.h"
#include "xmltv_test_support.h"

namespace zt::test {
namespace {

// "start-finish title | description | family.sub" of every programme delivered, in UTC.
std::vector<std::string> rows(const CollectingSink& sink) {
    std::vector<std::string> out;
    for (const auto& p : sink.programmes)
        out.push_back(text_of(p.start).substr(11) + "-" + text_of(p.finish).substr(11) + " " +
                      to_utf8(p.title) + " | " + to_utf8(p.descr) + " | " +
                      std::to_string(p.type_family) + "." + std::to_string(p.type_sub));
    return out;
}

struct Counts {
    std::int64_t transliterated = 0, replaced = 0, entities = 0, skipped = 0, unknown_zones = 0,
                 bad_fields = 0, zero_length = 0, stop_before_start = 0, duplicates = 0,
                 open_ended = 0;
    bool operator==(const Counts&) const = default;
};

std::ostream& operator<<(std::ostream& o, const Counts& c) {
    return o << "transliterated " << c.transliterated << " replaced " << c.replaced << " entities "
             << c.entities << " skipped " << c.skipped << " unknown_zones " << c.unknown_zones
             << " bad_fields " << c.bad_fields << " zero_length " << c.zero_length
             << " stop_before_start " << c.stop_before_start << " duplicates " << c.duplicates
             << " open_ended " << c.open_ended;
}

struct FixtureCase {
    const char* file;
    std::vector<std::string> programmes;
    Counts counts;
    std::vector<std::string> problems;  // what the named problems contain, in order
    std::string channel;                // the name the channel keeps
};

TEST(XmltvFixtures, GrabbersFilesInSeveralLanguages) {
    const FixtureCase cases[] = {
        // German: a decomposed "ü", "ß", an undeclared &nbsp; under a DOCTYPE, sub-title and
        // xmltv_ns
        // episode, stop="null", and the categories Sport, Action, Laufen.
        {"de.xml",
         {"19:15-20:45 Tatort | S2 E10. Die Strasse der Angst. Kommissar Kruger ermittelt. | 3.2",
          "20:45-21:00 Tagesthemen | Heute mit Wetter | 1.1", "21:00-22:00 Marathon |  | 5.0"},
         {.transliterated = 2, .entities = 1, .bad_fields = 1},
         {"строка 12: время stop=«null»"},
         "Das Erste"},
        // Turkish: dotless i and cedillas, an onscreen episode, a start in the zone "TRT" and a
        // length
        // in Turkish units.
        {"tr.xml",
         {"17:00-18:00 Isikli Yol | 12. Bolum | 3.0", "18:00-18:30 Haberler |  | -1.-1",
          "18:30-19:30 Belgesel: Doga |  | 7.2"},
         {.transliterated = 6, .bad_fields = 1},
         {"строка 10: длительность «30 dakika»"},
         "TRT 1"},
        // Greek: titles transliterated, zone names EET, an unknown zone in a start (skipped) and in
        // a
        // stop (read without it).
        {"el.xml",
         {"18:00-19:00 Eideseis |  | -1.-1", "20:00-21:00 Athletika |  | -1.-1",
          "21:00-22:00 Mousike |  | -1.-1"},
         {.transliterated = 26, .skipped = 1, .unknown_zones = 2, .bad_fields = 1},
         {"строка 7: передача пропущена: часовой пояс в start=«20260110210000 XST»",
          "строка 10: часовой пояс в stop=«20260110230000 ABC»"},
         "ERT1"},
        // Hungarian: double acute accents, a zero-length programme, a stop before its start and an
        // episode-num that is not xmltv_ns.
        {"hu.xml",
         {"17:00-17:30 Musorszunet |  | -1.-1", "17:30-18:00 Hirek |  | -1.-1",
          "18:00-18:30 Idojaras-jelentes |  | -1.-1", "18:30-19:30 Szerelmes foldrajz |  | 3.3"},
         {.transliterated = 8, .bad_fields = 1, .zero_length = 1, .stop_before_start = 1},
         {"строка 13: номер серии «a.b.»"},
         "M1"},
        // French: HTML entities under a DOCTYPE (&oelig; &rsquo; &eacute; &nbsp; &pound; and an
        // unknown one), the same start given twice, a programme without start.
        {"fr.xml",
         {"19:00-19:45 Le journal | Le coeur de l’actualite & la meteo. Prix : 5 GBP. | -1.-1",
          "19:45-22:00 Telefilm |  | 2.3"},
         {.transliterated = 8, .entities = 8, .skipped = 1, .duplicates = 1},
         {"строка 14: передача пропущена: нет атрибута start"},
         "TF1"},
        // Russian: two grabbers' outputs in one file, the channel declared twice; decomposed "ё"
        // and
        // "й" composed back; MSK.
        {"ru.xml",
         {"06:00-07:00 Утро (второй источник) |  | -1.-1",
          "07:00-08:00 Жить здорово! (повтор) |  | -1.-1",
          "08:00-09:00 Модный приговор | S1 E5. Выпуск 5. Всё о моде и стиле. | -1.-1"},
         {.duplicates = 2},
         {},
         "Первый"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        QFile file(QStringLiteral(ZT_SOURCE_DIR "/tests/xmltv/fixtures/") + c.file);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        CollectingSink sink;
        const auto r = read_xmltv(file.readAll(), sink, "UTC");
        ASSERT_TRUE(r.ok) << r.message.toStdString();
        EXPECT_EQ(rows(sink), c.programmes);
        const Counts got{
            r.transliterated_chars, r.replaced_chars, r.entities,    r.skipped_programmes,
            r.unknown_zones,        r.bad_fields,     r.zero_length, r.stop_before_start,
            r.replaced_duplicates,  r.open_ended};
        EXPECT_EQ(got, c.counts);
        EXPECT_EQ(r.problems.size(), qsizetype(c.problems.size()));
        for (std::size_t i = 0; i < c.problems.size() && qsizetype(i) < r.problems.size(); ++i)
            EXPECT_TRUE(r.problems[qsizetype(i)].contains(QString::fromStdString(c.problems[i])))
                << r.problems[qsizetype(i)].toStdString();
        ASSERT_FALSE(sink.channels.empty());
        EXPECT_EQ(to_utf8(sink.channels.back().name), c.channel);
    }
}

// Two grabbers' outputs joined into one file, the channel declared again by the second: the
// first copy keeps every programme, the second fills the gaps only, each filler cut where the
// first copy goes on, and nothing overlaps.
TEST(XmltvFixtures, ChannelGivenTwiceFillsOnlyTheGaps) {
    QFile file(QStringLiteral(ZT_SOURCE_DIR "/tests/xmltv/fixtures/de-joined.xml"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    CollectingSink sink;
    const auto r = read_xmltv(file.readAll(), sink, "Europe/Berlin");
    ASSERT_TRUE(r.ok) << r.message.toStdString();

    // The first copy: 06-12 and 18-24 on the 10th, 06-12 on the 11th, each an hour. The second:
    // every hour at half past, from 00:30 on the 10th to 12:30 on the 11th.
    std::vector<std::string> want;
    auto hour = [](int day, int h, int m) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "2026-01-%02d %02d:%02d", day + h / 24, h % 24, m);
        return std::string(buf);
    };
    auto b_until = [&](int day, int from, int cut) {  // second copy's fillers up to the cut
        for (int h = from; h < cut; ++h)
            want.push_back(hour(day, h, 30) + " " +
                           (h + 1 < cut ? hour(day, h + 1, 30) : hour(day, cut, 0)) + " B");
    };
    auto a_run = [&](int day, int from, int to) {
        for (int h = from; h < to; ++h)
            want.push_back(hour(day, h, 0) + " " + hour(day, h + 1, 0) + " A");
    };
    b_until(10, 0, 6);
    a_run(10, 6, 12);
    b_until(10, 12, 18);
    a_run(10, 18, 24);
    b_until(11, 0, 6);
    a_run(11, 6, 12);
    want.push_back(hour(11, 12, 30) + " " + hour(11, 13, 30) + " B");  // past the first copy's end

    std::vector<std::pair<std::string, std::string>> got;
    for (const auto& p : sink.programmes)
        got.push_back({text_of(p.start) + " " + text_of(p.finish) + " " +
                           (to_utf8(p.title).ends_with("(B)") ? "B" : "A"),
                       text_of(p.start)});
    std::sort(got.begin(), got.end(),
              [](const auto& x, const auto& y) { return x.second < y.second; });
    std::vector<std::string> rows;
    for (const auto& g : got) rows.push_back(g.first);
    EXPECT_EQ(rows, want);
    EXPECT_EQ(r.filled_gaps, 18);
    EXPECT_EQ(r.late_programmes, 18);  // the second copy's starts inside the first's programmes
    EXPECT_EQ(r.open_ended, 0);
    EXPECT_EQ(r.programmes, 37);
    EXPECT_EQ(to_utf8(sink.channels.back().name), "ZDF HD");
}

}  // namespace
}  // namespace zt::test
