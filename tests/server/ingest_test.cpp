// Ingests into the server's database: repeatable, changes only what changed, and bad input
// keeps what was there.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <zlib.h>

#include <algorithm>
#include <random>

#include "core/cp1251.h"
#include "net/protocol/paket_list.h"
#include "net/protocol/schedule_reply.h"
#include "net/protocol/schedule_request.h"
#include "server/channel_data.h"
#include "server/database.h"
#include "server_fixture.h"
#include "storage/section.h"
#include "tools/peers/peers.h"

namespace zt::test {
namespace {

using peers::raw_exchange;
using peers::run_server_command;
using peers::ServerProcess;
using peers::split_response;

// Every day's digest, as stored.
std::vector<std::string> digests(const QString& db_path) {
    server::Database db(db_path);
    std::vector<std::string> out;
    QSqlQuery q = db.exec("SELECT channel_id || ' ' || day || ' ' || digest FROM days ORDER BY 1");
    while (q.next()) out.push_back(q.value(0).toString().toStdString());
    return out;
}

// The day blocks compressed at ingest are what the client's section reader takes, and plain
// zlib streams once their two header bytes are put back (the independent inflater checks the
// trailer too): empty, tiny, a day's programmes, bytes that do not compress, a long text.
TEST(BlockCompression, ReadByTheClientsReaderAndByZlib) {
    std::vector<protocol::ProgEntry> progs;
    for (int i = 0; i < 40; ++i)
        progs.push_back({i + 1, *DateTime::fromParts(2026, 6, 10, i / 2, (i % 2) * 30),
                         *DateTime::fromParts(2026, 6, 10, i / 2, (i % 2) * 30 + 29), 1, 2, 0,
                         "Title " + std::to_string(i), "A description of the programme", false,
                         -1});
    std::string noise(1 << 20, '\0');
    std::mt19937 random(7);
    for (char& c : noise) c = char(random());
    std::string text;
    while (text.size() < (3u << 20)) text += "Вечерние новости. Погода. ";
    for (const std::string& payload :
         {std::string(), std::string("x"), protocol::encode_programmes(progs), noise, text}) {
        const std::string block = server::compress_block(payload);
        std::string read = block;
        ASSERT_TRUE(InflateSection(read)) << payload.size();
        EXPECT_EQ(read, payload);
        const std::string stream = std::string("\x78\x01", 2) + block;
        std::string out(payload.size() + 1, '\0');
        uLongf out_size = uLongf(out.size());
        ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &out_size,
                             reinterpret_cast<const Bytef*>(stream.data()), uLong(stream.size())),
                  Z_OK)
            << payload.size();
        out.resize(out_size);
        EXPECT_EQ(out, payload);
    }
}

QByteArray sample() {
    QFile f(QStringLiteral(ZT_SOURCE_DIR "/tests/xmltv/sample.xml"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

int ingest(const QString& db, const QString& file, std::string* out = nullptr) {
    return run_server_command({"ingest", "--db", db, "--xmltv", file, "--zone", "Europe/Moscow",
                               "--package", "Городские"},
                              out);
}

TEST(XmltvIngest, RepeatableAndChangesOnlyWhatChanged) {
    QTemporaryDir dir;
    const QString db = dir.filePath("x.db");
    const QString file = dir.filePath("tv.xml");
    write(file, sample());
    std::string out;
    ASSERT_EQ(ingest(db, file, &out), 0) << out;
    EXPECT_NE(out.find("ingested 3 channels, 6 days changed"), std::string::npos) << out;
    const auto first_stamps = stamps(db);
    const auto first_days = digests(db);
    ASSERT_EQ(first_stamps.size(), 3u);

    // The same file again changes nothing.
    ASSERT_EQ(ingest(db, file, &out), 0) << out;
    EXPECT_NE(out.find("0 days changed"), std::string::npos) << out;
    EXPECT_EQ(stamps(db), first_stamps);
    EXPECT_EQ(digests(db), first_days);

    // A newer file with one title changed on one channel: its days and its stamp change.
    QByteArray newer = sample();
    newer.replace("Доброе утро", "Утро доброе");
    write(file, newer);
    ASSERT_EQ(ingest(db, file, &out), 0) << out;
    EXPECT_NE(out.find(", 2 days changed"), std::string::npos) << out;  // both mornings
    const auto new_stamps = stamps(db);
    int changed = 0;
    for (const auto& [id, stamp] : new_stamps) changed += stamp != first_stamps.at(id);
    EXPECT_EQ(changed, 1);

    // A start that cannot be read costs that programme only; the counts say so, with the line.
    const auto good_days = digests(db);
    QByteArray one_bad = QByteArray(newer).replace("20260328091500 +0300", "2026xx28");
    write(file, one_bad);
    ASSERT_EQ(ingest(db, file, &out), 0) << out;
    EXPECT_NE(out.find("programmes skipped 1"), std::string::npos) << out;
    EXPECT_NE(out.find("2026xx28"), std::string::npos) << out;
    write(file, newer);
    ASSERT_EQ(ingest(db, file, &out), 0) << out;
    EXPECT_EQ(digests(db), good_days);

    // A provider's own genre table is read, and one that cannot be read stops the ingest.
    write(dir.filePath("genres.tsv"), "новости\t1\t1\n");
    EXPECT_EQ(run_server_command({"ingest", "--db", db, "--xmltv", file, "--zone", "Europe/Moscow",
                                  "--genre-map", dir.filePath("genres.tsv")},
                                 &out),
              0)
        << out;
    write(dir.filePath("bad.tsv"), "новости 1 1\n");
    EXPECT_EQ(run_server_command({"ingest", "--db", db, "--xmltv", file, "--zone", "Europe/Moscow",
                                  "--genre-map", dir.filePath("bad.tsv")},
                                 &out),
              1);
    EXPECT_NE(QString::fromStdString(out).indexOf(QStringLiteral("аблица жанров")), -1) << out;

    // Truncated or malformed input: a message with the line, and the database as it was.
    const auto before_days = digests(db);
    const auto before_stamps = stamps(db);
    for (const QByteArray& bad :
         {newer.left(newer.size() / 2), QByteArray(newer).replace("</title>", "</titel>")}) {
        write(file, bad);
        EXPECT_EQ(ingest(db, file, &out), 1);
        EXPECT_NE(QString::fromStdString(out).indexOf(QStringLiteral("Строка")), -1) << out;
        EXPECT_EQ(digests(db), before_days);
        EXPECT_EQ(stamps(db), before_stamps);
    }
}

TEST(XmltvIngest, ServedLikeAnyOtherSchedule) {
    QTemporaryDir dir;
    const QString db = dir.filePath("x.db");
    const QString file = dir.filePath("tv.xml");
    write(file, sample());
    ASSERT_EQ(ingest(db, file), 0);
    ServerProcess server({"--db", db, "--at", "2026-03-28 12:00"});
    const auto list = protocol::read_paket_list(
        split_response(
            raw_exchange(server.port(), "GET /cgi-bin/soft.cgi?func=get_paket HTTP/1.0\n\n"))
            .body);
    ASSERT_EQ(list.channels.size(), 3u);
    ASSERT_EQ(list.pakets.size(), 1u);
    EXPECT_EQ(list.pakets[0].name, to_cp1251("Городские"));
    EXPECT_EQ(list.pakets[0].entries.size(), 3u);

    protocol::ScheduleRequest request;
    for (const auto& c : list.channels) request.channels.push_back({c.id, "", {}});
    const std::string body = protocol::write_schedule_request(request);
    const auto reply = split_response(raw_exchange(
        server.port(), "POST /cgi-bin/soft.cgi?func=get_tvprog&a=0 HTTP/1.0\nContent-length: " +
                           std::to_string(body.size()) + "\n\n" + body));
    int programmes = 0;
    for (const auto& b : protocol::read_schedule_reply(reply.body)) {
        if (b.type != protocol::BlockType::Programmes) continue;
        for (const auto& p : protocol::decode_programmes(protocol::inflate_payload(b.compressed))) {
            EXPECT_LT(p.start, p.finish);
            ++programmes;
        }
    }
    EXPECT_GT(programmes, 8);

    // A newer file ingested while the server runs is served at once: the changed channel's
    // details come again for a client that holds the old stamps.
    for (std::size_t i = 0; i < list.channels.size(); ++i)
        request.channels[i].stamp = list.channels[i].stamp;
    QByteArray newer = sample();
    newer.replace("Доброе утро", "Утро доброе");
    write(file, newer);
    ASSERT_EQ(ingest(db, file), 0);
    QThread::msleep(300);  // the server looks for a new generation every quarter second
    const std::string again = protocol::write_schedule_request(request);
    const auto blocks = protocol::read_schedule_reply(
        split_response(
            raw_exchange(server.port(),
                         "POST /cgi-bin/soft.cgi?func=get_tvprog&a=0 HTTP/1.0\nContent-length: " +
                             std::to_string(again.size()) + "\n\n" + again))
            .body);
    const auto details = std::count_if(blocks.begin(), blocks.end(), [](const auto& b) {
        return b.type == protocol::BlockType::Channel;
    });
    EXPECT_EQ(details, 1);
}

// A file joining two grabbers' outputs for one channel: the days of the first copy are taken up
// again when the second copy fills their gaps, in start order with ids still rising, and the
// same file ingested again changes nothing.
TEST(XmltvIngest, SecondCopyOfAChannelFillsTheStoredDays) {
    QTemporaryDir dir;
    const QString db = dir.filePath("x.db");
    const QString file = QStringLiteral(ZT_SOURCE_DIR "/tests/xmltv/fixtures/de-joined.xml");
    std::string out;
    ASSERT_EQ(run_server_command({"ingest", "--db", db, "--xmltv", file, "--zone", "Europe/Berlin"},
                                 &out),
              0)
        << out;
    EXPECT_NE(out.find("gaps filled from a second copy 18"), std::string::npos) << out;
    EXPECT_NE(out.find("2 days changed"), std::string::npos) << out;
    std::map<std::string, std::size_t> counts;
    {
        server::Database d(db);
        QSqlQuery q = d.exec("SELECT day, progs FROM days ORDER BY day");
        while (q.next()) {
            const QByteArray blob = q.value(1).toByteArray();
            const auto progs = protocol::decode_programmes(
                protocol::inflate_payload(std::string_view(blob.constData(), blob.size())));
            for (std::size_t i = 1; i < progs.size(); ++i) {
                EXPECT_LE(progs[i - 1].finish, progs[i].start);
                EXPECT_LT(progs[i - 1].id, progs[i].id);
            }
            counts[q.value(0).toString().toStdString()] = progs.size();
        }
    }
    // The 10th: 6 + 6 of the first copy and 6 + 6 fillers; the 11th: 6 fillers, 6 of the first
    // copy and one of the second past its end.
    EXPECT_EQ(counts, (std::map<std::string, std::size_t>{{"2026-01-10", 24}, {"2026-01-11", 13}}));
    const auto first = digests(db);
    ASSERT_EQ(run_server_command({"ingest", "--db", db, "--xmltv", file, "--zone", "Europe/Berlin"},
                                 &out),
              0);
    EXPECT_NE(out.find("0 days changed"), std::string::npos) << out;
    EXPECT_EQ(digests(db), first);
}

}  // namespace
}  // namespace zt::test
