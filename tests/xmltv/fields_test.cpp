// The pieces of a record: category mapping, CP1251 fields, icon paths, ratings and times.
#include <gtest/gtest.h>

#include <QFile>

#include "core/cp1251.h"
#include "core/genres.h"
#include "core/store.h"
#include "xmltv/cp1251_text.h"
#include "xmltv/genre_map.h"
#include "xmltv/record_fields.h"
#include "xmltv/xmltv_time.h"

namespace zt::xmltv {
namespace {

TEST(XmltvGenres, CategoriesMapOntoTheCatalogue) {
    const GenreMap& map = GenreMap::built_in();
    struct {
        QStringList categories;
        Genre genre;
    } cases[] = {
        {{"Новости"}, {1, 1}},
        {{"Комедия"}, {2, 4}},
        {{"Сериал", "Комедия"}, {3, 3}},
        {{"Комедия", "сериал"}, {3, 3}},
        {{"Movie / Drama"}, {2, 0}},
        {{"Sports", "Ice Hockey"}, {5, 13}},
        {{"Детям", "Образование"}, {4, 2}},
        {{"Образование"}, {7, 0}},
        {{"Культура", "Музыка"}, {8, 2}},
        {{"Ёлки-палки", "Документальный"}, {7, 2}},
        {{"  ТОК-ШОУ "}, {6, 4}},
        {{"Нечто", "Unknown"}, {-1, -1}},
        {{}, {-1, -1}},
        // A family the file names beats a sub-genre of another family.
        {{"Sport", "Action", "Laufen"}, {5, 0}},
        {{"Action", "Sport"}, {5, 0}},
        // Guides in other languages and English variants.
        {{"Spielfilm", "Komödie"}, {2, 4}},
        {{"Serie", "Krimi"}, {3, 2}},
        {{"Fußball"}, {5, 15}},
        {{"Doku"}, {7, 2}},
        {{"Kids"}, {4, 0}},
        {{"Infantil"}, {4, 0}},
        {{"Factual"}, {7, 0}},
        {{"Dessin animé"}, {4, 1}},
        {{"Téléfilm", "Policier"}, {2, 3}},
        {{"Deportes", "Fútbol"}, {5, 15}},
        {{"Novela"}, {3, 4}},
        {{"Telegiornale"}, {1, 1}},
        {{"Dizi", "Komedi"}, {3, 3}},
        {{"Belgesel"}, {7, 2}},
        {{"Sorozat", "Vígjáték"}, {3, 3}},
        {{"Rajzfilm"}, {4, 1}},
        {{"Serial", "Kryminał"}, {3, 2}},
        {{"Piłka nożna"}, {5, 15}},
        {{"Мультфільм"}, {4, 1}},
        {{"Серіал"}, {3, 0}},
    };
    for (const auto& c : cases) {
        const Genre g = map.resolve(c.categories);
        EXPECT_EQ(g, c.genre) << c.categories.join(u',').toStdString() << " -> " << g.family << ","
                              << g.sub;
    }
}

TEST(XmltvGenres, CatalogueNamesMapOntoThemselves) {
    all_list store;
    build_types(store);
    for (const auto& t : store.types) {
        if (t->sub <= 0) continue;
        const QString family =
            QString::fromStdString(to_utf8(store.find_type(t->family, -1)->name));
        const QString sub = QString::fromStdString(to_utf8(t->name));
        EXPECT_EQ(GenreMap::built_in().resolve({family, sub}), (Genre{t->family, t->sub}))
            << family.toStdString() << " / " << sub.toStdString();
    }
}

TEST(XmltvGenres, TableFileIsCheckedAgainstTheCatalogue) {
    QString error;
    EXPECT_TRUE(GenreMap::parse("# c\nфутбол\t5\t15\n\n", error));
    EXPECT_FALSE(GenreMap::parse("ok\t5\t15\nbad\t5\t16\n", error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("строка 2"))) << error.toStdString();
    EXPECT_FALSE(GenreMap::parse("no tabs 5 1\n", error));
    // Every row of the built-in table names a catalogue genre (parse checks it).
    QFile file(ZT_SOURCE_DIR "/xmltv/genre_map.tsv");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(GenreMap::parse(file.readAll(), error)) << error.toStdString();
}

TEST(XmltvText, FitsCp1251) {
    struct {
        QString text;
        std::string expected;
        std::int64_t transliterated;
        std::int64_t replaced;
    } cases[] = {
        {"  Два\n\t пробела  ", "Два пробела"_cp, 0, 0},
        {"«Ёлка» — „ура“ № 5…", "«Ёлка» — „ура“ № 5…"_cp, 0, 0},
        {"Crème brûlée ½", "Creme brulee 1/2"_cp, 4, 0},
        {QString::fromUtf8("A\u2212B\u2010C x\u200By 😀"), "A-B-C xy ?"_cp, 3, 1},
        {QString::fromUtf8("a\u0098b"), "a?b", 0, 1},
        // Decomposed input is composed first: Cyrillic letters stay, Latin ones lose the accent.
        {QString::fromUtf8("Кри\u0306 Kru\u0308ger"), "Крй Kruger"_cp, 1, 0},
        {QString::fromUtf8("Straße Işık Œuvre £5 Łódź"), "Strasse Isik OEuvre GBP5 Lodz"_cp, 8, 0},
        {QString::fromUtf8("Ελληνική Τηλεόραση"), "Ellenike Teleorase"_cp, 17, 0},
        {QString::fromUtf8("Новости: Αθήνα"), "Новости: Athena"_cp, 5, 0},
        {QString::fromUtf8("\u4e2d"), "zhong"_cp, 1, 0},
    };
    for (const auto& c : cases) {
        TextStats stats;
        EXPECT_EQ(fit_cp1251(c.text, 255, stats), c.expected) << c.text.toStdString();
        EXPECT_EQ(stats.transliterated, c.transliterated) << c.text.toStdString();
        EXPECT_EQ(stats.replaced, c.replaced) << c.text.toStdString();
    }
    TextStats stats;
    const std::string cut = fit_cp1251(QString(300, QChar(0x436)), 255, stats);
    EXPECT_EQ(cut.size(), 255u);
    EXPECT_EQ(cut.back(), '\x85');
    EXPECT_EQ(stats.cut, 1);
    EXPECT_EQ(fit_cp1251(QString(255, QChar(0x436)), 255, stats).size(), 255u);
    EXPECT_EQ(stats.cut, 1);
}

TEST(XmltvFields, IconsAreLocalFilesOnly) {
    const struct {
        const char* src;
        const char* expected;
    } cases[] = {
        {"file:///srv/logos/a.png", "/srv/logos/a.png"},
        {"file://localhost/srv/a%20b.png", "/srv/a b.png"},
        {"/srv/logos/../a.png", "/srv/a.png"},
        {"logos/a.png", "/data/logos/a.png"},
        {"http://example.invalid/a.png", ""},
        {"HTTPS://example.invalid/a.png", ""},
        {"file://server/share/a.png", ""},
        {"//server/a.png", ""},
        {"ftp://x/a.png", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(local_icon(QString::fromUtf8(c.src), "/data").toStdString(), c.expected) << c.src;
}

TEST(XmltvFields, RatingsInPerCent) {
    const struct {
        const char* value;
        int expected;
    } cases[] = {{"7/10", 70}, {"3.5 / 5", 70}, {"8,4/10", 84}, {"65%", 65}, {"12/10", 100},
                 {"16+", -1},  {"PG-13", -1},   {"1/0", -1},    {"", -1}};
    for (const auto& c : cases)
        EXPECT_EQ(rating_percent(QString::fromUtf8(c.value)).value_or(-1), c.expected) << c.value;
}

TEST(XmltvTime, ParsesTheForms) {
    const std::int64_t base = 1768039200;  // 2026-01-10 10:00 UTC
    const struct {
        const char* text;
        std::optional<std::int64_t> expected;
    } cases[] = {
        {"20260110100000 +0000", base},
        {"20260110130000 +0300", base},
        {"20260110050000 -0500", base},
        {"20260110133000 +03:30", base},
        {"202601101000", base},
        {"20260110100000 UTC", base},
        {"20260110", base - 10 * 3600},
        {"20260110100000+0000", base},
        {"20260230100000 +0000", std::nullopt},
        {"20260110250000", std::nullopt},
        {"2026011010", base},
        {"202601101", std::nullopt},
        {"20260110100000 MSK", base - 3 * 3600},
        {"200007281733 BST", 964801980},
        {"20260110100000 cest", base - 2 * 3600},
        {"20260110100000 PDT", base + 7 * 3600},
        {"20260110100000 XYZ", std::nullopt},
        {"20260110100000 +3", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(parse_time(c.text), c.expected) << c.text;
    TimeFault fault = TimeFault::none;
    EXPECT_FALSE(parse_time("20260110100000 XYZ", &fault));
    EXPECT_EQ(fault, TimeFault::unknown_zone);
    EXPECT_FALSE(parse_time("20260110100000 +3", &fault));
    EXPECT_EQ(fault, TimeFault::bad_form);
}

TEST(XmltvFields, EpisodeMarksAndRecordText) {
    const struct {
        const char* ns;
        const char* expected;  // nullptr: not of the form
    } marks[] = {
        {"1.9.", "S2 E10"},        {"0.4/12.", "S1 E5"}, {".4/12.", "E5"},        {"2..", "S3"},
        {"0.0.1/2", "S1 E1 P2/2"}, {"0.0.0/1", "S1 E1"}, {" 1 . 9 . ", "S2 E10"}, {"..", ""},
        {"a.b.", nullptr},         {"1.2.3.4", nullptr}, {"S01E02", nullptr},
    };
    for (const auto& m : marks) {
        const auto got = episode_mark(QString::fromUtf8(m.ns));
        if (m.expected)
            EXPECT_EQ(got.value_or("-").toStdString(), m.expected) << m.ns;
        else
            EXPECT_FALSE(got) << m.ns;
    }
    const struct {
        const char* title;
        const char* mark;
        const char* sub;
        const char* descr;
        const char* expected;
    } texts[] = {
        {"Tatort", "S2 E10", "Der Fluch", "Kommissar ermittelt.",
         "S2 E10. Der Fluch. Kommissar ermittelt."},
        {"Tatort", "", "Wer bist du?", "", "Wer bist du?"},
        {"Tatort", "", "Tatort", "Krimi.", "Krimi."},
        {"Tatort", "", "Der Fluch", "Der Fluch des Geldes.", "Der Fluch des Geldes."},
        {"Т", "12. Bölüm", "", "Описание", "12. Bölüm. Описание"},
    };
    for (const auto& t : texts)
        EXPECT_EQ(record_text(QString::fromUtf8(t.title), QString::fromUtf8(t.mark),
                              QString::fromUtf8(t.sub), QString::fromUtf8(t.descr))
                      .toStdString(),
                  t.expected);
}

}  // namespace
}  // namespace zt::xmltv
