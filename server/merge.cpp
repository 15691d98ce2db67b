#include "server/merge.h"

#include <QBuffer>
#include <QImage>

#include <algorithm>
#include <set>

#include "core/cp1251.h"
#include "server/channel_data.h"
#include "server/sources_store.h"
#include "xmltv/xmltv_time.h"

namespace zt::server {

std::vector<MergedProgramme> merge_layers(std::vector<Layer> layers) {
    std::stable_sort(layers.begin(), layers.end(), [](const Layer& a, const Layer& b) {
        if (a.priority != b.priority) return a.priority > b.priority;
        return a.source_id < b.source_id;
    });
    std::map<std::int64_t, std::int64_t> taken;  // start -> finish, disjoint
    std::vector<MergedProgramme> out;
    for (Layer& layer : layers) {
        std::vector<MergedProgramme> added;
        for (SourceProgramme& p : layer.programmes) {
            if (p.finish <= p.start) continue;
            // The free stretches inside [start, finish): walk the taken intervals that touch it.
            std::int64_t best_from = 0, best_to = 0;
            std::int64_t cursor = p.start;
            auto it = taken.upper_bound(p.start);
            if (it != taken.begin()) --it;
            for (; it != taken.end() && it->first < p.finish; ++it) {
                if (it->second <= cursor) continue;
                if (it->first > cursor && it->first - cursor > best_to - best_from) {
                    best_from = cursor;
                    best_to = it->first;
                }
                cursor = std::max(cursor, it->second);
            }
            if (p.finish > cursor && p.finish - cursor > best_to - best_from) {
                best_from = cursor;
                best_to = p.finish;
            }
            const std::int64_t length = best_to - best_from;
            if (length < kMinPieceSeconds || 2 * length < p.finish - p.start) continue;
            p.start = best_from;
            p.finish = best_to;
            added.push_back({std::move(p), layer.source_id});
        }
        // A source's own programmes do not overlap, so they are added once the layer is done.
        for (const MergedProgramme& m : added) {
            taken.emplace(m.programme.start, m.programme.finish);
            out.push_back(m);
        }
    }
    std::sort(out.begin(), out.end(), [](const MergedProgramme& a, const MergedProgramme& b) {
        return a.programme.start < b.programme.start;
    });
    return out;
}

namespace {

struct Feeder final {
    std::int64_t source_channel = 0;
    std::int64_t source_id = 0;
    std::int64_t priority = 0;
    std::string name;  // CP1251
    QString icon;
    bool listed = false;  // the source's last read listed the channel
};

std::vector<SourceProgramme> layer_programmes(Database& db, std::int64_t source_channel,
                                              std::int64_t from) {
    std::vector<SourceProgramme> out;
    QSqlQuery q = db.exec(
        "SELECT start_utc, finish_utc, title, descr, family, sub, rating FROM source_programmes "
        "WHERE source_channel = ? AND finish_utc > ? ORDER BY start_utc",
        qlonglong(source_channel), qlonglong(from));
    while (q.next()) {
        SourceProgramme p;
        p.start = q.value(0).toLongLong();
        p.finish = q.value(1).toLongLong();
        p.title = bytes(q.value(2));
        p.descr = bytes(q.value(3));
        p.family = q.value(4).toInt();
        p.sub = q.value(5).toInt();
        p.rating = q.value(6).toInt();
        out.push_back(std::move(p));
    }
    return out;
}

// Seconds of a UTC instant in the schedule's wall-clock time, whole minutes.
DateTime wall_clock(xmltv::ZoneConverter& zone, std::int64_t utc) {
    return zone.to_local(utc).wholeMinute();
}

// Writes the merged programmes into days from `first_day` on; returns the days changed.
std::int64_t write_days(Database& db, std::int32_t channel,
                        const std::vector<MergedProgramme>& merged, xmltv::ZoneConverter& zone,
                        const std::string& first_day) {
    std::int64_t changed = 0;
    DayData day;
    std::string sources;
    std::int32_t last_id = 0;
    auto flush = [&] {
        if (day.progs.empty()) return;
        if (put_day(db, channel, day)) ++changed;
        QSqlQuery q =
            db.exec("SELECT source_ids FROM programme_sources WHERE channel_id = ? AND day = ?",
                    channel, QString::fromStdString(day.day));
        const bool known = q.next();
        if (!known || q.value(0).toString().toStdString() != sources) {
            if (known)
                db.exec(
                    "UPDATE programme_sources SET source_ids = ? WHERE channel_id = ? AND "
                    "day = ?",
                    QString::fromStdString(sources), channel, QString::fromStdString(day.day));
            else
                db.exec(
                    "INSERT INTO programme_sources (channel_id, day, source_ids) VALUES "
                    "(?, ?, ?)",
                    channel, QString::fromStdString(day.day), QString::fromStdString(sources));
        }
        day.progs.clear();
        sources.clear();
    };
    for (const MergedProgramme& m : merged) {
        const DateTime start = wall_clock(zone, m.programme.start);
        DateTime finish = wall_clock(zone, m.programme.finish);
        // A programme across the hour that repeats when clocks go back may end "before" it
        // starts on the wall clock: it keeps its real length.
        if (finish <= start)
            finish = start.addSeconds(m.programme.finish - m.programme.start).wholeMinute();
        if (finish <= start) continue;  // shorter than a minute once on the minute
        const std::string d = day_text(start);
        if (d < first_day) continue;
        if (d != day.day) {
            flush();
            day.day = d;
        }
        protocol::ProgEntry e;
        // The start minute is the id; the hour that repeats when clocks go back takes the next
        // free numbers, as the XMLTV ingest does.
        e.id = std::max<std::int32_t>(std::int32_t(start.minutes()), last_id + 1);
        last_id = e.id;
        e.start = start;
        e.finish = finish;
        e.type_family = std::uint8_t(std::max(m.programme.family, 0));
        e.type_sub = m.programme.family < 0 ? 0 : std::uint8_t(std::max(m.programme.sub, 0));
        e.rating = std::uint8_t(std::clamp(m.programme.rating, 0, 100));
        e.title = m.programme.title;
        e.descr = m.programme.descr;
        day.progs.push_back(std::move(e));
        if (!sources.empty()) sources += ',';
        sources += std::to_string(m.source_id);
    }
    flush();
    return changed;
}

}  // namespace

MergeResult merge_all(Database& db, const MergeOptions& options) {
    db.exec("DELETE FROM source_programmes WHERE finish_utc < ?", qlonglong(options.prune_before));

    // Every source channel with its source, the highest priority first, each source's channels
    // in the order of its last read.
    std::map<std::int32_t, std::vector<Feeder>> feeders;
    std::vector<std::int32_t> order;  // channels in the order they are first met
    std::map<std::string, std::vector<std::int32_t>> packages;
    QSqlQuery q = db.exec(
        "SELECT c.id, c.source_id, s.priority, c.name, c.icon, c.pos, c.channel_id, s.package "
        "FROM source_channels c JOIN sources s ON s.id = c.source_id "
        "ORDER BY s.priority DESC, s.id, c.pos, c.id");
    while (q.next()) {
        Feeder f;
        f.source_channel = q.value(0).toLongLong();
        f.source_id = q.value(1).toLongLong();
        f.priority = q.value(2).toLongLong();
        f.name = bytes(q.value(3));
        f.icon = q.value(4).toString();
        f.listed = q.value(5).toLongLong() < (1 << 30);
        const std::int32_t channel = q.value(6).toInt();
        auto& list = feeders[channel];
        if (list.empty()) order.push_back(channel);
        list.push_back(f);
        std::string package = q.value(7).toString().toStdString();
        if (package.empty()) package = "XMLTV";
        auto& members = packages[package];
        if (std::find(members.begin(), members.end(), channel) == members.end())
            members.push_back(channel);
    }

    MergeResult result;
    xmltv::ZoneConverter zone(options.zone);
    for (std::int32_t channel : order) {
        const std::vector<Feeder>& list = feeders[channel];
        // The name and logo of the highest source that lists the channel.
        const Feeder* named = &list.front();
        for (const Feeder& f : list)
            if (f.listed) {
                named = &f;
                break;
            }
        ChannelRow row{channel, named->name, "", "", "", ""};
        for (const Feeder& f : list) {
            if (f.icon.isEmpty()) continue;
            const QImage logo(f.icon);
            if (logo.isNull()) continue;
            row.logo16 = bmp_of(logo, 16);
            row.logo24 = bmp_of(logo, 24);
            row.logo32 = bmp_of(logo, 32);
            break;
        }
        put_channel(db, row);
        std::vector<Layer> layers;
        for (const Feeder& f : list)
            layers.push_back({f.source_id, f.priority,
                              layer_programmes(db, f.source_channel, options.prune_before)});
        const auto merged = merge_layers(std::move(layers));
        result.days_changed += write_days(db, channel, merged, zone, options.first_day);
        QSqlQuery before = db.exec("SELECT stamp FROM channels WHERE id = ?", channel);
        const QString old_stamp = before.next() ? before.value(0).toString() : QString();
        refresh_channel(db, channel);
        QSqlQuery after = db.exec("SELECT stamp FROM channels WHERE id = ?", channel);
        if (after.next() && after.value(0).toString() != old_stamp) ++result.channels_changed;
        ++result.channels;
    }
    for (const auto& [name, channels] : packages) put_package(db, to_cp1251(name), channels);
    db.set_meta("zone", options.zone.id());
    return result;
}

std::map<std::int32_t, std::map<std::int64_t, std::int64_t>> programmes_by_source(
    Database& db, const std::string& first_day) {
    std::map<std::int32_t, std::map<std::int64_t, std::int64_t>> out;
    QSqlQuery q = db.exec("SELECT channel_id, source_ids FROM programme_sources WHERE day >= ?",
                          QString::fromStdString(first_day));
    while (q.next()) {
        auto& counts = out[q.value(0).toInt()];
        for (const QString& id : q.value(1).toString().split(u',', Qt::SkipEmptyParts))
            ++counts[id.toLongLong()];
    }
    return out;
}

}  // namespace zt::server
