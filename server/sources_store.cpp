#include "server/sources_store.h"

#include <algorithm>
#include <stdexcept>

namespace zt::server {

namespace {

constexpr const char* kSourceColumns =
    "SELECT id, name, location, priority, zone, package, genre_map, generation, etag, "
    "last_modified, validator, last_good, last_error FROM sources ";

Source source_of(const QSqlQuery& q) {
    Source s;
    s.id = q.value(0).toLongLong();
    s.name = q.value(1).toString().toStdString();
    s.location = q.value(2).toString().toStdString();
    s.priority = q.value(3).toLongLong();
    s.zone = q.value(4).toString().toStdString();
    s.package = q.value(5).toString().toStdString();
    s.genre_map = q.value(6).toString().toStdString();
    s.generation = q.value(7).toLongLong();
    s.etag = q.value(8).toString().toStdString();
    s.last_modified = q.value(9).toString().toStdString();
    s.validator = q.value(10).toString().toStdString();
    s.last_good = q.value(11).toString().toStdString();
    s.last_error = q.value(12).toString().toStdString();
    return s;
}

QString q_text(const std::string& s) {
    return QString::fromStdString(s);
}

SourceChannel channel_of(const QSqlQuery& q) {
    SourceChannel c;
    c.id = q.value(0).toLongLong();
    c.source_id = q.value(1).toLongLong();
    c.xid = q.value(2).toString();
    c.name = bytes(q.value(3));
    c.icon = q.value(4).toString();
    c.pos = q.value(5).toLongLong();
    c.channel_id = q.value(6).toInt();
    c.own_channel = q.value(7).toInt();
    c.mapped = q.value(8).toInt() != 0;
    return c;
}

constexpr const char* kChannelColumns =
    "SELECT id, source_id, xid, name, icon, pos, channel_id, own_channel, mapped "
    "FROM source_channels ";

// A server channel number for a new source channel: the number an earlier `ingest --xmltv`
// gave the same XMLTV id, unless another source channel already has it as its own; otherwise
// one past every number in use.
std::int32_t new_own_channel(Database& db, const QString& xid) {
    QSqlQuery known = db.exec(
        "SELECT x.id FROM xmltv_channels x WHERE x.xid = ? AND NOT EXISTS "
        "(SELECT 1 FROM source_channels s WHERE s.own_channel = x.id)",
        xid);
    if (known.next()) return known.value(0).toInt();
    QSqlQuery top = db.exec(
        "SELECT MAX(a) FROM (SELECT COALESCE(MAX(id), 0) AS a FROM channels UNION ALL "
        "SELECT COALESCE(MAX(id), 0) FROM xmltv_channels UNION ALL "
        "SELECT COALESCE(MAX(own_channel), 0) FROM source_channels) t");
    top.next();
    return top.value(0).toInt() + 1;
}

}  // namespace

std::vector<Source> list_sources(Database& db) {
    std::vector<Source> out;
    QSqlQuery q = db.exec((std::string(kSourceColumns) + "ORDER BY priority DESC, id").c_str());
    while (q.next()) out.push_back(source_of(q));
    return out;
}

std::optional<Source> find_source(Database& db, const std::string& name) {
    QSqlQuery q = db.exec((std::string(kSourceColumns) + "WHERE name = ?").c_str(), q_text(name));
    if (!q.next()) return std::nullopt;
    return source_of(q);
}

void put_source(Database& db, const Source& s) {
    QSqlQuery clash = db.exec("SELECT name FROM sources WHERE priority = ? AND name <> ?",
                              qlonglong(s.priority), q_text(s.name));
    if (clash.next())
        throw std::invalid_argument("source " + clash.value(0).toString().toStdString() +
                                    " already has priority " + std::to_string(s.priority) +
                                    "; every source needs a priority of its own");
    if (const auto old = find_source(db, s.name)) {
        // New settings: the next grab reads the source again whatever its validators say.
        db.exec(
            "UPDATE sources SET location = ?, priority = ?, zone = ?, package = ?, "
            "genre_map = ?, validator = '', etag = '', last_modified = '' WHERE id = ?",
            q_text(s.location), qlonglong(s.priority), q_text(s.zone), q_text(s.package),
            q_text(s.genre_map), qlonglong(old->id));
        return;
    }
    // Ids are never given again: the merged days name their programmes' sources by id, and a
    // removed source's id must not come to mean another source.
    QSqlQuery top = db.exec("SELECT COALESCE(MAX(id), 0) + 1 FROM sources");
    top.next();
    const qlonglong last = db.meta("last_source_id").value_or(QByteArray("0")).toLongLong();
    const qlonglong id = std::max(top.value(0).toLongLong(), last + 1);
    db.set_meta("last_source_id", QByteArray::number(id));
    db.exec(
        "INSERT INTO sources (id, name, location, priority, zone, package, genre_map, "
        "generation, etag, last_modified, validator, last_good, last_error) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, 0, '', '', '', '', '')",
        id, q_text(s.name), q_text(s.location), qlonglong(s.priority), q_text(s.zone),
        q_text(s.package), q_text(s.genre_map));
}

bool remove_source(Database& db, const std::string& name) {
    const auto s = find_source(db, name);
    if (!s) return false;
    const qlonglong id = s->id;
    db.exec(
        "DELETE FROM source_programmes WHERE source_channel IN "
        "(SELECT id FROM source_channels WHERE source_id = ?)",
        id);
    db.exec("DELETE FROM source_channels WHERE source_id = ?", id);
    db.exec("DELETE FROM sources WHERE id = ?", id);
    return true;
}

std::vector<SourceChannel> source_channels(Database& db, std::int64_t source_id) {
    std::vector<SourceChannel> out;
    QSqlQuery q =
        db.exec((std::string(kChannelColumns) + "WHERE source_id = ? ORDER BY pos, id").c_str(),
                qlonglong(source_id));
    while (q.next()) out.push_back(channel_of(q));
    return out;
}

SourceChannel source_channel(Database& db, std::int64_t source_id, const QString& xid) {
    {
        QSqlQuery q =
            db.exec((std::string(kChannelColumns) + "WHERE source_id = ? AND xid = ?").c_str(),
                    qlonglong(source_id), xid);
        if (q.next()) return channel_of(q);
    }
    SourceChannel c;
    QSqlQuery top = db.exec("SELECT COALESCE(MAX(id), 0) + 1 FROM source_channels");
    top.next();
    c.id = top.value(0).toLongLong();
    c.source_id = source_id;
    c.xid = xid;
    c.name = xid.toStdString();
    c.pos = 1 << 30;  // after the channels the source lists, until it lists this one
    c.own_channel = c.channel_id = new_own_channel(db, xid);
    db.exec(
        "INSERT INTO source_channels (id, source_id, xid, name, icon, pos, channel_id, "
        "own_channel, mapped) VALUES (?, ?, ?, ?, '', ?, ?, ?, 0)",
        qlonglong(c.id), qlonglong(source_id), xid, blob(c.name), qlonglong(c.pos), c.channel_id,
        c.own_channel);
    return c;
}

void map_channel(Database& db, std::int64_t source_id, const QString& xid, std::int32_t channel) {
    const SourceChannel c = source_channel(db, source_id, xid);
    if (channel == 0 || channel == c.own_channel) {
        db.exec("UPDATE source_channels SET channel_id = own_channel, mapped = 0 WHERE id = ?",
                qlonglong(c.id));
        return;
    }
    QSqlQuery other = db.exec(
        "SELECT xid FROM source_channels WHERE source_id = ? AND channel_id = ? AND id <> ?",
        qlonglong(source_id), channel, qlonglong(c.id));
    if (other.next())
        throw std::invalid_argument("channel " + std::to_string(channel) +
                                    " already takes this source's channel " +
                                    other.value(0).toString().toStdString());
    db.exec("UPDATE source_channels SET channel_id = ?, mapped = 1 WHERE id = ?", channel,
            qlonglong(c.id));
}

bool channel_known(Database& db, std::int32_t channel) {
    QSqlQuery q = db.exec(
        "SELECT 1 FROM channels WHERE id = ? UNION ALL "
        "SELECT 1 FROM source_channels WHERE own_channel = ?",
        channel, channel);
    return q.next();
}

}  // namespace zt::server
