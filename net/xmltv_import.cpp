#include "net/xmltv_import.h"

#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <limits>
#include <map>
#include <set>

#include "core/cp1251.h"
#include "core/store.h"
#include "net/apply_paket_list.h"
#include "net/protocol/import_layout.h"
#include "net/protocol/login_reply.h"
#include "net/xmltv_day.h"
#include "storage/field_codec.h"
#include "xmltv/xmltv_reader.h"

namespace zt::net {

namespace {

bool ends_with_ci(const std::string& text, const std::string& tail) {
    if (text.size() < tail.size()) return false;
    return QString::fromStdString(text.substr(text.size() - tail.size()))
               .compare(QString::fromStdString(tail), Qt::CaseInsensitive) == 0;
}

// Collects the file's channels and their programmes by day, the days in [from, to) only: the
// rest is counted and let go as the file streams, so memory holds three weeks of the file at
// most, however far it reaches.
class CollectSink final : public xmltv::Sink {
public:
    struct FileChannel final {
        QString xid;
        std::string name;
        std::map<std::string, std::vector<protocol::ProgEntry>> days;
        // The last day counted outside (as a day number), as programmes come in order.
        std::int64_t last_outside = std::numeric_limits<std::int64_t>::min();
        // The day the last programme went into: its number and its list (map nodes stay put).
        std::int64_t open_number = 0;
        std::vector<protocol::ProgEntry>* open_day = nullptr;
    };

    CollectSink(DateTime from, DateTime to) : m_from(from), m_to(to) {}

    void channel(const xmltv::Channel& c) override {
        FileChannel& f = find(c.id);
        if (!c.name.empty()) f.name = c.name;
    }

    void programme(const xmltv::Programme& p) override {
        FileChannel& f = find(p.channel_id);
        const std::int64_t number = p.start.dayNumber();
        if (p.start < m_from || p.start >= m_to) {
            ++programmes_outside;
            // Days come in rising order; a later copy's programmes filling gaps come back to
            // days already counted.
            if (number > f.last_outside) {
                f.last_outside = number;
                ++days_outside;
            }
            return;
        }
        // Days are told apart by their number; the text is made once a day.
        if (!f.open_day || number != f.open_number) {
            f.open_day = &f.days[protocol::format_minute(p.start).substr(0, 10)];
            f.open_number = number;
        }
        auto& day = *f.open_day;
        place_in_day(day, entry_of(p));
    }

    std::vector<FileChannel> channels;
    std::int64_t days_outside = 0;
    std::int64_t programmes_outside = 0;

private:
    FileChannel& find(const QString& xid) {
        // Programmes of one channel come in runs: the channel is looked up when it changes.
        if (m_last < channels.size() && channels[m_last].xid == xid) return channels[m_last];
        auto it = m_index.find(xid);
        if (it == m_index.end()) {
            it = m_index.emplace(xid, channels.size()).first;
            // A channel used without its <channel> element is listed under its id.
            channels.push_back({xid, to_cp1251(xid.toStdString()), {}});
        }
        m_last = it->second;
        return channels[m_last];
    }
    std::size_t m_last = 0;  // index of the channel looked up last
    std::map<QString, std::size_t> m_index;
    DateTime m_from;
    DateTime m_to;
};

// Ids for the file's channels: a store channel's of the same name, else the derived id, moved
// on past ids already taken.
std::vector<std::int32_t> channel_ids(const std::vector<CollectSink::FileChannel>& channels,
                                      const all_list& store) {
    std::set<std::int32_t> taken;
    for (const auto& c : store.channels) taken.insert(c->id);
    std::vector<std::int32_t> ids;
    std::set<std::int32_t> used;
    for (const auto& f : channels) {
        std::int32_t id = 0;
        for (const auto& c : store.channels)
            if (c->name == f.name && !used.count(c->id)) {
                id = c->id;
                break;
            }
        if (id == 0) {
            id = xmltv_channel_id(f.xid);
            while (taken.count(id) || used.count(id))
                id = id == INT32_MAX ? std::int32_t(1) << 30 : id + 1;
        }
        used.insert(id);
        ids.push_back(id);
    }
    return ids;
}

}  // namespace

bool is_xmltv_file(const std::string& path) {
    return ends_with_ci(path, ".xml") || ends_with_ci(path, ".xml.gz");
}

std::string xmltv_package_name(const std::string& path) {
    QString name = QFileInfo(QString::fromStdString(path)).fileName();
    for (const char* tail : {".xml.gz", ".xml"})
        if (name.endsWith(QLatin1String(tail), Qt::CaseInsensitive)) {
            name.chop(qsizetype(std::strlen(tail)));
            break;
        }
    return name.toStdString();
}

std::int32_t xmltv_channel_id(const QString& xid) {
    // FNV-1a over the UTF-8 bytes: stable across runs (Qt's own hash is seeded per process).
    std::uint32_t h = 2166136261u;
    for (const char ch : xid.toUtf8()) {
        h ^= std::uint8_t(ch);
        h *= 16777619u;
    }
    return std::int32_t((h & 0x3FFFFFFFu) | 0x40000000u);
}

std::optional<ImportSession> XmltvFileOpen(const std::string& path, const all_list& store,
                                           UserInterface& ui, DownloadHost& host,
                                           const QTimeZone& zone, const QString& genre_map) {
    if (path.empty()) {
        ui.show_msg(MsgKind::Error, "Файл не выбран.");
        return std::nullopt;
    }
    host.job_begin("Обработка данных...", false, true);
    // The weeks the store keeps: maintenance removes days before the previous week's Monday
    // less a day, and nothing reaches past the next week.
    const DateTime monday = monday_of_week(store.clock().today());
    CollectSink sink(monday.addDays(-8), monday.addDays(14));
    xmltv::ReadOptions options;
    options.zone = zone;
    options.genre_map_path = genre_map;
    int shown = -1;
    options.progress = [&](std::int64_t done, std::int64_t total) {
        const int percent = total > 0 ? int(std::min<std::int64_t>(done * 100 / total, 100)) : 0;
        if (percent != shown) host.job_progress(shown = percent);
    };
    const xmltv::ReadResult read = xmltv::read_file(QString::fromStdString(path), options, sink);
    if (!read.ok || sink.channels.empty()) {
        host.job_end();
        const std::string why =
            read.ok ? "В файле нет ни одного канала." : read.message.toStdString();
        ui.show_msg(MsgKind::Error,
                    "Ошибка данных.\r\n" + why + "\r\n\"" + shorten_path(path) + "\"");
        return std::nullopt;
    }

    // The file as an import file: one package of all its channels, then its days.
    const std::vector<std::int32_t> ids = channel_ids(sink.channels, store);
    protocol::PaketList list;
    protocol::PaketRecord paket;
    paket.id = 1;
    paket.name = to_cp1251(xmltv_package_name(path));
    paket.descr = to_cp1251("Каналы файла XMLTV ") + paket.name + ".";
    std::vector<protocol::ImportDay> days;
    for (std::size_t i = 0; i < sink.channels.size(); ++i) {
        auto& f = sink.channels[i];
        list.channels.push_back({ids[i], f.name, "", "", "", "", ""});
        paket.entries.push_back({ids[i], "", ""});
        for (auto& [day, progs] : f.days) days.push_back({ids[i], day, std::move(progs)});
        f.days.clear();
    }
    list.pakets.push_back(std::move(paket));

    std::string file = protocol::write_import_file(list, days);
    days.clear();
    auto session = ImportSessionFromFile(std::move(file), store, ui, host);
    if (session) {
        session->xmltv = read;
        session->days_outside = sink.days_outside;
        session->programmes_outside = sink.programmes_outside;
    }
    return session;
}

std::optional<ImportSession> ScheduleFileOpen(const std::string& path, const all_list& store,
                                              UserInterface& ui, DownloadHost& host,
                                              const QString& genre_map) {
    if (is_xmltv_file(path))
        return XmltvFileOpen(path, store, ui, host, QTimeZone::systemTimeZone(), genre_map);
    return ImportFileOpen(path, store, ui, host);
}

}  // namespace zt::net
