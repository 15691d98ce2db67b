#include "server/database.h"

#include <QSqlError>

#include <atomic>

namespace zt::server {

namespace {

// Texts are CP1251 bytes and pictures file images: both are kept as BLOBs.
constexpr const char* kSchema[] = {
    "CREATE TABLE IF NOT EXISTS meta (key TEXT PRIMARY KEY, value BLOB NOT NULL)",
    "CREATE TABLE IF NOT EXISTS accounts (login BLOB PRIMARY KEY, md5 TEXT NOT NULL, "
    "paid INTEGER NOT NULL, balance INTEGER NOT NULL, text1 BLOB NOT NULL, text3 BLOB NOT NULL)",
    // `details` is the compressed type-1 payload, rebuilt whenever the channel's data changes.
    "CREATE TABLE IF NOT EXISTS channels (id INTEGER PRIMARY KEY, name BLOB NOT NULL, "
    "descr BLOB NOT NULL, stamp TEXT NOT NULL, logo16 BLOB NOT NULL, logo24 BLOB NOT NULL, "
    "logo32 BLOB NOT NULL, details BLOB NOT NULL)",
    // Channels of XMLTV files by their text id.
    "CREATE TABLE IF NOT EXISTS xmltv_channels (xid TEXT PRIMARY KEY, id INTEGER NOT NULL)",
    "CREATE TABLE IF NOT EXISTS packages (id INTEGER PRIMARY KEY, parent INTEGER NOT NULL, "
    "pos INTEGER NOT NULL, name BLOB NOT NULL, descr BLOB NOT NULL, picture16 BLOB NOT NULL, "
    "picture32 BLOB NOT NULL)",
    "CREATE TABLE IF NOT EXISTS package_channels (package_id INTEGER NOT NULL, pos INTEGER NOT "
    "NULL, channel_id INTEGER NOT NULL, shift BLOB NOT NULL, button BLOB NOT NULL, "
    "PRIMARY KEY (package_id, pos))",
    // One row a channel's day: the compressed payloads of its type-3 and type-2 blocks (the
    // latter empty when the day has no announcements) and a digest of both.
    "CREATE TABLE IF NOT EXISTS days (channel_id INTEGER NOT NULL, day TEXT NOT NULL, "
    "progs BLOB NOT NULL, anons BLOB NOT NULL, digest TEXT NOT NULL, "
    "PRIMARY KEY (channel_id, day)) WITHOUT ROWID",
    "CREATE TABLE IF NOT EXISTS marks (login BLOB NOT NULL, channel_id INTEGER NOT NULL, "
    "prog_id INTEGER NOT NULL, state INTEGER NOT NULL, received TEXT NOT NULL)",
    // An account's rows are counted and its oldest removed at every report (marks.h).
    "CREATE INDEX IF NOT EXISTS marks_login ON marks (login)",
    "CREATE TABLE IF NOT EXISTS files (name TEXT PRIMARY KEY, data BLOB NOT NULL)",
};

QString next_connection_name() {
    static std::atomic<int> counter{0};
    return QStringLiteral("zt_server_%1").arg(++counter);
}

}  // namespace

Database::Database(const QString& path) : m_path(path), m_name(next_connection_name()) {
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    m_db.setDatabaseName(path);
    // Readers wait for a writer's commit instead of failing at once.
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    if (!m_db.open())
        throw db_error("cannot open the database " + path.toStdString() + ": " +
                       m_db.lastError().text().toStdString());
    // Write-ahead logging: serving goes on while an ingest writes, and a killed ingest leaves
    // the last committed data.
    exec("PRAGMA journal_mode=WAL");
    exec("PRAGMA synchronous=NORMAL");
    // Serving reads the stored blocks: mapped pages and a larger page cache spare the copies
    // and system calls of reading them again for every request.
    exec("PRAGMA mmap_size=1073741824");
    exec("PRAGMA cache_size=-65536");
    for (const char* sql : kSchema) exec(sql);
}

Database::~Database() {
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

QSqlQuery Database::prepare(const char* sql) {
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!q.prepare(QString::fromUtf8(sql)))
        throw db_error(std::string("cannot prepare: ") + sql + ": " +
                       q.lastError().text().toStdString());
    return q;
}

void Database::run(QSqlQuery& query) {
    if (!query.exec())
        throw db_error("statement failed: " + query.lastQuery().toStdString() + ": " +
                       query.lastError().text().toStdString());
}

void Database::begin() {
    if (!m_db.transaction()) throw db_error("cannot begin a transaction");
}

void Database::commit() {
    if (!m_db.commit()) throw db_error("commit failed: " + m_db.lastError().text().toStdString());
}

void Database::rollback() {
    m_db.rollback();
}

std::optional<QByteArray> Database::meta(const char* key) {
    QSqlQuery q = exec("SELECT value FROM meta WHERE key = ?", QString::fromUtf8(key));
    if (!q.next()) return std::nullopt;
    return q.value(0).toByteArray();
}

void Database::set_meta(const char* key, const QByteArray& value) {
    exec(
        "INSERT INTO meta (key, value) VALUES (?, ?) ON CONFLICT(key) DO UPDATE SET value = "
        "excluded.value",
        QString::fromUtf8(key), value);
}

}  // namespace zt::server
