#include "server/schema.h"

#include "server/database.h"

namespace zt::server {

namespace {

constexpr const char* kVersionKey = "schema_version";

}  // namespace

const std::vector<Migration>& migrations() {
    // Texts are CP1251 bytes and pictures file images: both are kept as {blob}s.
    static const std::vector<Migration> all = {
        {1,
         {
             "CREATE TABLE IF NOT EXISTS meta (key TEXT PRIMARY KEY, value {blob} NOT NULL)",
             "CREATE TABLE IF NOT EXISTS accounts (login {blob} PRIMARY KEY, md5 TEXT NOT NULL, "
             "paid INTEGER NOT NULL, balance BIGINT NOT NULL, text1 {blob} NOT NULL, "
             "text3 {blob} NOT NULL)",
             // `details` is the compressed type-1 payload, rebuilt whenever the channel's data
             // changes.
             "CREATE TABLE IF NOT EXISTS channels (id INTEGER PRIMARY KEY, name {blob} NOT NULL, "
             "descr {blob} NOT NULL, stamp TEXT NOT NULL, logo16 {blob} NOT NULL, "
             "logo24 {blob} NOT NULL, logo32 {blob} NOT NULL, details {blob} NOT NULL)",
             // Channels of XMLTV files by their text id.
             "CREATE TABLE IF NOT EXISTS xmltv_channels (xid TEXT PRIMARY KEY, "
             "id INTEGER NOT NULL)",
             "CREATE TABLE IF NOT EXISTS packages (id INTEGER PRIMARY KEY, parent INTEGER NOT "
             "NULL, pos INTEGER NOT NULL, name {blob} NOT NULL, descr {blob} NOT NULL, "
             "picture16 {blob} NOT NULL, picture32 {blob} NOT NULL)",
             "CREATE TABLE IF NOT EXISTS package_channels (package_id INTEGER NOT NULL, pos "
             "INTEGER NOT NULL, channel_id INTEGER NOT NULL, shift {blob} NOT NULL, "
             "button {blob} NOT NULL, PRIMARY KEY (package_id, pos))",
             // One row a channel's day: the compressed payloads of its type-3 and type-2 blocks
             // (the latter empty when the day has no announcements) and a digest of both.
             "CREATE TABLE IF NOT EXISTS days (channel_id INTEGER NOT NULL, day TEXT NOT NULL, "
             "progs {blob} NOT NULL, anons {blob} NOT NULL, digest TEXT NOT NULL, "
             "PRIMARY KEY (channel_id, day)){without_rowid}",
             "CREATE TABLE IF NOT EXISTS marks ({rowid_column}login {blob} NOT NULL, "
             "channel_id INTEGER NOT NULL, prog_id INTEGER NOT NULL, state INTEGER NOT NULL, "
             "received TEXT NOT NULL)",
             // An account's rows are counted and its oldest removed at every report (marks.h).
             "CREATE INDEX IF NOT EXISTS marks_login ON marks (login)",
             "CREATE TABLE IF NOT EXISTS files (name TEXT PRIMARY KEY, data {blob} NOT NULL)",
         }},
        // Several XMLTV guides merged into one schedule (sources_store.h): ids are given
        // explicitly, upserts use the ON CONFLICT form both databases take.
        {2,
         {
             "CREATE TABLE IF NOT EXISTS sources (id INTEGER PRIMARY KEY, name TEXT NOT NULL "
             "UNIQUE, "
             "location TEXT NOT NULL, priority INTEGER NOT NULL, zone TEXT NOT NULL, "
             "package TEXT NOT NULL, genre_map TEXT NOT NULL, generation INTEGER NOT NULL, "
             "etag TEXT NOT NULL, last_modified TEXT NOT NULL, validator TEXT NOT NULL, "
             "last_good TEXT NOT NULL, last_error TEXT NOT NULL)",
             "CREATE TABLE IF NOT EXISTS source_channels (id INTEGER PRIMARY KEY, "
             "source_id INTEGER NOT NULL, xid TEXT NOT NULL, name {blob} NOT NULL, icon TEXT NOT "
             "NULL, "
             "pos INTEGER NOT NULL, channel_id INTEGER NOT NULL, own_channel INTEGER NOT NULL, "
             "mapped INTEGER NOT NULL, UNIQUE (source_id, xid))",
             // Times in seconds since 1970 UTC; `generation` is the source's read that wrote the
             // row.
             "CREATE TABLE IF NOT EXISTS source_programmes (source_channel INTEGER NOT NULL, "
             "start_utc BIGINT NOT NULL, finish_utc BIGINT NOT NULL, title {blob} NOT NULL, "
             "descr {blob} NOT NULL, family INTEGER NOT NULL, sub INTEGER NOT NULL, "
             "rating INTEGER NOT NULL, generation INTEGER NOT NULL, "
             "PRIMARY KEY (source_channel, start_utc))",
             // The source of every programme of a merged day: source ids in the day's programme
             // order, separated by commas.
             "CREATE TABLE IF NOT EXISTS programme_sources (channel_id INTEGER NOT NULL, "
             "day TEXT NOT NULL, source_ids TEXT NOT NULL, PRIMARY KEY (channel_id, day))",
         }},
    };
    return all;
}

int latest_schema_version() {
    return migrations().back().version;
}

// The only place where the two dialects' table definitions differ.
QString sql_for(Dialect dialect, const char* statement) {
    const bool pg = dialect == Dialect::PostgreSQL;
    QString sql = QString::fromUtf8(statement);
    sql.replace(QStringLiteral("{blob}"), pg ? QStringLiteral("BYTEA") : QStringLiteral("BLOB"));
    sql.replace(QStringLiteral("{without_rowid}"),
                pg ? QString() : QStringLiteral(" WITHOUT ROWID"));
    sql.replace(QStringLiteral("{rowid_column}"),
                pg ? QStringLiteral("rowid BIGSERIAL PRIMARY KEY, ") : QString());
    return sql;
}

namespace {

// The stored version; 0 for an empty database (or one made before versions were kept: its
// tables are the first version's, which every first-version statement leaves as they are).
int stored_version(Database& db) {
    const auto value = db.meta(kVersionKey);
    return value ? value->toInt() : 0;
}

void check_not_newer(int version) {
    if (version > latest_schema_version())
        throw db_error("the database has schema version " + std::to_string(version) +
                       ", newer than this program's " + std::to_string(latest_schema_version()) +
                       "; use a newer zorvan-server");
}

}  // namespace

void migrate(Database& db) {
    // The common case, a database already up to date, costs one read and no lock. A failed
    // read (no meta table yet) goes on to the locked path, which creates it.
    try {
        const int version = stored_version(db);
        check_not_newer(version);
        if (version == latest_schema_version()) return;
    } catch (const db_error&) {
        if (!db.connected()) throw;
    }
    Transaction tx(db, Transaction::Kind::Writer);
    db.exec_sql(sql_for(db.dialect(), migrations().front().statements.front()));
    const int version = stored_version(db);
    check_not_newer(version);
    for (const Migration& m : migrations()) {
        if (m.version <= version) continue;
        for (const char* statement : m.statements) db.exec_sql(sql_for(db.dialect(), statement));
    }
    db.set_meta(kVersionKey, QByteArray::number(latest_schema_version()));
    tx.commit();
}

}  // namespace zt::server
