#include "app/manager_command.h"

#include "app/application.h"
#include "dialogs/app_ui.h"
#include "storage/data_files.h"
#include "views/channel_panel.h"
#include "views/channel_window.h"
#include "views/detail_windows.h"
#include "views/genre_panel.h"
#include "views/main_window.h"
#include "views/panel_set.h"
#include "views/program_pages.h"

namespace zt {

ManagerCommand::ManagerCommand(Application& app) : QObject(&app), m_app(app) {
    connect(&app.main_window(), &TFMain::manager_requested, this, [this] { run(); });
}

ManagerCommand::~ManagerCommand() = default;

TFMgr& ManagerCommand::window() {
    if (m_window) return *m_window;
    TFMain& main = m_app.main_window();
    m_window = std::make_unique<TFMgr>(m_app.store(), m_app.settings_store(), main.logos(),
                                       m_app.ui(), &main);
    m_window->set_show_channel_info([&main](const std::shared_ptr<chl_serv_list>& channel,
                                            const std::shared_ptr<chl_local_list>& member) {
        TFChannel& info = main.details().channel_window();
        if (member)
            info.ShowChannelInfo(*member);
        else if (channel)
            info.ShowChannelInfo(*channel);
    });
    return *m_window;
}

void ManagerCommand::run(TFMgr::Tab tab) {
    if (window().isVisible()) return;
    const UiBusy busy(m_app.session());
    tear_down();
    m_window->run(tab);
    rebuild_and_save();
}

void ManagerCommand::tear_down() {
    PanelSet& panels = m_app.main_window().panels();
    panels.channels().ClearGroupMenus();
    // No group: the channel panel and the programme tables go empty.
    panels.channels().SelectGroup(-1);
    panels.genres().ClearGenreGroupMenus();
}

void ManagerCommand::rebuild_and_save() {
    AppUi& jobs = m_app.ui();
    jobs.job_begin("Сохранение данных...", false, true);
    TFMain& main = m_app.main_window();
    main.panels().data_loaded(m_app.store().ensure_default_group());
    main.programs().press_today();
    if (m_app.start_up().loaded()) {
        const DataContext ctx = m_app.start_up().data_context();
        save_u(ctx);
        jobs.job_progress(50);
        if (m_app.start_up().may_write_v()) save_v(ctx);
    }
    jobs.job_progress(100);
    jobs.job_end();
}

}  // namespace zt
