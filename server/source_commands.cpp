// The operator's commands for several guides: source, channel and grab.
#include <QDateTime>
#include <QFileInfo>
#include <QTimeZone>

#include <cstdio>
#include <map>
#include <set>
#include <stdexcept>

#include "core/cp1251.h"
#include "net/protocol/login_reply.h"
#include "net/protocol/schedule_reply.h"
#include "server/commands.h"
#include "server/database.h"
#include "server/grab.h"
#include "server/name_match.h"
#include "server/source_fetch.h"
#include "server/sources_store.h"

namespace zt::server {

namespace {

long long whole_number(const std::string& name, const std::string& text) {
    std::size_t used = 0;
    long long v = 0;
    try {
        v = std::stoll(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (text.empty() || used != text.size())
        throw std::invalid_argument("--" + name + " wants a whole number, got: " + text);
    return v;
}

QString db_of(const Options& opt) {
    return QString::fromStdString(opt.need("db"));
}

std::string absolute(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();
}

// Splits "sub --a b NAME" into the subcommand, the options and one bare word (if any).
struct Split final {
    std::string sub;
    std::vector<std::string> options;
    std::string word;
};

Split split(const std::vector<std::string>& args, const std::vector<std::string>& with_value) {
    Split s;
    if (args.empty()) throw std::invalid_argument("a subcommand is missing");
    s.sub = args[0];
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) == 0) {
            s.options.push_back(a);
            const bool takes =
                std::find(with_value.begin(), with_value.end(), a.substr(2)) != with_value.end();
            if (takes && i + 1 < args.size()) s.options.push_back(args[++i]);
        } else if (s.word.empty()) {
            s.word = a;
        } else {
            throw std::invalid_argument("unexpected argument " + a);
        }
    }
    return s;
}

std::string utf8(const std::string& cp1251) {
    return to_utf8(cp1251);
}

Source need_source(Database& db, const std::string& name) {
    const auto s = find_source(db, name);
    if (!s) throw std::invalid_argument("no source named " + name);
    return *s;
}

std::string channel_name(Database& db, std::int32_t id) {
    QSqlQuery q = db.exec("SELECT name FROM channels WHERE id = ?", id);
    if (q.next()) return utf8(bytes(q.value(0)));
    QSqlQuery s = db.exec("SELECT name FROM source_channels WHERE own_channel = ?", id);
    return s.next() ? utf8(bytes(s.value(0))) : std::string();
}

int source_add(const Options& opt) {
    Database db(db_of(opt));
    Source s;
    s.name = opt.need("name");
    if (s.name.empty()) throw std::invalid_argument("--name must not be empty");
    s.location = opt.need("xmltv");
    if (!is_url(s.location)) {
        if (s.location.find("://") != std::string::npos)
            throw std::invalid_argument("only http:// and https:// addresses or paths: " +
                                        s.location);
        s.location = absolute(s.location);
    }
    s.priority = whole_number("priority", opt.need("priority"));
    s.zone = opt.get("zone");
    if (!s.zone.empty() && !QTimeZone(QByteArray::fromStdString(s.zone)).isValid())
        throw std::invalid_argument("unknown time zone " + s.zone);
    s.package = opt.get("package");
    if (opt.has("genre-map")) s.genre_map = absolute(opt.get("genre-map"));
    const bool existed = find_source(db, s.name).has_value();
    put_source(db, s);
    std::printf("source %s %s: priority %lld, %s\n", s.name.c_str(), existed ? "changed" : "added",
                static_cast<long long>(s.priority), s.location.c_str());
    return 0;
}

int source_list(const Options& opt) {
    Database db(db_of(opt));
    const auto sources = list_sources(db);
    if (sources.empty()) std::printf("no sources\n");
    for (const Source& s : sources) {
        QSqlQuery n = db.exec(
            "SELECT COUNT(*) FROM source_programmes WHERE source_channel IN "
            "(SELECT id FROM source_channels WHERE source_id = ?)",
            qlonglong(s.id));
        n.next();
        std::printf("%s\tpriority %lld\t%s\n", s.name.c_str(), static_cast<long long>(s.priority),
                    s.location.c_str());
        std::printf("\tzone %s, package %s%s%s\n", s.zone.empty() ? "(none)" : s.zone.c_str(),
                    s.package.empty() ? "XMLTV" : s.package.c_str(),
                    s.genre_map.empty() ? "" : ", genre map ", s.genre_map.c_str());
        std::printf("\t%zu channels, %lld programmes kept; last good read %s%s%s\n",
                    source_channels(db, s.id).size(), n.value(0).toLongLong(),
                    s.last_good.empty() ? "never" : (s.last_good + " UTC").c_str(),
                    s.last_error.empty() ? "" : "; last read FAILED: ", s.last_error.c_str());
    }
    return 0;
}

int source_remove(const Options& opt, const std::string& word) {
    Database db(db_of(opt));
    const std::string name = word.empty() ? opt.need("name") : word;
    Transaction tx(db);
    if (!remove_source(db, name)) throw std::invalid_argument("no source named " + name);
    tx.commit();
    std::printf("source %s removed; the next grab merges without it\n", name.c_str());
    return 0;
}

int channel_map(const Options& opt) {
    Database db(db_of(opt));
    const Source s = need_source(db, opt.need("source"));
    const QString xid = QString::fromStdString(opt.need("xmltv-id"));
    const std::string target = opt.need("channel");
    const std::int32_t channel =
        target == "own" ? 0 : std::int32_t(whole_number("channel", target));
    if (channel < 0) throw std::invalid_argument("--channel wants a channel number or own");
    Transaction tx(db);
    if (channel != 0 && !channel_known(db, channel) &&
        source_channel(db, s.id, xid).own_channel != channel)
        throw std::invalid_argument("there is no channel " + target);
    map_channel(db, s.id, xid, channel);
    const SourceChannel c = source_channel(db, s.id, xid);
    tx.commit();
    std::printf("source %s channel %s -> channel %d %s%s\n", s.name.c_str(),
                xid.toStdString().c_str(), c.channel_id, channel_name(db, c.channel_id).c_str(),
                c.mapped ? "" : " (its own)");
    return 0;
}

int channel_list(const Options& opt) {
    Database db(db_of(opt));
    for (const Source& s : list_sources(db))
        for (const SourceChannel& c : source_channels(db, s.id))
            std::printf("%s\t%s\t%s\t-> channel %d%s\n", s.name.c_str(),
                        c.xid.toStdString().c_str(), utf8(c.name).c_str(), c.channel_id,
                        c.mapped ? " (mapped)" : "");
    return 0;
}

// Proposes, for every channel of a lower source that is not mapped, the channel of a higher
// source with the same name key (or the same XMLTV id); only one-to-one matches are proposed.
int channel_suggest(const Options& opt) {
    Database db(db_of(opt));
    const bool accept = opt.has("accept");
    struct Known final {
        std::set<std::int32_t> channels;
        std::string source, name;
    };
    std::map<std::string, Known> by_key, by_xid;
    int proposed = 0;
    Transaction tx(db);
    for (const Source& s : list_sources(db)) {
        const auto channels = source_channels(db, s.id);
        std::vector<std::pair<std::string, std::string>> adds;  // key -> after this source
        std::map<std::int32_t, int> wanted;  // targets of this source's proposals
        std::vector<std::pair<const SourceChannel*, std::int32_t>> proposals;
        for (const SourceChannel& c : channels) {
            if (c.mapped) continue;
            const std::string key = channel_name_key(c.name);
            const Known* match = nullptr;
            if (auto it = by_xid.find(c.xid.toStdString());
                it != by_xid.end() && it->second.channels.size() == 1)
                match = &it->second;
            else if (auto k = by_key.find(key);
                     !key.empty() && k != by_key.end() && k->second.channels.size() == 1)
                match = &k->second;
            if (!match || *match->channels.begin() == c.channel_id) continue;
            proposals.emplace_back(&c, *match->channels.begin());
            ++wanted[*match->channels.begin()];
        }
        std::map<std::int64_t, std::int32_t> target_of;
        for (const auto& [c, target] : proposals) {
            if (wanted[target] > 1) continue;  // two channels of one source: not one-to-one
            const auto known = by_key.find(channel_name_key(c->name));
            const std::string from = known != by_key.end() ? known->second.source : "";
            std::printf("source %s channel %s \"%s\" is channel %d \"%s\"%s\n", s.name.c_str(),
                        c->xid.toStdString().c_str(), utf8(c->name).c_str(), target,
                        channel_name(db, target).c_str(),
                        from.empty() ? "" : (" of source " + from).c_str());
            std::printf(
                "  zorvan-server channel map --db %s --source %s --xmltv-id %s "
                "--channel %d\n",
                opt.get("db").c_str(), s.name.c_str(), c->xid.toStdString().c_str(), target);
            ++proposed;
            target_of[c->id] = target;
            if (accept) map_channel(db, s.id, c->xid, target);
        }
        // This source's channels become candidates for the lower ones.
        for (const SourceChannel& c : channels) {
            const std::int32_t channel = target_of.count(c.id) ? target_of[c.id] : c.channel_id;
            const std::string key = channel_name_key(c.name);
            for (auto* index : {&by_key, &by_xid}) {
                const std::string k = index == &by_key ? key : c.xid.toStdString();
                if (k.empty()) continue;
                Known& known = (*index)[k];
                known.channels.insert(channel);
                if (known.source.empty()) {
                    known.source = s.name;
                    known.name = c.name;
                }
            }
        }
    }
    tx.commit();
    if (proposed == 0)
        std::printf("nothing to propose\n");
    else if (accept)
        std::printf("%d mappings made; the next grab merges them\n", proposed);
    else
        std::printf("%d proposals; run the commands shown, or again with --accept\n", proposed);
    return 0;
}

int channel_show(const Options& opt) {
    Database db(db_of(opt));
    const std::int32_t channel = std::int32_t(whole_number("channel", opt.need("channel")));
    std::map<std::int64_t, std::string> names;
    for (const Source& s : list_sources(db)) names[s.id] = s.name;
    std::printf("channel %d %s\n", channel, channel_name(db, channel).c_str());
    QSqlQuery q = db.exec(
        "SELECT d.day, d.progs, p.source_ids FROM days d LEFT JOIN programme_sources p ON "
        "p.channel_id = d.channel_id AND p.day = d.day WHERE d.channel_id = ? AND d.day >= ? "
        "AND d.day <= ? ORDER BY d.day",
        channel, QString::fromStdString(opt.get("from", opt.get("day", "0000-00-00"))),
        QString::fromStdString(opt.get("to", opt.get("day", "9999-99-99"))));
    while (q.next()) {
        const auto progs =
            protocol::decode_programmes(protocol::inflate_payload(bytes(q.value(1))));
        const QStringList ids = q.value(2).toString().split(u',', Qt::SkipEmptyParts);
        for (std::size_t i = 0; i < progs.size(); ++i) {
            const auto& p = progs[i];
            std::string source = "-";
            if (qsizetype(i) < ids.size()) {
                const auto it = names.find(ids[qsizetype(i)].toLongLong());
                source = it != names.end() ? it->second : "(removed source)";
            }
            std::printf("%s-%s\t%s\t%s\n", protocol::format_minute(p.start).c_str(),
                        protocol::format_minute(p.finish).substr(11).c_str(), source.c_str(),
                        utf8(p.title).c_str());
        }
    }
    return 0;
}

}  // namespace

int cmd_source(const std::vector<std::string>& args) {
    const std::vector<std::string> values = {"db",   "name",    "xmltv",    "priority",
                                             "zone", "package", "genre-map"};
    const Split s = split(args, values);
    if (s.sub == "add") return source_add(Options(s.options, values, {}));
    if (s.sub == "list") return source_list(Options(s.options, {"db"}, {}));
    if (s.sub == "remove") return source_remove(Options(s.options, {"db", "name"}, {}), s.word);
    throw std::invalid_argument("source wants add, list or remove");
}

int cmd_channel(const std::vector<std::string>& args) {
    const std::vector<std::string> values = {"db",  "source", "xmltv-id", "channel",
                                             "day", "from",   "to"};
    const Split s = split(args, values);
    if (!s.word.empty()) throw std::invalid_argument("unexpected argument " + s.word);
    if (s.sub == "map") return channel_map(Options(s.options, values, {}));
    if (s.sub == "suggest") return channel_suggest(Options(s.options, {"db"}, {"accept"}));
    if (s.sub == "show") return channel_show(Options(s.options, values, {}));
    if (s.sub == "list") return channel_list(Options(s.options, {"db"}, {}));
    throw std::invalid_argument("channel wants map, suggest, show or list");
}

int cmd_grab(const std::vector<std::string>& args) {
    const Options opt(args, {"db", "at", "max-size-mb", "deadline", "keep-days"}, {"force"});
    GrabOptions options;
    options.force = opt.has("force");
    if (opt.has("max-size-mb"))
        options.max_bytes = whole_number("max-size-mb", opt.get("max-size-mb")) * 1024 * 1024;
    if (opt.has("deadline"))
        options.deadline_seconds = int(whole_number("deadline", opt.get("deadline")));
    if (opt.has("keep-days"))
        options.keep_days = int(whole_number("keep-days", opt.get("keep-days")));
    if (options.max_bytes <= 0 || options.deadline_seconds <= 0 || options.keep_days <= 0)
        throw std::invalid_argument("--max-size-mb, --deadline and --keep-days must be positive");
    if (opt.has("at")) {
        const auto at = protocol::parse_minute(opt.get("at"));
        if (!at)
            throw std::invalid_argument("--at wants \"yyyy-MM-dd hh:mm\" (UTC), got: " +
                                        opt.get("at"));
        options.now_utc = at->seconds() - kUnixEpochSeconds;
    }
    const GrabReport report = grab(db_of(opt), options);
    std::fputs(report.text.c_str(), stdout);
    std::fflush(stdout);
    if (report.failed > 0) {
        std::fprintf(stderr, "zorvan-server: %d of %d sources failed; their last good data stays\n",
                     report.failed, report.sources);
        return 1;
    }
    return 0;
}

}  // namespace zt::server
