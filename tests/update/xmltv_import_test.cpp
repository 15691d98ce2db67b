// An XMLTV file through the import path: one package named after the file, times in the
// computer's zone, ticked channels and only the days the store lacks applied; a broken file
// changes nothing.
#include <gtest/gtest.h>

#include <QFile>

#include "core/cp1251.h"
#include "net/xmltv_import.h"
#include "update_fixture.h"

namespace zt::net {
namespace {

using test::at;

struct NullHost final : DownloadHost {};

// Two channels; the times are given at +0000 and shown in a zone three hours ahead. "Ночь"
// starts before midnight UTC but after it locally, so it belongs to the next local day.
const char* kFile = R"(<?xml version="1.0" encoding="UTF-8"?>
<tv>
  <channel id="one.example"><display-name>Первый тест</display-name></channel>
  <channel id="two.example"><display-name>Второй тест</display-name></channel>
  <programme start="20260610070000 +0000" stop="20260610080000 +0000" channel="one.example">
    <title>Утро</title></programme>
  <programme start="20260610220000 +0000" stop="20260610230000 +0000" channel="one.example">
    <title>Ночь</title></programme>
  <programme start="20260610090000 +0000" stop="20260610100000 +0000" channel="two.example">
    <title>Второе</title></programme>
</tv>
)";

class XmltvImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        store = test::make_store(at("2026-06-10 09:00"));
        store->exe_dir = dir.path().toStdString() + "/";
        QDir().mkpath(dir.filePath("dat"));
    }
    QString put(const std::string& bytes, const QString& name) {
        test::write_file(dir.filePath(name), bytes);
        return dir.filePath(name);
    }
    std::optional<ImportSession> open(const QString& path) {
        return XmltvFileOpen(path.toStdString(), *store, rec, host,
                             QTimeZone(QByteArrayLiteral("UTC+03:00")));
    }
    std::vector<std::string> titles(std::int32_t id) const {
        std::vector<std::string> out;
        for (const auto& p : store->find_channel(id)->tvprog)
            out.push_back(to_utf8(p->title) + " " + protocol_minute(p->start));
        return out;
    }
    static std::string protocol_minute(DateTime t) {
        int y = 0, m = 0, d = 0;
        t.toParts(y, m, d);
        char buf[32];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d", y, m, d, t.hour(), t.minute());
        return buf;
    }

    QTemporaryDir dir;
    std::unique_ptr<all_list> store;
    test::Recorder rec;
    NullHost host;
    user_account user;
};

TEST_F(XmltvImportTest, OffersOnePackageAndAppliesTickedChannelsInLocalTime) {
    auto session = open(put(kFile, "Моя программа.xml"));
    ASSERT_TRUE(session);
    ASSERT_EQ(session->lists.update_pakets.size(), 1u);
    const auto& paket = *session->lists.update_pakets[0];
    EXPECT_EQ(to_utf8(paket.name), "Моя программа");
    ASSERT_EQ(paket.channels.size(), 2u);
    EXPECT_EQ(to_utf8(paket.channels[0].channel->name), "Первый тест");
    EXPECT_EQ(session->day_count, 3u);  // one: 06-10 and 06-11; two: 06-10

    const std::int32_t one = paket.channels[0].chl_id;
    EXPECT_EQ(one, xmltv_channel_id("one.example"));
    tick_channels(session->lists, {one});
    const DataContext ctx{*store, rec, rec, user};
    const ImportResult r = ImportFileApply(ctx, *session, {});
    EXPECT_TRUE(r.saved);
    EXPECT_EQ(r.days_imported, 2u);
    ASSERT_EQ(store->channels.size(), 1u);
    EXPECT_EQ(titles(one),
              (std::vector<std::string>{"Утро 2026-06-10 10:00", "Ночь 2026-06-11 01:00"}));
    ASSERT_EQ(store->chl_groups.size(), 1u);
    EXPECT_EQ(to_utf8(store->chl_groups[0]->name), "Моя программа");

    // The same file again (gzip-less copy under another name): the channel keeps its id, the
    // days it holds are skipped, the other channel comes in new.
    auto again = open(put(kFile, "copy.XML"));
    ASSERT_TRUE(again);
    tick_all(again->lists);
    const ImportResult r2 = ImportFileApply(ctx, *again, {});
    EXPECT_EQ(r2.days_imported, 1u);
    EXPECT_EQ(r2.days_skipped, 2u);
    EXPECT_EQ(store->channels.size(), 2u);
    EXPECT_EQ(store->find_channel(one)->tvprog.size(), 2u);
}

TEST_F(XmltvImportTest, ChannelOfTheSameNameKeepsTheStoreId) {
    store->add_channel(7, to_cp1251("Второй тест"), "", "00000007", -1);
    auto session = open(put(kFile, "a.xml"));
    ASSERT_TRUE(session);
    EXPECT_EQ(session->lists.update_pakets[0]->channels[1].chl_id, 7);
}

TEST_F(XmltvImportTest, BrokenFilesChangeNothing) {
    struct Case {
        const char* name;
        std::string bytes;
    };
    const std::string text(kFile);
    const Case cases[] = {
        {"cut.xml", text.substr(0, text.size() / 2)},
        {"nochannels.xml", "<?xml version=\"1.0\"?><tv></tv>"},
        {"notxml.xml.gz", "plain text, not gzip"},
    };
    for (const Case& c : cases) {
        rec.messages.clear();
        EXPECT_FALSE(open(put(c.bytes, c.name))) << c.name;
        ASSERT_EQ(rec.messages.size(), 1u) << c.name;
        EXPECT_EQ(int(rec.messages[0].kind), 2);
        EXPECT_EQ(rec.messages[0].text.rfind("Ошибка данных.", 0), 0u) << rec.messages[0].text;
        EXPECT_TRUE(store->channels.empty());
    }
}

TEST_F(XmltvImportTest, KeepsOnlyTheStoresWeeksAndSaysWhatWasLeftOut) {
    // A programme a day from May to August; the store (on 2026-06-10) keeps 2026-05-31 to
    // 2026-06-21. One programme has stop="null", one a start that cannot be read.
    std::string file = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tv>\n";
    file += "<programme start=\"soon\" channel=\"one.example\"><title>x</title></programme>\n";
    QDate day(2026, 5, 1);
    for (; day <= QDate(2026, 8, 31); day = day.addDays(1)) {
        const std::string d = day.toString(QStringLiteral("yyyyMMdd")).toStdString();
        file += "<programme start=\"" + d + "120000 +0000\" stop=\"" + d +
                "130000 +0000\" channel=\"one.example\"><title>День</title></programme>\n";
        if (day == QDate(2026, 6, 10))
            file += "<programme start=\"" + d +
                    "140000 +0000\" stop=\"null\" channel=\"one.example\"><title>Без конца"
                    "</title></programme>\n";
    }
    file += "</tv>\n";
    auto session = open(put(file, "long.xml"));
    ASSERT_TRUE(session);
    EXPECT_EQ(session->day_count, 22u);
    EXPECT_EQ(session->days_outside, 101);
    EXPECT_EQ(session->programmes_outside, 101);
    ASSERT_TRUE(session->xmltv);
    EXPECT_EQ(session->xmltv->skipped_programmes, 1);
    EXPECT_EQ(session->xmltv->bad_fields, 1);

    tick_all(session->lists);
    const DataContext ctx{*store, rec, rec, user};
    const ImportResult r = ImportFileApply(ctx, *session, {});
    EXPECT_EQ(r.programmes_imported, 23);
    EXPECT_EQ(r.programmes_skipped, 0);
    const std::string summary = import_summary(*session, r);
    EXPECT_EQ(summary.rfind("Импортировано: 23 передач, пропущено: 102.", 0), 0u) << summary;
    for (const char* line : {"Дней вне трёх недель пропущено: 101 (передач: 101)",
                             "Неразобранных полей: 1", "Передач без канала или начала пропущено: 1",
                             "Строка 3: передача пропущена", "stop=«null»"})
        EXPECT_NE(summary.find(line), std::string::npos) << line << "\n" << summary;
}

// Two grabbers joined in one file: the second copy's fillers go into their day in start order,
// and the summary says how many came from it.
TEST_F(XmltvImportTest, SecondCopyOfAChannelFillsItsDays) {
    store = test::make_store(at("2026-01-10 09:00"));
    store->exe_dir = dir.path().toStdString() + "/";
    QFile fixture(QStringLiteral(ZT_SOURCE_DIR "/tests/xmltv/fixtures/de-joined.xml"));
    ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
    auto session = open(put(fixture.readAll().toStdString(), "joined.xml"));
    ASSERT_TRUE(session);
    tick_all(session->lists);
    const DataContext ctx{*store, rec, rec, user};
    const ImportResult r = ImportFileApply(ctx, *session, {});
    EXPECT_EQ(r.programmes_imported, 37);
    ASSERT_EQ(store->channels.size(), 1u);
    const auto& progs = store->channels[0]->tvprog;
    ASSERT_EQ(progs.size(), 37u);
    for (std::size_t i = 1; i < progs.size(); ++i) {
        EXPECT_LE(progs[i - 1]->finish, progs[i]->start) << i;
        EXPECT_NE(progs[i - 1]->id, progs[i]->id) << i;
    }
    const std::string summary = import_summary(*session, r);
    EXPECT_NE(summary.find("Передач из второй копии канала в пропусках: 18"), std::string::npos)
        << summary;
}

TEST(XmltvImportNames, FileKindsAndPackageNames) {
    EXPECT_TRUE(is_xmltv_file("/a/b.XML"));
    EXPECT_TRUE(is_xmltv_file("b.xml.GZ"));
    EXPECT_FALSE(is_xmltv_file("b.zorvan_tv"));
    EXPECT_FALSE(is_xmltv_file("b.gz"));
    EXPECT_EQ(xmltv_package_name("/x/tv guide.xml.gz"), "tv guide");
    EXPECT_EQ(xmltv_package_name("plain.XML"), "plain");
}

}  // namespace
}  // namespace zt::net
