#include "server/grab.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QTimeZone>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <future>
#include <map>
#include <semaphore>
#include <stdexcept>

#include "core/cp1251.h"
#include "core/text_helpers.h"
#include "server/block_cache.h"
#include "server/channel_data.h"
#include "server/source_fetch.h"
#include "server/sources_store.h"
#include "xmltv/read_report.h"
#include "xmltv/xmltv_reader.h"
#include "xmltv/xmltv_time.h"

namespace zt::server {

namespace {

// What a reader thread hands the writer: the records of one source in a file of their own, so
// that several sources are read at once while memory stays flat. Record: a tag byte ('C'
// channel, 'P' programme), then its fields (numbers as 8 bytes, texts as a 4-byte length and
// the bytes).
class SpoolWriter final : public xmltv::Sink {
public:
    explicit SpoolWriter(const QString& path) : m_file(path) {
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw std::runtime_error("cannot write " + path.toStdString());
    }
    void channel(const xmltv::Channel& c) override {
        m_buf += 'C';
        text(c.id.toUtf8().toStdString());
        text(c.name);
        text(m_icons ? c.icon_path.toUtf8().toStdString() : std::string());
        spill();
    }
    void programme(const xmltv::Programme& p) override {
        m_buf += 'P';
        text(p.channel_id.toUtf8().toStdString());
        number(p.start.seconds() - kUnixEpochSeconds);
        number(p.finish.seconds() - kUnixEpochSeconds);
        text(p.title);
        text(p.descr);
        number(p.type_family);
        number(p.type_sub);
        number(p.rating);
        spill();
    }
    void finish() {
        spill(true);
        m_file.close();
    }
    void keep_icons(bool on) { m_icons = on; }

private:
    void number(std::int64_t v) { m_buf.append(reinterpret_cast<const char*>(&v), sizeof v); }
    void text(const std::string& s) {
        const std::uint32_t n = std::uint32_t(s.size());
        m_buf.append(reinterpret_cast<const char*>(&n), sizeof n);
        m_buf += s;
    }
    void spill(bool all = false) {
        if (!all && m_buf.size() < (1 << 20)) return;
        if (m_file.write(m_buf.data(), qint64(m_buf.size())) != qint64(m_buf.size()))
            throw std::runtime_error("cannot write " + m_file.fileName().toStdString());
        m_buf.clear();
    }
    QFile m_file;
    std::string m_buf;
    bool m_icons = true;
};

class SpoolReader final {
public:
    explicit SpoolReader(const QString& path) : m_file(path) {
        if (!m_file.open(QIODevice::ReadOnly))
            throw std::runtime_error("cannot read " + path.toStdString());
    }
    // The next record's tag, 0 at the end.
    char next() {
        if (!fill(1)) return 0;
        return m_buf[m_pos++];
    }
    std::int64_t number() {
        std::int64_t v = 0;
        need(sizeof v);
        std::memcpy(&v, m_buf.data() + m_pos, sizeof v);
        m_pos += sizeof v;
        return v;
    }
    std::string text() {
        std::uint32_t n = 0;
        need(sizeof n);
        std::memcpy(&n, m_buf.data() + m_pos, sizeof n);
        m_pos += sizeof n;
        need(n);
        std::string s(m_buf.data() + m_pos, n);
        m_pos += n;
        return s;
    }

private:
    bool fill(std::size_t n) {
        if (m_buf.size() - m_pos >= n) return true;
        m_buf.erase(0, m_pos);
        m_pos = 0;
        while (m_buf.size() < n) {
            char chunk[1 << 16];
            const qint64 got = m_file.read(chunk, sizeof chunk);
            if (got <= 0) return false;
            m_buf.append(chunk, std::size_t(got));
        }
        return true;
    }
    void need(std::size_t n) {
        if (!fill(n))
            throw std::runtime_error("the spool file " + m_file.fileName().toStdString() +
                                     " ends early");
    }
    QFile m_file;
    std::string m_buf;
    std::size_t m_pos = 0;
};

struct ReadOutcome final {
    enum class State { read, unchanged, failed };
    State state = State::failed;
    std::string error;
    std::string how;  // why unchanged
    QString spool;
    xmltv::ReadResult read;
    std::string validator, etag, last_modified;
};

// What a source's data depends on besides its content: the category table it is read with.
std::string options_validator(const Source& s) {
    std::string v = "genre-map:" + s.genre_map;
    if (!s.genre_map.empty()) {
        const QFileInfo info(QString::fromStdString(s.genre_map));
        v += ":" + std::to_string(info.size()) + ":" +
             std::to_string(info.lastModified().toMSecsSinceEpoch());
    }
    return v;
}

ReadOutcome read_source(const Source& s, const GrabOptions& options, const QString& work_dir) {
    ReadOutcome out;
    try {
        const std::string settings = options_validator(s);
        QString path = QString::fromStdString(s.location);
        const bool same_settings =
            !options.force && !s.validator.empty() && s.validator.rfind(settings, 0) == 0;
        if (is_url(s.location)) {
            FetchRequest request;
            request.url = s.location;
            if (same_settings) {
                request.etag = s.etag;
                request.last_modified = s.last_modified;
            }
            request.max_bytes = options.max_bytes;
            request.deadline_seconds = options.deadline_seconds;
            request.out_path = QDir(work_dir).filePath(QStringLiteral("download-%1").arg(s.id));
            request.cancelled = options.cancelled;
            const FetchResult fetched = fetch_url(request);
            if (fetched.kind == FetchResult::Kind::failed) {
                out.error = fetched.error;
                return out;
            }
            out.etag = fetched.etag.empty() ? s.etag : fetched.etag;
            out.last_modified =
                fetched.last_modified.empty() ? s.last_modified : fetched.last_modified;
            out.validator = settings;
            if (fetched.kind == FetchResult::Kind::not_modified) {
                out.state = ReadOutcome::State::unchanged;
                out.how = "HTTP 304, not modified";
                return out;
            }
            path = request.out_path;
        } else {
            const QFileInfo info(path);
            if (!info.isFile()) {
                out.error = "no file " + s.location;
                return out;
            }
            out.validator = settings + "|file:" + std::to_string(info.size()) + ":" +
                            std::to_string(info.lastModified().toMSecsSinceEpoch());
            if (same_settings && out.validator == s.validator) {
                out.state = ReadOutcome::State::unchanged;
                out.how = "the file is unchanged";
                return out;
            }
        }
        out.spool = QDir(work_dir).filePath(QStringLiteral("records-%1").arg(s.id));
        SpoolWriter spool(out.spool);
        // Icons are taken only from a local file's folder, never from a download's.
        spool.keep_icons(!is_url(s.location));
        xmltv::ReadOptions read_options;
        read_options.zone = QTimeZone::utc();
        read_options.genre_map_path = QString::fromStdString(s.genre_map);
        read_options.cancelled = options.cancelled;
        out.read = xmltv::read_file(path, read_options, spool);
        spool.finish();
        if (is_url(s.location)) QFile::remove(path);
        if (!out.read.ok) {
            out.error = out.read.message.toStdString();
            if (out.read.line > 0 &&
                out.error.find(std::to_string(out.read.line)) == std::string::npos)
                out.error += " (line " + std::to_string(out.read.line) + ")";
            return out;
        }
        out.state = ReadOutcome::State::read;
    } catch (const std::exception& e) {
        out.state = ReadOutcome::State::failed;
        out.error = e.what();
    }
    return out;
}

std::string now_text(std::int64_t utc) {
    return QDateTime::fromSecsSinceEpoch(utc, QTimeZone::utc())
        .toString(QStringLiteral("yyyy-MM-dd hh:mm"))
        .toStdString();
}

// Stores a source's records in one transaction: each channel the read lists is brought up to
// date, and for each channel the programmes of the read replace the stored ones that overlap
// the stretch the read covers; what lies outside it, and channels the read does not name, stay.
void store_source(Database& db, const Source& s, const ReadOutcome& outcome, std::int64_t now) {
    Transaction tx(db);
    const qlonglong generation = s.generation + 1;
    std::map<QString, std::int64_t> ids;
    struct Span final {
        std::int64_t from = 0, to = 0;
    };
    std::map<std::int64_t, Span> spans;
    auto id_of = [&](const QString& xid) {
        auto it = ids.find(xid);
        if (it != ids.end()) return it->second;
        return ids.emplace(xid, source_channel(db, s.id, xid).id).first->second;
    };
    QSqlQuery update_channel =
        db.prepare("UPDATE source_channels SET name = ?, icon = ?, pos = ? WHERE id = ?");
    QSqlQuery put = db.prepare(
        "INSERT INTO source_programmes (source_channel, start_utc, finish_utc, title, descr, "
        "family, sub, rating, generation) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?) "
        "ON CONFLICT (source_channel, start_utc) DO UPDATE SET finish_utc = excluded.finish_utc, "
        "title = excluded.title, descr = excluded.descr, family = excluded.family, "
        "sub = excluded.sub, rating = excluded.rating, generation = excluded.generation");
    SpoolReader spool(outcome.spool);
    qlonglong pos = 0;
    for (char tag = spool.next(); tag != 0; tag = spool.next()) {
        if (tag == 'C') {
            const QString xid = QString::fromUtf8(spool.text());
            std::string name = spool.text();
            const QString icon = QString::fromUtf8(spool.text());
            if (name.empty()) name = xid.toStdString();
            update_channel.bindValue(0, blob(name));
            update_channel.bindValue(1, icon);
            update_channel.bindValue(2, pos++);
            update_channel.bindValue(3, qlonglong(id_of(xid)));
            Database::run(update_channel);
        } else if (tag == 'P') {
            const std::int64_t channel = id_of(QString::fromUtf8(spool.text()));
            const std::int64_t start = spool.number();
            const std::int64_t finish = spool.number();
            put.bindValue(0, qlonglong(channel));
            put.bindValue(1, qlonglong(start));
            put.bindValue(2, qlonglong(finish));
            put.bindValue(3, blob(spool.text()));
            put.bindValue(4, blob(spool.text()));
            put.bindValue(5, int(spool.number()));
            put.bindValue(6, int(spool.number()));
            put.bindValue(7, int(spool.number()));
            put.bindValue(8, generation);
            Database::run(put);
            auto [it, fresh] = spans.try_emplace(channel, Span{start, finish});
            if (!fresh) {
                it->second.from = std::min(it->second.from, start);
                it->second.to = std::max(it->second.to, finish);
            }
        } else {
            throw std::runtime_error("the spool file of source " + s.name + " is damaged");
        }
    }
    QSqlQuery stale = db.prepare(
        "DELETE FROM source_programmes WHERE source_channel = ? AND start_utc < ? AND "
        "finish_utc > ? AND generation <> ?");
    for (const auto& [channel, span] : spans) {
        stale.bindValue(0, qlonglong(channel));
        stale.bindValue(1, qlonglong(span.to));
        stale.bindValue(2, qlonglong(span.from));
        stale.bindValue(3, generation);
        Database::run(stale);
    }
    db.exec(
        "UPDATE sources SET generation = ?, etag = ?, last_modified = ?, validator = ?, "
        "last_good = ?, last_error = '' WHERE id = ?",
        generation, QString::fromStdString(outcome.etag),
        QString::fromStdString(outcome.last_modified), QString::fromStdString(outcome.validator),
        QString::fromStdString(now_text(now)), qlonglong(s.id));
    tx.commit();
}

// Everything the merged schedule depends on besides the programmes themselves.
std::string merge_settings(Database& db, const QByteArray& zone, std::int64_t first_day_utc) {
    std::string all = zone.toStdString() + "|" + std::to_string(first_day_utc / 86400);
    for (const Source& s : list_sources(db)) {
        all += "|" + std::to_string(s.id) + ":" + std::to_string(s.priority) + ":" + s.package;
        for (const SourceChannel& c : source_channels(db, s.id))
            all += "|" + c.xid.toStdString() + "=" + std::to_string(c.channel_id) + "@" +
                   std::to_string(c.pos) + ":" + c.icon.toStdString();
    }
    return md5_hex(all);
}

// The schedule's zone: that of the highest source naming one, else the one stored, else the
// system's.
QTimeZone schedule_zone(Database& db, const std::vector<Source>& sources) {
    for (const Source& s : sources) {
        if (s.zone.empty()) continue;
        QTimeZone zone(QByteArray::fromStdString(s.zone));
        if (zone.isValid()) return zone;
    }
    if (const auto stored = db.meta("zone")) {
        QTimeZone zone(*stored);
        if (zone.isValid()) return zone;
    }
    return QTimeZone::systemTimeZone();
}

// One grab at a time on a database: an exclusive lock on a file beside it.
class GrabLock final {
public:
    explicit GrabLock(const QString& db_path) {
        const QByteArray path = QFile::encodeName(db_path + QStringLiteral(".grab-lock"));
        m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (m_fd < 0) throw std::runtime_error("cannot open the lock file " + path.toStdString());
        if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(m_fd);
            throw std::runtime_error("another grab is running on " + db_path.toStdString());
        }
    }
    ~GrabLock() { ::close(m_fd); }
    GrabLock(const GrabLock&) = delete;
    GrabLock& operator=(const GrabLock&) = delete;

private:
    int m_fd = -1;
};

std::string utf8(const std::string& cp1251) {
    return to_utf8(cp1251);
}

}  // namespace

GrabReport grab(const QString& db_path, const GrabOptions& options) {
    GrabLock lock(db_path);
    Database db(db_path);
    GrabReport report;
    const std::vector<Source> sources = list_sources(db);
    report.sources = int(sources.size());
    const std::int64_t now = options.now_utc.value_or(QDateTime::currentSecsSinceEpoch());

    // Downloads and reads in parallel, into spool files beside the database.
    const QString folder = QFileInfo(db_path).absolutePath();
    QTemporaryDir work(QDir(folder).filePath(QStringLiteral(".grab-XXXXXX")));
    if (!work.isValid())
        throw std::runtime_error("cannot make a work folder in " + folder.toStdString());
    // At most as many reads at once as the machine has processors (two at least: a download
    // waits on the network more than on the processor).
    std::counting_semaphore<> read_slots(std::max<std::ptrdiff_t>(2, QThread::idealThreadCount()));
    std::vector<std::future<ReadOutcome>> reads;
    for (const Source& s : sources)
        reads.push_back(std::async(std::launch::async, [&read_slots, s, &options, &work] {
            read_slots.acquire();
            ReadOutcome outcome = read_source(s, options, work.path());
            read_slots.release();
            return outcome;
        }));

    std::vector<std::string> source_lines;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const Source& s = sources[i];
        // Stored in priority order as each read is done, while later ones are still read.
        ReadOutcome outcome = reads[i].get();
        if (options.cancelled && options.cancelled()) throw std::runtime_error("grab cancelled");
        std::string line = "source " + s.name + " (priority " + std::to_string(s.priority) + "): ";
        if (outcome.state == ReadOutcome::State::read) {
            try {
                store_source(db, s, outcome, now);
            } catch (const std::exception& e) {
                outcome.state = ReadOutcome::State::failed;
                outcome.error = e.what();
            }
        }
        if (!outcome.spool.isEmpty()) QFile::remove(outcome.spool);
        switch (outcome.state) {
            case ReadOutcome::State::read:
                ++report.read;
                line += "read " + std::to_string(outcome.read.channels) + " channels, " +
                        std::to_string(outcome.read.programmes) + " programmes, skipped " +
                        std::to_string(xmltv::programmes_left_out(outcome.read));
                if (const std::string counts = xmltv::counts_text(outcome.read); !counts.empty()) {
                    std::string first = counts.substr(0, counts.find('\n'));
                    line += " (" + first + ")";
                }
                break;
            case ReadOutcome::State::unchanged:
                ++report.unchanged;
                line += "not read, " + outcome.how;
                // A 304 may bring a fresher validator; the stored data stays as it is.
                db.exec(
                    "UPDATE sources SET etag = ?, last_modified = ?, last_error = '' WHERE id = ?",
                    QString::fromStdString(outcome.etag),
                    QString::fromStdString(outcome.last_modified), qlonglong(s.id));
                break;
            case ReadOutcome::State::failed:
                ++report.failed;
                line += "FAILED: " + outcome.error + "; its data of the last good read (" +
                        (s.last_good.empty() ? std::string("none") : s.last_good) + ") stays";
                db.exec("UPDATE sources SET last_error = ? WHERE id = ?",
                        QString::fromStdString(outcome.error), qlonglong(s.id));
                break;
        }
        source_lines.push_back(line);
    }

    const QTimeZone zone = schedule_zone(db, sources);
    xmltv::ZoneConverter convert(zone);
    const std::int64_t cutoff = now - std::int64_t(options.keep_days) * 86400;
    MergeOptions merge;
    merge.zone = zone;
    merge.first_day = day_text(convert.to_local(cutoff).addDays(1).date());
    merge.prune_before = cutoff;
    const std::string settings = merge_settings(db, zone.id(), cutoff);
    const bool settings_changed =
        db.meta("sources_merged").value_or(QByteArray()).toStdString() != settings;
    if (report.read > 0 || settings_changed || options.force) {
        Transaction tx(db);
        report.merge = merge_all(db, merge);
        db.set_meta("sources_merged", QByteArray::fromStdString(settings));
        if (report.merge.days_changed > 0 || report.merge.channels_changed > 0 || settings_changed)
            bump_generation(db);
        tx.commit();
        report.merged = true;
    }

    // What each source gave to the merged schedule, and each channel from which sources.
    const auto counts = programmes_by_source(db, merge.first_day);
    std::map<std::int64_t, std::int64_t> used;
    std::map<std::int64_t, std::string> names;
    for (const Source& s : sources) names[s.id] = s.name;
    std::string channel_lines;
    QSqlQuery channels = db.exec(
        "SELECT DISTINCT c.channel_id, ch.name FROM source_channels c "
        "LEFT JOIN channels ch ON ch.id = c.channel_id ORDER BY c.channel_id");
    while (channels.next()) {
        const std::int32_t id = channels.value(0).toInt();
        channel_lines +=
            "channel " + std::to_string(id) + " " + utf8(bytes(channels.value(1))) + ":";
        const auto it = counts.find(id);
        if (it == counts.end() || it->second.empty()) {
            channel_lines += " no programmes\n";
            continue;
        }
        bool first = true;
        for (const auto& [source, n] : it->second) {
            used[source] += n;
            channel_lines += (first ? " " : ", ") + std::to_string(n) + " from " +
                             (names.count(source) ? names[source] : "a removed source");
            first = false;
        }
        channel_lines += "\n";
    }
    for (std::size_t i = 0; i < sources.size(); ++i)
        report.text += source_lines[i] + "; used " + std::to_string(used[sources[i].id]) + "\n";
    report.text += channel_lines;
    report.text += "summary: " + std::to_string(report.sources) + " sources (" +
                   std::to_string(report.read) + " read, " + std::to_string(report.unchanged) +
                   " unchanged, " + std::to_string(report.failed) + " failed); ";
    if (report.merged)
        report.text += std::to_string(report.merge.channels) + " channels merged, " +
                       std::to_string(report.merge.days_changed) + " days changed, " +
                       std::to_string(report.merge.channels_changed) + " stamps changed\n";
    else
        report.text += "nothing changed, the merged schedule stays as it is\n";
    return report;
}

}  // namespace zt::server

namespace zt::server {

std::chrono::seconds parse_duration(const std::string& text) {
    std::size_t used = 0;
    long long n = 0;
    try {
        n = std::stoll(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    const std::string unit = used > 0 ? text.substr(used) : std::string();
    long long scale = 0;
    if (unit.empty() || unit == "s")
        scale = 1;
    else if (unit == "m")
        scale = 60;
    else if (unit == "h")
        scale = 3600;
    else if (unit == "d")
        scale = 86400;
    if (used == 0 || scale == 0 || n <= 0 || n > 366LL * 86400 / scale)
        throw std::invalid_argument("a duration is a positive number with s, m, h or d, got: " +
                                    text);
    return std::chrono::seconds(n * scale);
}

PeriodicGrab::PeriodicGrab(QString db_path, std::chrono::seconds every,
                           std::optional<std::int64_t> now_utc)
    : m_db_path(std::move(db_path)), m_every(every), m_now(now_utc), m_thread([this] { run(); }) {}

PeriodicGrab::~PeriodicGrab() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void PeriodicGrab::run() {
    while (!m_stop) {
        const auto started = std::chrono::steady_clock::now();
        std::fprintf(stderr, "zorvan-server: grab started\n");
        std::fflush(stderr);
        try {
            GrabOptions options;
            options.cancelled = [this] { return m_stop.load(); };
            options.now_utc = m_now;
            const GrabReport report = grab(m_db_path, options);
            const auto took = std::chrono::duration_cast<std::chrono::seconds>(
                std::chrono::steady_clock::now() - started);
            // Every line of the report on a log line of its own.
            std::string text;
            std::size_t from = 0;
            while (from < report.text.size()) {
                std::size_t end = report.text.find('\n', from);
                if (end == std::string::npos) end = report.text.size();
                text += "zorvan-server: grab: " + report.text.substr(from, end - from) + "\n";
                from = end + 1;
            }
            std::fprintf(stderr, "%szorvan-server: grab ended in %lld s%s\n", text.c_str(),
                         static_cast<long long>(took.count()),
                         report.failed > 0 ? ", some sources FAILED" : "");
        } catch (const std::exception& e) {
            std::fprintf(stderr, "zorvan-server: grab failed: %s\n", e.what());
        }
        std::fflush(stderr);
        std::unique_lock lock(m_mutex);
        m_wake.wait_for(lock, m_every, [this] { return m_stop.load(); });
    }
}

}  // namespace zt::server
