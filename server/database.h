#pragma once

#include <QByteArray>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zt::server {

// A database failure (the file cannot be opened, a statement fails).
class db_error final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One connection to the server's SQLite database, for the thread that created it (Qt SQL
// connections belong to one thread). Every statement is prepared with bound values.
class Database final {
public:
    // Opens (and creates when missing) the database file and its tables.
    explicit Database(const QString& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // A prepared statement; throws db_error when it does not prepare.
    QSqlQuery prepare(const char* sql);
    // Executes a prepared statement; throws db_error on failure.
    static void run(QSqlQuery& query);
    // Prepares, binds the values in order and executes.
    template <class... Values>
    QSqlQuery exec(const char* sql, const Values&... values) {
        QSqlQuery q = prepare(sql);
        (q.addBindValue(QVariant::fromValue(values)), ...);
        run(q);
        return q;
    }

    void begin();
    void commit();
    void rollback();

    // Small settings of the server (version code, update script, zone).
    std::optional<QByteArray> meta(const char* key);
    void set_meta(const char* key, const QByteArray& value);

    const QString& path() const { return m_path; }

private:
    QString m_path;
    QString m_name;
    QSqlDatabase m_db;
};

// Rolls back unless committed.
class Transaction final {
public:
    explicit Transaction(Database& db) : m_db(db) { m_db.begin(); }
    ~Transaction() {
        if (!m_done) m_db.rollback();
    }
    void commit() {
        m_db.commit();
        m_done = true;
    }

private:
    Database& m_db;
    bool m_done = false;
};

// Bytes of a std::string as a BLOB value and back.
inline QByteArray blob(std::string_view s) {
    return QByteArray(s.data(), qsizetype(s.size()));
}
inline std::string bytes(const QVariant& v) {
    return v.toByteArray().toStdString();
}

}  // namespace zt::server
