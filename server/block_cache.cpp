#include "server/block_cache.h"

#include <QUuid>

#include <algorithm>

namespace zt::server {

int day_number(std::string_view t) {
    auto digits = [&](std::size_t at, std::size_t n) {
        int v = 0;
        for (std::size_t i = at; i < at + n; ++i) {
            if (t[i] < '0' || t[i] > '9') return -1;
            v = v * 10 + (t[i] - '0');
        }
        return v;
    };
    if (t.size() != 10 || t[4] != '-' || t[7] != '-') return -1;
    const int y = digits(0, 4), m = digits(5, 2), d = digits(8, 2);
    if (y < 0 || m < 1 || m > 12 || d < 1 || d > 31) return -1;
    return (y * 12 + (m - 1)) * 31 + (d - 1);
}

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
        std::string text = d.value(1).toString().toStdString();
        const int number = day_number(text);
        if (it != snapshot->channels.end() && number >= 0)
            it->second.days.push_back(
                {number, std::move(text), d.value(2).toByteArray(), d.value(3).toByteArray()});
    }
    for (auto& [id, channel] : snapshot->channels)
        std::sort(channel.days.begin(), channel.days.end(),
                  [](const Day& a, const Day& b) { return a.number < b.number; });
    read.commit();
    m_snapshot = std::move(snapshot);
    return m_snapshot;
}

}  // namespace zt::server
