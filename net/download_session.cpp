#include "net/download_session.h"

#include <QDateTime>

#include "core/cp1251.h"
#include "core/maintenance.h"
#include "core/text_helpers.h"
#include "net/apply_paket_list.h"
#include "net/apply_schedule.h"
#include "net/protocol/login_reply.h"
#include "net/protocol/paket_list.h"
#include "net/protocol/text_reply.h"
#include "net/request_head.h"
#include "storage/field_codec.h"

namespace zt::net {

namespace {

DateTime system_utc_now() {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QDate d = now.date();
    const QTime t = now.time();
    return DateTime::fromParts(d.year(), d.month(), d.day(), t.hour(), t.minute())
        .value_or(DateTime());
}

std::string two(int n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}

}  // namespace

DownloadSession::DownloadSession(all_list& store, user_account& user, const Settings& settings,
                                 ExchangeContext& exchange, DownloadHost& host)
    : utc_now(system_utc_now),
      m_store(store),
      m_user(user),
      m_settings(settings),
      m_exchange(exchange),
      m_host(host) {
    controls.user_type = settings.download_dialog.user_type;
    controls.login = user.login;
}

void DownloadSession::message(MsgKind kind, const std::string& text) {
    m_exchange.ui.show_msg(kind, text);
}

bool DownloadSession::quiet(int mode) const {
    return mode == 1 && m_settings.personal.auto_quiet;
}

std::string DownloadSession::login_fields() const {
    if (controls.user_type != 1 || controls.login.empty() || m_user.password.empty()) return "";
    // The login goes as typed, except the bytes a request line cannot carry.
    return "&l=" + escape_request_text(controls.login) + "&p=" + m_user.password;
}

bool DownloadSession::server_error(const std::string& body) {
    const auto text = protocol::read_error_reply(body);
    if (!text) return false;
    message(MsgKind::Server, to_utf8(*text));
    return true;
}

bool DownloadSession::LoginCheck(int mode) {
    const std::string query = "?func=login_check" + login_fields();
    if (!quiet(mode)) m_host.show_connection_window();
    clear_cancel(m_exchange.net_cancel);
    std::string body;
    const bool ok = HttpExchange(m_exchange, kScript, query, false, "", body);
    m_host.hide_connection_window();
    if (!ok) return false;
    if (server_error(body)) return false;
    if (body.size() > protocol::kMaxLoginReply) {
        message(MsgKind::Error, "Ошибка: сервер прислал неверный ответ на проверку пользователя.");
        return false;
    }
    const auto read = protocol::read_login_reply(body);
    if (!read) {
        message(MsgKind::Error, "Ошибка: сервер прислал неполный ответ на проверку пользователя.");
        return false;
    }
    const protocol::LoginReply& r = read->reply;
    if (r.version != protocol::kVersionCode) {
        // Asked even in a quiet automatic download; the application ends either way.
        if (m_exchange.ui.show_msg(
                MsgKind::Question,
                "Вышла новая версия программы \"ЗОРВАН. Телепрограмма\". Для "
                "дальнейшей работы необходимо выполнить обновление. Продолжить?"))
            m_host.run_self_update();
        m_host.end_application();
        return false;
    }
    controls.caption = "Получить телепрограмму с сервера"_cp;
    controls.anons_visible = true;
    if (r.paid) {
        m_user.paid_login = controls.login;
        paid_user = 1;
        controls.status[3] = "Платный пользователь"_cp;
        controls.anons = true;
    } else {
        paid_user = 0;
        controls.status[3] = "Бесплатный пользователь"_cp;
        controls.anons = false;
    }
    if (!r.balance.empty()) {
        controls.status[0] = r.text3;
        controls.status[1] = FormatMoney(r.balance);
        controls.status[2] = r.text1;
    } else {
        controls.status[0].clear();
        controls.status[1].clear();
        controls.status[2].clear();
    }
    m_days_full = controls.status[1].empty() ? 0 : 1;
    controls.create_group = m_store.chl_groups.empty();
    const auto lines = protocol::split_reply_lines(body);
    CheckServerTime(lines[5]);
    return true;
}

void DownloadSession::CheckServerTime(const std::string& line) {
    if (!m_settings.general.verify_time) return;
    const DateTime local = utc_now().wholeMinute();
    int y = 0, mo = 0, d = 0;
    local.toParts(y, mo, d);
    const std::string local_text = two(local.hour()) + ":" + two(local.minute()) + " " + two(d) +
                                   "." + two(mo) + "." + std::to_string(y);
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) return;
    std::string time = line.substr(tab + 1);
    if (const auto next = time.find('\t'); next != std::string::npos) time.resize(next);
    // Read as the store reads its own date-times: one-digit fields and seconds pass.
    const auto server = m_store.fs_file.parse(time);
    if (!server) return;
    const DateTime margin = DateTime::fromMinutes(5);
    if (local < *server - margin || local > *server + margin)
        message(MsgKind::Info,
                "Время на Вашем компьютере не совпадает с временем на сервере. Телепрограмма "
                "может отображаться не верно.\n\nНа Вашем компьютере: " +
                    local_text + "\nНа сервере: " + to_utf8(line.substr(0, tab)) +
                    "\n\nУказано время по Гринвичу (без учета Вашего часового пояса).");
}

bool DownloadSession::GetPakets() {
    m_host.show_connection_window();
    clear_cancel(m_exchange.net_cancel);
    std::string body;
    const bool ok =
        HttpExchange(m_exchange, kScript, "?func=get_paket", false, "", body, CallSize::large);
    m_host.hide_connection_window();
    if (!ok) return false;
    if (server_error(body)) return false;
    m_host.job_begin("Обработка данных...", false, true);
    protocol::PaketList list;
    try {
        if (body.empty()) throw field_error("empty package list");
        list = protocol::read_paket_list(body);
    } catch (const field_error&) {
        message(MsgKind::Error, "Ошибка данных.");
        m_host.job_end();
        return false;
    }
    ReadPaketList(selection, list, m_host);
    BuildPaketTree(selection, m_host);
    m_host.job_end();
    return true;
}

std::vector<protocol::WantedChannel> DownloadSession::WantedChannels(int mode) const {
    std::vector<protocol::WantedChannel> out;
    const auto held = [this](std::int32_t id) {
        std::vector<protocol::HeldDay> days;
        if (const auto c = m_store.find_channel(id))
            for (const auto& d : c->dates) days.push_back({d.date, d.full, d.with_anons});
        return days;
    };
    if (mode == 1) {
        for (const auto& c : m_store.channels) out.push_back({c->id, c->stamp, held(c->id)});
    } else {
        for (const auto& c : selection.update_channels)
            if (c->selected == 1) out.push_back({c->id, c->stamp, held(c->id)});
    }
    return out;
}

std::vector<protocol::MarkReport> DownloadSession::ReportMarks() {
    std::vector<protocol::MarkReport> out;
    for (const auto& channel : m_store.channels) {
        for (const auto& p : channel->tvprog) {
            if (p->reported != 0 || !(p->mark == 1 || p->alarm == 1 || p->love)) continue;
            bool pending = false;
            for (const auto& e : channel->report) pending = pending || e.id == p->id;
            if (pending) continue;
            const int state = p->love ? (p->love->liked ? 2 : -2) : p->mark == 1 ? 1 : 3;
            channel->report.push_back({p->id, p, state});
        }
        if (channel->report.empty()) continue;
        protocol::MarkReport r{channel->id, {}};
        for (const auto& e : channel->report)
            r.entries.push_back({e.id, std::uint8_t(std::int8_t(e.state))});
        out.push_back(std::move(r));
    }
    return out;
}

void DownloadSession::MarksReported() {
    for (const auto& channel : m_store.channels) {
        for (const auto& e : channel->report) {
            if (!e.prog) continue;
            e.prog->reported = 1;
            if (e.prog->love)
                for (const auto& p : channel->tvprog)
                    if (p->love == e.prog->love) p->reported = 1;
        }
        channel->report.clear();
    }
}

void DownloadSession::AfterDownload() {
    run_maintenance(m_store, maintenance_options(m_settings), m_host, true);
    DataContext data(m_store, m_exchange.ui, m_host, m_user);
    data.write_favourites = m_host.may_write_favourites();
    data.write_marks = m_host.may_write_marks();
    save_data_files(data, true, true, true, true);
    m_host.after_download();
}

TvprogOutcome DownloadSession::GetTvprog(int mode) {
    const std::string query =
        "?func=get_tvprog" + login_fields() + (controls.anons ? "&a=1" : "&a=0");
    const bool windows = !quiet(mode);
    if (windows) m_host.job_begin("Подготовка данных...", false, true);
    protocol::ScheduleRequest request;
    if (mode == 0) {
        m_host.channels_changing();
        ApplySelection(m_store, selection, controls.create_group);
        m_host.channels_changed();
        for (const auto& p : selection.update_pakets)
            if (p->selected == 1) request.pakets.push_back(p->id);
    }
    request.channels = WantedChannels(mode);
    request.marks = ReportMarks();
    if (windows) m_host.job_end();
    if (windows) m_host.show_connection_window();
    clear_cancel(m_exchange.net_cancel);
    std::string body;
    if (!HttpExchange(m_exchange, kScript, query, true, protocol::write_schedule_request(request),
                      body, CallSize::large)) {
        m_host.hide_connection_window();
        return TvprogOutcome::exchange_failed;
    }
    m_host.hide_connection_window();
    if (windows) m_host.job_begin("Обработка данных...", false, true);
    TvprogOutcome outcome = TvprogOutcome::empty;
    // The server sends announcements to a paid user who asks for them; every day of such a
    // reply is then held at that level, those without announcements included.
    const std::uint8_t held_with_anons = controls.anons && paid_user == 1 ? 1 : 0;
    if (!body.empty()) {
        if (server_error(body)) {
            outcome = TvprogOutcome::server_error;
        } else if (!ReadScheduleBlocks(m_store, body, m_host, m_days_full, held_with_anons)) {
            message(MsgKind::Error, "Ошибка при получении телепрограммы.");
            outcome = TvprogOutcome::data_error;
        } else {
            outcome = TvprogOutcome::applied;
        }
    }
    // The report reached the server; the flags it sets are saved with the data below, or on
    // their own when nothing else is saved, so the next download does not send them again.
    const bool reported = !request.marks.empty();
    MarksReported();
    if (outcome == TvprogOutcome::applied) {
        AfterDownload();
        if (mode == 1 && m_settings.personal.auto_tray_msg)
            m_host.tray_notice("Автоматическое получение телепрограммы", "Успешно завершено.");
    } else if (reported) {
        DataContext data(m_store, m_exchange.ui, m_host, m_user);
        save_t(data);
    }
    if (windows) m_host.job_end();
    return outcome;
}

}  // namespace zt::net
