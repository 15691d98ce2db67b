#include "server/channel_data.h"

#include <QBuffer>
#include <QImage>

#include "core/text_helpers.h"
#include "net/protocol/login_reply.h"

namespace zt::server {

std::string day_text(DateTime t) {
    return protocol::format_minute(t).substr(0, 10);
}

bool put_channel(Database& db, const ChannelRow& c) {
    QSqlQuery q =
        db.exec("SELECT name, descr, logo16, logo24, logo32 FROM channels WHERE id = ?", c.id);
    if (q.next()) {
        if (bytes(q.value(0)) == c.name && bytes(q.value(1)) == c.descr &&
            bytes(q.value(2)) == c.logo16 && bytes(q.value(3)) == c.logo24 &&
            bytes(q.value(4)) == c.logo32)
            return false;
        db.exec(
            "UPDATE channels SET name = ?, descr = ?, logo16 = ?, logo24 = ?, logo32 = ? "
            "WHERE id = ?",
            blob(c.name), blob(c.descr), blob(c.logo16), blob(c.logo24), blob(c.logo32), c.id);
        return true;
    }
    db.exec(
        "INSERT INTO channels (id, name, descr, stamp, logo16, logo24, logo32, details) "
        "VALUES (?, ?, ?, '', ?, ?, ?, ?)",
        c.id, blob(c.name), blob(c.descr), blob(c.logo16), blob(c.logo24), blob(c.logo32),
        empty_blob());
    return true;
}

bool put_day(Database& db, std::int32_t channel_id, const DayData& day) {
    std::string progs = protocol::encode_programmes(day.progs);
    std::string anons =
        day.anons.empty() ? std::string() : protocol::encode_announcements(day.anons);
    const std::string digest = md5_hex(progs + '\0' + anons);
    QSqlQuery q = db.exec("SELECT digest FROM days WHERE channel_id = ? AND day = ?", channel_id,
                          QString::fromStdString(day.day));
    if (q.next() && q.value(0).toString().toStdString() == digest) return false;
    progs = protocol::compress_payload(std::move(progs));
    if (!anons.empty()) anons = protocol::compress_payload(std::move(anons));
    db.exec(
        "INSERT INTO days (channel_id, day, progs, anons, digest) VALUES (?, ?, ?, ?, ?) "
        "ON CONFLICT(channel_id, day) DO UPDATE SET progs = excluded.progs, "
        "anons = excluded.anons, digest = excluded.digest",
        channel_id, QString::fromStdString(day.day), blob(progs), blob(anons),
        QString::fromStdString(digest));
    return true;
}

void refresh_channel(Database& db, std::int32_t channel_id) {
    QSqlQuery q = db.exec(
        "SELECT name, descr, logo16, logo24, logo32, stamp FROM channels "
        "WHERE id = ?",
        channel_id);
    if (!q.next()) return;
    protocol::ChannelDetails d{bytes(q.value(0)), bytes(q.value(1)), "",
                               bytes(q.value(2)), bytes(q.value(3)), bytes(q.value(4))};
    const std::string old_stamp = q.value(5).toString().toStdString();
    std::string all = d.name + '\0' + d.descr + '\0' + md5_hex(d.logo16 + d.logo24 + d.logo32);
    QSqlQuery days =
        db.exec("SELECT day, digest FROM days WHERE channel_id = ? ORDER BY day", channel_id);
    while (days.next())
        all += days.value(0).toString().toStdString() + days.value(1).toString().toStdString();
    d.stamp = md5_hex(all).substr(0, 8);
    if (d.stamp == old_stamp) return;
    const std::string details = protocol::compress_payload(protocol::encode_channel_details(d));
    db.exec("UPDATE channels SET stamp = ?, details = ? WHERE id = ?",
            QString::fromStdString(d.stamp), blob(details), channel_id);
}

void replace_packages(Database& db, const std::vector<protocol::PaketRecord>& pakets) {
    db.exec("DELETE FROM package_channels");
    db.exec("DELETE FROM packages");
    int pos = 0;
    for (const auto& p : pakets) {
        db.exec(
            "INSERT INTO packages (id, parent, pos, name, descr, picture16, picture32) "
            "VALUES (?, ?, ?, ?, ?, ?, ?)",
            p.id, p.parent, pos++, blob(p.name), blob(p.descr), blob(p.picture16),
            blob(p.picture32));
        int entry = 0;
        for (const auto& e : p.entries)
            db.exec(
                "INSERT INTO package_channels (package_id, pos, channel_id, shift, button) "
                "VALUES (?, ?, ?, ?, ?)",
                p.id, entry++, e.channel_id, blob(e.shift), blob(e.button));
    }
}

void put_package(Database& db, const std::string& name, const std::vector<std::int32_t>& channels) {
    QSqlQuery q = db.exec("SELECT id FROM packages WHERE name = ?", blob(name));
    std::int32_t id = 0;
    if (q.next()) {
        id = q.value(0).toInt();
        db.exec("DELETE FROM package_channels WHERE package_id = ?", id);
    } else {
        QSqlQuery top = db.exec(
            "SELECT COALESCE(MAX(id), 0) + 1, COALESCE(MAX(pos), -1) + 1 "
            "FROM packages");
        top.next();
        id = top.value(0).toInt();
        db.exec(
            "INSERT INTO packages (id, parent, pos, name, descr, picture16, picture32) "
            "VALUES (?, 0, ?, ?, ?, ?, ?)",
            id, top.value(1).toInt(), blob(name), empty_blob(), empty_blob(), empty_blob());
    }
    int entry = 0;
    for (std::int32_t c : channels)
        db.exec(
            "INSERT INTO package_channels (package_id, pos, channel_id, shift, button) "
            "VALUES (?, ?, ?, ?, ?)",
            id, entry++, c, empty_blob(), empty_blob());
}

std::string bmp_of(const QImage& image, int size) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB888)
        .save(&buffer, "BMP");
    return bytes.toStdString();
}

}  // namespace zt::server
