#include "app/settings_command.h"

#include "app/download_worker.h"
#include "app/logic/session_state.h"
#include "core/store.h"
#include "dialogs/progress_window.h"
#include "dialogs/settings_dialog.h"
#include "net/desktop_proxy.h"
#include "net/host_port.h"
#include "storage/settings_store.h"
#include "views/main_window.h"
#include "views/panel_set.h"
#include "views/prog_controls.h"
#include "views/program_pages.h"

namespace zt {

SettingsCommand::SettingsCommand(SessionState& session, SettingsStore& store, TFMain& main,
                                 IniFile& ini, UserInterface& ui, net::ExchangeContext& exchange,
                                 DownloadWorker& worker, TFProgress& connection,
                                 std::function<void()> applied, QObject* parent)
    : QObject(parent),
      m_session(session),
      m_store(store),
      m_main(main),
      m_applied(std::move(applied)) {
    // The dialog is made on its first use, not while the program starts.
    m_make_dialog = [this, &ini, &ui, &exchange, &worker, &connection] {
        // "Проверить" runs the connection test in the connection window with the values
        // being edited, on the worker; one at a time.
        auto server_test = [&exchange, &worker, &connection](const ProxySettings& proxy,
                                                             const std::string& service,
                                                             std::vector<std::string>& lines) {
            if (worker.busy()) return ServerTestResult::exchange_failed;
            connection.open_centred();
            ServerTestResult result = ServerTestResult::exchange_failed;
            worker.run([&] { result = run_server_test(exchange, proxy, service, lines); }, false);
            connection.hide();
            return result;
        };
        return std::make_unique<TFSettings>(m_store, ini, ui, server_test, &m_main);
    };
}

SettingsCommand::~SettingsCommand() = default;

TFSettings& SettingsCommand::dialog() {
    if (!m_dialog) m_dialog = m_make_dialog();
    return *m_dialog;
}

void SettingsCommand::MDataSettingsClick() {
    {
        const UiBusy busy(m_session);
        dialog().ShowModal();
    }
    apply();
}

void SettingsCommand::settings_loaded() {
    Settings& s = m_store.model();
    if (s.proxy.from_browser) net::ReadIeProxy(s.proxy, net::desktop_proxy_value());
}

void SettingsCommand::apply() {
    settings_loaded();
    const Settings& s = m_store.get();
    m_main.apply_general_settings();
    m_main.panels().apply_view_settings();
    ProgramPages& pages = m_main.programs();
    pages.apply_view_settings();
    pages.days().set_day_start(day_start_text(s.personal.day_start));
    if (m_applied) m_applied();
    pages.RebuildProgramList();
}

}  // namespace zt
