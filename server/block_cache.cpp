#include "server/block_cache.h"

#include <QUuid>

namespace zt::server {

void bump_generation(Database& db) {
    db.set_meta("generation", QUuid::createUuid().toByteArray());
}

std::shared_ptr<const BlockCache::Snapshot> BlockCache::current(Database& db) {
    const auto now = std::chrono::steady_clock::now();
    {
        std::lock_guard lock(m_mutex);
        if (m_snapshot && now - m_checked < kRecheck) return m_snapshot;
    }
    const QByteArray generation = db.meta("generation").value_or(QByteArray());
    std::lock_guard lock(m_mutex);
    m_checked = now;
    if (m_snapshot && m_snapshot->generation == generation) return m_snapshot;
    auto snapshot = std::make_shared<Snapshot>();
    Transaction read(db, Transaction::Kind::Snapshot);
    snapshot->generation = db.meta("generation").value_or(QByteArray());
    const QByteArray zone_id = db.meta("zone").value_or(QTimeZone::systemTimeZoneId());
    snapshot->zone = QTimeZone(zone_id);
    if (!snapshot->zone.isValid()) snapshot->zone = QTimeZone::systemTimeZone();
    QSqlQuery c = db.exec("SELECT id, stamp, details FROM channels");
    while (c.next())
        snapshot->channels[c.value(0).toInt()] = {
            c.value(1).toString().toStdString(), c.value(2).toByteArray(), {}};
    QSqlQuery d = db.exec("SELECT channel_id, day, progs, anons FROM days");
    while (d.next()) {
        auto it = snapshot->channels.find(d.value(0).toInt());
        if (it != snapshot->channels.end())
            it->second.days[d.value(1).toString().toStdString()] = {d.value(2).toByteArray(),
                                                                    d.value(3).toByteArray()};
    }
    read.commit();
    m_snapshot = std::move(snapshot);
    return m_snapshot;
}

}  // namespace zt::server
