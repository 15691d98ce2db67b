#include "server/marks.h"

#include <QDateTime>

namespace zt::server {

std::size_t store_marks(Database& db, const std::string& login,
                        const std::vector<protocol::MarkReport>& marks, MarkLimits limits) {
    std::size_t total = 0;
    for (const auto& m : marks) total += m.entries.size();
    if (total == 0 || limits.per_request == 0) return 0;
    const QByteArray account = blob(login);
    const QString received = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    std::size_t written = 0;
    Transaction tx(db);
    QSqlQuery insert = db.prepare(
        "INSERT INTO marks (login, channel_id, prog_id, state, received) VALUES (?, ?, ?, ?, ?)");
    for (const auto& m : marks) {
        for (const auto& e : m.entries) {
            if (written == limits.per_request) break;
            insert.bindValue(0, account);
            insert.bindValue(1, m.channel_id);
            insert.bindValue(2, e.prog_id);
            insert.bindValue(3, int(e.state));
            insert.bindValue(4, received);
            Database::run(insert);
            ++written;
        }
    }
    QSqlQuery count = db.exec("SELECT COUNT(*) FROM marks WHERE login = ?", account);
    const qlonglong rows = count.next() ? count.value(0).toLongLong() : 0;
    count.finish();
    if (rows > qlonglong(limits.per_account))
        db.exec(
            "DELETE FROM marks WHERE rowid IN (SELECT rowid FROM marks WHERE login = ? ORDER BY "
            "rowid LIMIT ?)",
            account, rows - qlonglong(limits.per_account));
    tx.commit();
    return written;
}

}  // namespace zt::server
