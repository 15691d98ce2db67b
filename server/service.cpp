#include "server/service.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTimeZone>

#include <algorithm>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "core/cp1251.h"
#include "net/protocol/login_reply.h"
#include "net/protocol/paket_list.h"
#include "net/protocol/schedule_reply.h"
#include "net/protocol/schedule_request.h"
#include "net/protocol/text_reply.h"
#include "server/channel_data.h"
#include "server/folder_file.h"
#include "server/marks.h"
#include "storage/field_codec.h"

namespace zt::server {

namespace {

std::string param(const Params& params, const char* name) {
    auto it = params.find(name);
    return it == params.end() ? std::string() : it->second;
}

DateTime from_qt(const QDateTime& t) {
    const QDate d = t.date();
    const QTime tm = t.time();
    return *DateTime::fromParts(d.year(), d.month(), d.day(), tm.hour(), tm.minute());
}

QDateTime to_qt(DateTime t, const QTimeZone& zone) {
    int y = 0, m = 0, d = 0;
    t.toParts(y, m, d);
    return QDateTime(QDate(y, m, d), QTime(t.hour(), t.minute()), zone);
}

// The moment of the call: the clock, or the fixed moment in the server's zone (which changes
// only with an ingest, so the snapshot's is current).
QDateTime now_utc(const ServiceOptions& options, const BlockCache::Snapshot& snapshot) {
    if (options.now) return to_qt(*options.now, snapshot.zone).toUTC();
    return QDateTime::currentDateTimeUtc();
}

struct Account final {
    bool known = false;  // false: a free user without login fields
    bool paid = false;
    std::string login, balance, text1, text3;
};

// The account named by the login fields; nothing when the login is unknown or the digest wrong.
std::optional<Account> authenticate(Database& db, const Params& params) {
    const std::string login = param(params, "l");
    if (login.empty()) return Account{};
    QSqlQuery q = db.exec("SELECT md5, paid, balance, text1, text3 FROM accounts WHERE login = ?",
                          blob(login));
    if (!q.next()) return std::nullopt;
    if (QString::fromStdString(param(params, "p")).toLower() != q.value(0).toString())
        return std::nullopt;
    return Account{true,
                   q.value(1).toInt() != 0,
                   login,
                   std::to_string(q.value(2).toLongLong()),
                   bytes(q.value(3)),
                   bytes(q.value(4))};
}

const char* kBadLogin = "Неверный логин или пароль.";

}  // namespace

std::size_t Reply::size() const {
    if (!stored) return body.size();
    std::size_t n = 0;
    for (const Span& p : pieces) n += p.size;
    return n;
}

std::string Reply::flat() const {
    if (!stored) return body;
    std::string out;
    out.reserve(size());
    for (const Span& p : pieces) out.append(*stored, p.offset, p.size);
    return out;
}

Reply error_reply(std::string_view message_utf8) {
    return {200, protocol::write_error_reply(to_cp1251(message_utf8)), "text/plain"};
}

Reply Service::call(Database& db, const Params& params, std::string_view body) const {
    const std::string func = param(params, "func");
    if (func == "login_check") return login_check(db, params);
    if (func == "get_paket") return get_paket(db);
    if (func == "get_tvprog") return get_tvprog(db, params, body);
    if (func == "update") return update(db);
    if (func == "get_file") return get_file(db, param(params, "name"));
    return error_reply("Неизвестный запрос.");
}

Reply Service::login_check(Database& db, const Params& params) const {
    const auto account = authenticate(db, params);
    if (!account) return error_reply(kBadLogin);
    protocol::LoginReply r;
    r.paid = account->paid;
    if (account->known) {
        r.text1 = account->text1.empty()
                      ? to_cp1251(account->paid ? "Платный доступ" : "Бесплатный доступ")
                      : account->text1;
        r.balance = account->balance;
        r.text3 = account->text3.empty() ? to_cp1251("Логин: ") + account->login : account->text3;
    }
    if (const auto version = db.meta("version")) r.version = version->toStdString();
    const QDateTime utc =
        m_options.now ? now_utc(m_options, *m_cache->current(db)) : QDateTime::currentDateTimeUtc();
    r.time_text = utc.toString(QStringLiteral("hh:mm dd.MM.yyyy")).toStdString();
    r.utc_time = from_qt(utc);
    return {200, protocol::write_login_reply(r), "text/plain"};
}

Reply Service::get_paket(Database& db) const {
    protocol::PaketList list;
    QSqlQuery c = db.exec(
        "SELECT id, name, descr, stamp, logo16, logo24, logo32 FROM channels "
        "ORDER BY id");
    while (c.next())
        list.channels.push_back({c.value(0).toInt(), bytes(c.value(1)), bytes(c.value(2)),
                                 c.value(3).toString().toStdString(), bytes(c.value(4)),
                                 bytes(c.value(5)), bytes(c.value(6))});
    std::unordered_map<std::int32_t, std::vector<protocol::PaketEntry>> entries;
    QSqlQuery e = db.exec(
        "SELECT package_id, channel_id, shift, button FROM package_channels "
        "ORDER BY package_id, pos");
    while (e.next())
        entries[e.value(0).toInt()].push_back(
            {e.value(1).toInt(), bytes(e.value(2)), bytes(e.value(3))});
    std::vector<protocol::PaketRecord> pakets;
    QSqlQuery p = db.exec(
        "SELECT id, parent, name, descr, picture16, picture32 FROM packages "
        "ORDER BY pos, id");
    while (p.next()) {
        const std::int32_t id = p.value(0).toInt();
        pakets.push_back({id, p.value(1).toInt(), bytes(p.value(2)), bytes(p.value(3)),
                          bytes(p.value(4)), bytes(p.value(5)), std::move(entries[id])});
    }
    list.pakets = protocol::depth_first(std::move(pakets));
    return {200, protocol::write_paket_list(list)};
}

Reply Service::get_tvprog(Database& db, const Params& params, std::string_view body) const {
    const auto account = authenticate(db, params);
    if (!account) return error_reply(kBadLogin);
    protocol::ScheduleRequest request;
    try {
        request = protocol::read_schedule_request(body);
    } catch (const field_error&) {
        return error_reply("Ошибка в запросе телепрограммы.");
    }
    const std::uint8_t full = account->paid ? 1 : 0;
    const std::uint8_t with_anons = account->paid && param(params, "a") == "1" ? 1 : 0;

    // The marks are kept per signed-in account for the provider's own use, within the limits
    // of MarkLimits; a free user's report is not kept.
    if (account->known) store_marks(db, account->login, request.marks);

    // The previous, current and next week of the server's zone.
    const auto snapshot = m_cache->current(db);
    const QDateTime local = now_utc(m_options, *snapshot).toTimeZone(snapshot->zone);
    const DateTime monday = monday_of_week(from_qt(local).date());
    const int first_number = day_number(day_text(monday.addDays(-7)));
    const int last_number = day_number(day_text(monday.addDays(13)));

    // The reply is a list of pieces of the stored blocks; blocks that lie one after the other
    // there make one piece.
    Reply reply;
    auto add = [&](Span s) {
        if (!reply.pieces.empty() &&
            reply.pieces.back().offset + reply.pieces.back().size == s.offset)
            reply.pieces.back().size += s.size;
        else
            reply.pieces.push_back(s);
    };
    // The days a client holds, as numbers in rising order, walked beside the channel's days:
    // one pass over both instead of a search of the client's list for every day.
    struct Held final {
        int number;
        std::uint8_t full, with_anons;
    };
    std::vector<Held> held;
    std::unordered_set<std::int32_t> done;
    done.reserve(request.channels.size());
    for (const auto& want : request.channels) {
        // A channel asked for twice is answered once.
        if (!done.insert(want.id).second) continue;
        const auto channel = snapshot->channels.find(want.id);
        if (channel == snapshot->channels.end()) continue;
        // Another stamp means the client's copy of the channel is stale, days included.
        const bool stale = channel->second.stamp != want.stamp;
        if (stale) add(channel->second.details);
        held.clear();
        if (!stale)
            for (const auto& h : want.days)
                if (const int n = day_number(h.date); n >= first_number && n <= last_number)
                    held.push_back({n, h.full, h.with_anons});
        std::sort(held.begin(), held.end(),
                  [](const Held& a, const Held& b) { return a.number < b.number; });
        const auto& days = channel->second.days;
        auto h = held.begin();
        for (auto it =
                 std::lower_bound(days.begin(), days.end(), first_number,
                                  [](const BlockCache::Day&d, int n) { return d.number < n; });
             it != days.end() && it->number <= last_number; ++it) {
            // A day without announcements is held at the announcement level whatever the
            // client recorded: there is nothing more to send for it.
            const bool no_anons = it->anons.size == 0;
            while (h != held.end() && h->number < it->number) ++h;
            bool is_held = false;
            for (auto e = h; e != held.end() && e->number == it->number && !is_held; ++e)
                is_held = e->full >= full && (e->with_anons >= with_anons || no_anons);
            if (is_held) continue;
            if (with_anons && !no_anons) add(it->anons);
            add(it->progs);
        }
    }
    if (reply.pieces.empty()) return reply;
    // The snapshot stays alive as long as the reply that points into its blocks.
    reply.stored = std::shared_ptr<const std::string>(snapshot, &snapshot->blocks);
    return reply;
}

Reply Service::update(Database& db) const {
    const auto script = db.meta("script");
    return {200, script ? script->toStdString() : std::string(), "text/plain"};
}

Reply Service::get_file(Database& db, const std::string& name) const {
    QSqlQuery q = db.exec("SELECT data FROM files WHERE name = ?", QString::fromStdString(name));
    if (q.next()) return {200, bytes(q.value(0))};
    // A plain file name only: nothing outside the folder is ever served.
    const bool plain = !name.empty() && name.find_first_of("/\\") == std::string::npos &&
                       name[0] != '.' && name.find('\0') == std::string::npos;
    if (plain && !m_options.files_dir.isEmpty())
        if (auto data = read_folder_file(m_options.files_dir, name)) return {200, std::move(*data)};
    return {404, "Not found\n", "text/plain"};
}

}  // namespace zt::server
