#include "server/channel_data.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QImage>

#include <zlib.h>
#ifdef ZT_HAVE_ISAL
#include <isa-l/igzip_lib.h>
#endif

#include <memory>
#include <new>

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

namespace {

// zlib at level 1, one deflater for the thread, reset for every block.
std::string zlib_block(std::string_view payload) {
    struct Deflater final {
        z_stream zs{};
        bool ready = false;
        std::string out;
        ~Deflater() {
            if (ready) deflateEnd(&zs);
        }
    };
    thread_local Deflater d;
    if (!d.ready) {
        if (deflateInit(&d.zs, 1) != Z_OK) throw std::bad_alloc();
        d.ready = true;
    } else {
        deflateReset(&d.zs);
    }
    d.out.resize(deflateBound(&d.zs, uLong(payload.size())));
    d.zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(payload.data()));
    d.zs.avail_in = uInt(payload.size());
    d.zs.next_out = reinterpret_cast<Bytef*>(d.out.data());
    d.zs.avail_out = uInt(d.out.size());
    if (deflate(&d.zs, Z_FINISH) != Z_STREAM_END) throw std::bad_alloc();
    // The two header bytes are left out; the reader puts them back.
    return std::string(d.out.data() + 2, d.zs.total_out - 2);
}

}  // namespace

std::string compress_block(std::string_view payload) {
    // A day is a few kilobytes: one pass on this thread, with no set-up to speak of.
#ifdef ZT_HAVE_ISAL
    thread_local std::unique_ptr<std::uint8_t[]> level_buf(new std::uint8_t[ISAL_DEF_LVL1_DEFAULT]);
    isal_zstream zs;
    isal_deflate_stateless_init(&zs);
    zs.level = 1;
    zs.level_buf = level_buf.get();
    zs.level_buf_size = ISAL_DEF_LVL1_DEFAULT;
    // Deflate data and the Adler-32 trailer: a zlib stream without its two header bytes.
    zs.gzip_flag = IGZIP_ZLIB_NO_HDR;
    zs.end_of_stream = 1;
    zs.flush = NO_FLUSH;
    // Stored blocks bound the deflate data: 5 bytes for each 64 KB, then the trailer.
    std::string out(payload.size() + payload.size() / 1024 * 5 / 64 + 64, '\0');
    zs.next_in = reinterpret_cast<std::uint8_t*>(const_cast<char*>(payload.data()));
    zs.avail_in = std::uint32_t(payload.size());
    zs.next_out = reinterpret_cast<std::uint8_t*>(out.data());
    zs.avail_out = std::uint32_t(out.size());
    if (payload.size() < UINT32_MAX / 2 && isal_deflate_stateless(&zs) == COMP_OK &&
        zs.avail_in == 0) {
        out.resize(zs.total_out);
        return out;
    }
#endif
    return zlib_block(payload);
}

bool put_day(Database& db, std::int32_t channel_id, const DayData& day, const std::string* stored,
             std::string* digest_out) {
    const std::string progs = protocol::encode_programmes(day.progs);
    const std::string anons =
        day.anons.empty() ? std::string() : protocol::encode_announcements(day.anons);
    // The digest of the programmes, a zero byte and the announcements.
    QCryptographicHash hash(QCryptographicHash::Md5);
    hash.addData(QByteArrayView(progs.data(), qsizetype(progs.size())));
    hash.addData(QByteArrayView("\0", 1));
    hash.addData(QByteArrayView(anons.data(), qsizetype(anons.size())));
    std::string digest = hash.result().toHex().toStdString();
    const QString day_text = QString::fromStdString(day.day);
    bool same = false;
    if (stored) {
        same = *stored == digest;
    } else {
        QSqlQuery q = db.exec("SELECT digest FROM days WHERE channel_id = ? AND day = ?",
                              channel_id, day_text);
        same = q.next() && q.value(0).toString().toStdString() == digest;
        q.finish();
    }
    if (digest_out) *digest_out = digest;
    if (same) return false;
    db.exec(
        "INSERT INTO days (channel_id, day, progs, anons, digest) VALUES (?, ?, ?, ?, ?) "
        "ON CONFLICT(channel_id, day) DO UPDATE SET progs = excluded.progs, "
        "anons = excluded.anons, digest = excluded.digest",
        channel_id, day_text, blob(compress_block(progs)),
        anons.empty() ? empty_blob() : blob(compress_block(anons)), QString::fromStdString(digest));
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
    const std::string details = compress_block(protocol::encode_channel_details(d));
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
