#include "server/block_cache.h"

#include <QUuid>

#include <algorithm>
#include <limits>

#include "net/protocol/schedule_reply.h"

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
    const auto zone_id = db.meta("zone");
    snapshot->zone = QTimeZone(zone_id.value_or(QTimeZone::systemTimeZoneId()));
    if (!snapshot->zone.isValid()) snapshot->zone = QTimeZone::systemTimeZone();
    // Both in the order of the stored bytes: channels by id, their days by date.
    std::string bytes;
    auto append = [&](protocol::BlockType type, std::int32_t id, std::string_view day,
                      const QByteArray& data) {
        Span span{bytes.size(), 0};
        protocol::append_block(bytes, type, id, day,
                               std::string_view(data.constData(), std::size_t(data.size())));
        span.size = bytes.size() - span.offset;
        return span;
    };
    // The channels first: a PostgreSQL connection reads one result at a time.
    struct Row final {
        std::int32_t id;
        std::string stamp;
        QByteArray details;
    };
    std::vector<Row> rows;
    QSqlQuery c = db.exec("SELECT id, stamp, details FROM channels ORDER BY id");
    while (c.next())
        rows.push_back(
            {c.value(0).toInt(), c.value(1).toString().toStdString(), c.value(2).toByteArray()});
    c.finish();
    // Each channel's details block goes before its days.
    std::size_t next = 0;
    Channel* open = nullptr;
    auto open_up_to = [&](std::int64_t id) {
        for (; next < rows.size() && rows[next].id <= id; ++next) {
            Channel& channel = snapshot->channels[rows[next].id];
            channel.stamp = std::move(rows[next].stamp);
            channel.details =
                append(protocol::BlockType::Channel, rows[next].id, {}, rows[next].details);
            open = &channel;
        }
    };
    QSqlQuery d =
        db.exec("SELECT channel_id, day, progs, anons FROM days ORDER BY channel_id, day");
    while (d.next()) {
        const std::int32_t id = d.value(0).toInt();
        open_up_to(id);
        // Days of channels that are not listed are left out.
        if (next == 0 || rows[next - 1].id != id) continue;
        const std::string text = d.value(1).toString().toStdString();
        const int number = day_number(text);
        if (number < 0) continue;
        Day day;
        day.number = number;
        const QByteArray anons = d.value(3).toByteArray();
        if (!anons.isEmpty())
            day.anons = append(protocol::BlockType::Announcements, id, text, anons);
        day.progs = append(protocol::BlockType::Programmes, id, text, d.value(2).toByteArray());
        open->days.push_back(day);
    }
    d.finish();
    open_up_to(std::numeric_limits<std::int64_t>::max());
    // Stored days sort as their text does; the numbers are sorted all the same.
    for (auto& [id, channel] : snapshot->channels)
        std::stable_sort(channel.days.begin(), channel.days.end(),
                         [](const Day& a, const Day& b) { return a.number < b.number; });
    read.commit();
    bytes.shrink_to_fit();
    snapshot->blocks = std::move(bytes);
    m_snapshot = std::move(snapshot);
    return m_snapshot;
}

}  // namespace zt::server
