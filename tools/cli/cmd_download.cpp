// zorvan-cli fetch | update | server-test: the download sequences of the application run
// headless on a program folder, through the same domain code as its windows.
#include <filesystem>
#include <iostream>
#include <sstream>

#include "app/logic/session_state.h"
#include "command.h"
#include "core/cp1251.h"
#include "core/text_helpers.h"
#include "download_console.h"
#include "net/download_session.h"
#include "net/host_port.h"
#include "net/http_exchange.h"
#include "program_folder.h"

namespace zt::cli {
namespace {

std::vector<std::int32_t> id_list(const std::string& text) {
    std::vector<std::int32_t> ids;
    std::stringstream in(text);
    for (std::string item; std::getline(in, item, ',');)
        if (!item.empty()) ids.push_back(std::stoi(item));
    return ids;
}

// The folder, its settings with the command line's overrides, and an exchange set up from them.
struct Run final {
    ProgramFolder folder;
    SessionState flags;
    ConsoleUi ui;
    ConsoleHost host;
    net::TrafficCounters traffic;
    net::ExchangeContext exchange;
    std::unique_ptr<net::DownloadSession> session;

    explicit Run(const Options& opt)
        : folder(load_program_folder(opt.positional().at(0), std::make_shared<SystemClock>())),
          exchange(ui, host, flags.net_cancel, traffic) {
        for (const auto& [kind, text] : folder.messages) ui.show_msg(kind, text);
        if (opt.has("host")) {
            if (!parse_host_port(opt.get("host")))
                throw std::invalid_argument("--host wants HOST[:PORT], got: " + opt.get("host"));
            folder.settings.service.host = opt.get("host");
        }
        exchange.service = net::service_text(folder.settings);
        exchange.proxy = folder.settings.proxy;
        if (const char* t = std::getenv("ZT_NET_TIMEOUT_MS")) {
            const std::chrono::milliseconds ms(std::atoi(t));
            exchange.limits.connect_timeout = exchange.limits.send_timeout =
                exchange.limits.receive_timeout = ms;
        }
        if (const char* t = std::getenv("ZT_NET_DEADLINE_MS")) {
            const std::chrono::milliseconds ms(std::atoi(t));
            exchange.limits.small_deadline = exchange.limits.large_deadline = ms;
        }
        if (opt.has("login")) {
            folder.settings.download_dialog.user_type = 1;
            folder.user.login = to_cp1251(opt.get("login"));
            folder.user.password = md5_hex(to_cp1251(opt.get("password")));
        }
        session = std::make_unique<net::DownloadSession>(*folder.store, folder.user,
                                                         folder.settings, exchange, host);
        std::filesystem::create_directories(folder.store->data_dir());
    }
};

int finish(net::TvprogOutcome outcome) {
    if (outcome == net::TvprogOutcome::applied) {
        std::cerr << "Телепрограмма получена.\n";
        return 0;
    }
    if (outcome == net::TvprogOutcome::empty) {
        std::cerr << "Нового нет.\n";
        return 0;
    }
    return 1;
}

bool one_folder(const Options& opt, const char* command) {
    if (opt.positional().size() == 1) return true;
    std::cerr << "zorvan-cli " << command << ": give one PROGRAM_DIR\n";
    return false;
}

// The connection test; its failure without a transport message is the dialog's text.
bool server_test(Run& run, std::vector<std::string>* lines) {
    if (net::ServerTest(run.exchange, lines)) return true;
    if (run.exchange.last_error.empty())
        std::cerr << "Сервер вернул не верные проверочные данные.\n";
    return false;
}

int run_server_test(const Options& opt) {
    if (!one_folder(opt, "server-test")) return 2;
    Run run(opt);
    std::vector<std::string> lines;
    const bool ok = server_test(run, &lines);
    for (const auto& line : lines) std::cout << to_utf8(line) << '\n';
    if (!ok) return 1;
    std::cerr << "Проверка прошла успешно.\n";
    return 0;
}

int run_update(const Options& opt) {
    if (!one_folder(opt, "update")) return 2;
    Run run(opt);
    // "Тихий" режим получения: only questions during the automatic download.
    if (run.folder.settings.personal.auto_quiet) run.flags.messages_on = 0;
    run.ui.messages_on = &run.flags.messages_on;
    if (!server_test(run, nullptr)) return 1;
    if (!run.session->LoginCheck(1)) return 1;
    if (opt.has("anons")) run.session->controls.anons = true;
    const auto outcome = run.session->GetTvprog(1);
    run.session->ClearSelection();
    return finish(outcome);
}

int run_fetch(const Options& opt) {
    if (!one_folder(opt, "fetch")) return 2;
    // Meant for filling a new folder: it is made, with the folders above it, when missing.
    const std::string dir = opt.positional().at(0);
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        std::cerr << "zorvan-cli fetch: cannot create " << dir << ": " << ec.message() << '\n';
        return 1;
    }
    Run run(opt);
    net::DownloadSession& s = *run.session;
    if (!s.LoginCheck(0) || !s.GetPakets()) return 1;
    if (opt.has("anons")) s.controls.anons = true;
    s.controls.create_group = opt.has("create-groups");
    const auto pakets = id_list(opt.get("packages"));
    const auto channels = id_list(opt.get("channels"));
    std::vector<std::int32_t> ticked_channels;
    for (const auto& p : s.selection.update_pakets) {
        const bool whole = std::find(pakets.begin(), pakets.end(), p->id) != pakets.end();
        for (auto& e : p->channels) {
            const bool wanted =
                std::find(channels.begin(), channels.end(), e.chl_id) != channels.end() &&
                std::find(ticked_channels.begin(), ticked_channels.end(), e.chl_id) ==
                    ticked_channels.end();
            if (whole || wanted) {
                e.ticked = 1;
                ticked_channels.push_back(e.chl_id);
            }
        }
    }
    if (ticked_channels.empty()) {
        std::cerr << "zorvan-cli fetch: nothing chosen; packages offered:\n";
        for (const auto& p : s.selection.update_pakets)
            std::cerr << "  " << p->id << "  " << to_utf8(p->name) << " (" << p->channels.size()
                      << ")\n";
        return 2;
    }
    const auto outcome = s.GetTvprog(0);
    s.ClearSelection();
    return finish(outcome);
}

const Registrar server_test_command("server-test", {"PROGRAM_DIR [--host HOST[:PORT]]",
                                                    {{"host"}},
                                                    run_server_test});
const Registrar update_command(
    "update", {"PROGRAM_DIR [--host HOST[:PORT]] [--login L --password P] [--anons]",
               {{"host"}, {"login"}, {"password"}, {"anons", false}},
               run_update});
const Registrar fetch_command(
    "fetch", {"PROGRAM_DIR [--host HOST[:PORT]] [--login L --password P] [--anons] "
              "[--packages ID,...|--channels ID,...] [--create-groups]",
              {{"host"},
               {"login"},
               {"password"},
               {"anons", false},
               {"packages"},
               {"channels"},
               {"create-groups", false}},
              run_fetch});

}  // namespace
}  // namespace zt::cli
