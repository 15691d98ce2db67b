#include <QBuffer>
#include <QImage>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>

#include "net/xmltv_day.h"
#include "server/block_cache.h"
#include "server/channel_data.h"
#include "server/ingest.h"
#include "xmltv/read_report.h"
#include "xmltv/xmltv_reader.h"

namespace zt::server {

namespace {

// Writes what the reader delivers straight into the open transaction. Programmes of a channel
// arrive in rising start order, so a day is complete once a programme of a later day of the
// same channel arrives: only one day per channel is held at a time.
class IngestSink final : public xmltv::Sink {
public:
    explicit IngestSink(Database& db) : m_db(db) {}

    void channel(const xmltv::Channel& c) override {
        const std::int32_t id = id_for(c.id);
        ChannelRow row{id, c.name.empty() ? c.id.toStdString() : c.name, "", "", "", ""};
        const QImage logo = c.icon_path.isEmpty() ? QImage() : QImage(c.icon_path);
        if (!logo.isNull()) {
            row.logo16 = bmp_of(logo, 16);
            row.logo24 = bmp_of(logo, 24);
            row.logo32 = bmp_of(logo, 32);
        }
        put_channel(m_db, row);
        if (m_listed.insert(id).second) m_channels.push_back(id);
    }

    void programme(const xmltv::Programme& p) override {
        // Programmes of one channel come in runs: the channel is looked up when it changes.
        if (!m_current || p.channel_id != m_current_xid) {
            const std::int32_t id = id_for(p.channel_id);
            if (m_listed.insert(id).second) {
                // A channel used without its <channel> element is listed under its id.
                put_channel(m_db, {id, p.channel_id.toStdString(), "", "", "", ""});
                m_channels.push_back(id);
            }
            m_current_xid = p.channel_id;
            m_current_id = id;
            m_current = &m_open[id];
        }
        const std::int32_t channel = m_current_id;
        Open& open = *m_current;
        // Days are told apart by their number; the text is made once a day.
        const std::int32_t number = std::int32_t(p.start.dayNumber());
        if (open.day.day.empty() || number != open.number) {
            flush(channel, open);
            open.day = DayData{day_text(p.start), {}, {}};
            open.number = number;
            // A later copy of the channel filling a gap of a day stored earlier in this ingest
            // (two grabbers' files joined): the day is taken up again with what it holds.
            if (std::binary_search(open.flushed.begin(), open.flushed.end(), number))
                open.day.progs = stored_programmes(channel, open.day.day);
        }
        net::place_in_day(open.day.progs, net::entry_of(p));
    }

    // Stores the days still open and brings the stamps up to date.
    void finish() {
        for (auto& [channel, open] : m_open) flush(channel, open);
        for (std::int32_t id : m_channels) refresh_channel(m_db, id);
    }

    const std::vector<std::int32_t>& channels() const { return m_channels; }
    std::int64_t days_changed() const { return m_days_changed; }

private:
    struct Open final {
        DayData day;
        std::int32_t number = 0;                     // of `day`
        std::vector<std::int32_t> flushed;           // day numbers stored by this ingest, sorted
        std::map<std::int32_t, std::string> before;  // their digests before the ingest
        bool digests_read = false;
        std::unordered_map<std::string, std::string> digests;  // stored, by day
    };

    static void insert_sorted(std::vector<std::int32_t>& numbers, std::int32_t n) {
        const auto at = std::lower_bound(numbers.begin(), numbers.end(), n);
        if (at == numbers.end() || *at != n) numbers.insert(at, n);
    }

    // The digests stored for the channel's days, read in one statement before its first day is
    // stored and kept up to date as days are (a missing day: an empty digest).
    std::unordered_map<std::string, std::string>& stored_digests(std::int32_t channel, Open& open) {
        if (!open.digests_read) {
            QSqlQuery q = m_db.exec("SELECT day, digest FROM days WHERE channel_id = ?", channel);
            while (q.next())
                open.digests[q.value(0).toString().toStdString()] =
                    q.value(1).toString().toStdString();
            q.finish();
            open.digests_read = true;
        }
        return open.digests;
    }

    std::vector<protocol::ProgEntry> stored_programmes(std::int32_t channel,
                                                       const std::string& day) {
        QSqlQuery q = m_db.exec("SELECT progs FROM days WHERE channel_id = ? AND day = ?", channel,
                                QString::fromStdString(day));
        if (!q.next()) return {};
        const QByteArray blob = q.value(0).toByteArray();
        return protocol::decode_programmes(
            protocol::inflate_payload(std::string_view(blob.constData(), blob.size())));
    }

    std::int32_t id_for(const QString& xid) {
        auto it = m_ids.find(xid);
        if (it != m_ids.end()) return it->second;
        QSqlQuery q = m_db.exec("SELECT id FROM xmltv_channels WHERE xid = ?", xid);
        std::int32_t id = 0;
        if (q.next()) {
            id = q.value(0).toInt();
        } else {
            // Past every channel number in use, whoever gave it.
            for (const char* sql : {"SELECT COALESCE(MAX(id), 0) FROM channels",
                                    "SELECT COALESCE(MAX(id), 0) FROM xmltv_channels"}) {
                QSqlQuery top = m_db.exec(sql);
                if (top.next()) id = std::max(id, std::int32_t(top.value(0).toInt()));
            }
            ++id;
            m_db.exec("INSERT INTO xmltv_channels (xid, id) VALUES (?, ?)", xid, id);
        }
        m_ids.emplace(xid, id);
        return id;
    }

    void flush(std::int32_t channel, Open& open) {
        if (open.day.progs.empty()) return;
        const std::int32_t number = std::int32_t(open.day.progs.front().start.dayNumber());
        const bool again = std::binary_search(open.flushed.begin(), open.flushed.end(), number);
        std::string& stored = stored_digests(channel, open)[open.day.day];
        std::string now;
        if (!again) {
            open.before.emplace(number, stored);
            if (put_day(m_db, channel, open.day, &stored, &now)) ++m_days_changed;
            insert_sorted(open.flushed, number);
        } else {
            // A day stored again counts once, and only when it ends up other than it was before
            // the ingest.
            const std::string& before = open.before[number];
            put_day(m_db, channel, open.day, &stored, &now);
            m_days_changed += std::int64_t(now != before) - std::int64_t(stored != before);
        }
        stored = std::move(now);
        open.day.progs.clear();
    }

    Database& m_db;
    std::map<QString, std::int32_t> m_ids;
    std::set<std::int32_t> m_listed;
    std::vector<std::int32_t> m_channels;
    std::map<std::int32_t, Open> m_open;
    QString m_current_xid;  // the channel of the last programme
    std::int32_t m_current_id = 0;
    Open* m_current = nullptr;
    std::int64_t m_days_changed = 0;
};

}  // namespace

IngestResult ingest_xmltv(Database& db, const QString& path, const std::string& package,
                          const QTimeZone& zone, const QString& genre_map) {
    // The whole file goes in one transaction; on SQLite a page cache of the serving size would
    // hold the pages it writes until they fill it, so memory would grow with the file. A small
    // one spills them to the log as they come.
    if (db.dialect() == Dialect::SQLite) db.exec("PRAGMA cache_size=-8192");
    Transaction tx(db, Transaction::Kind::Writer);
    IngestSink sink(db);
    xmltv::ReadOptions options;
    options.zone = zone;
    options.genre_map_path = genre_map;
    const xmltv::ReadResult read = xmltv::read_file(path, options, sink);
    IngestResult result;
    if (!read.ok) {
        // The transaction rolls back: the database keeps what it had.
        result.ok = false;
        result.message = path.toStdString() + ": " + read.message.toStdString();
        return result;
    }
    sink.finish();
    put_package(db, package, sink.channels());
    db.set_meta("zone", zone.id());
    bump_generation(db);
    tx.commit();
    result.channels = std::int64_t(sink.channels().size());
    result.days_changed = sink.days_changed();
    result.programmes = read.programmes;
    result.message = xmltv::counts_text(read);
    return result;
}

}  // namespace zt::server
