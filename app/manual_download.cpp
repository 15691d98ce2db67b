#include "app/manual_download.h"

#include <QComboBox>
#include <QLabel>

#include "app/application.h"
#include "app/download_worker.h"
#include "app/window_download_host.h"
#include "core/cp1251.h"
#include "core/store.h"
#include "dialogs/app_ui.h"
#include "dialogs/update_select_dialog.h"
#include "dialogs/update_source_dialog.h"
#include "net/download_session.h"
#include "net/import_file.h"
#include "net/xmltv_import.h"
#include "storage/settings_store.h"
#include "ui/row_painter.h"
#include "views/channel_window.h"
#include "views/main_window.h"
#include "views/rich_text.h"

namespace zt {
namespace {

// The selection dialog's borrowed parts: the common row painter with check boxes and the
// main window's colours, the detail windows' rich text, and the channel card.
SelectDialogParts select_parts(const Settings& settings, TFChannel& card) {
    SelectDialogParts parts;
    auto* painter = new RowPainter;
    painter->set_colours(row_colours(settings.view));
    painter->set_check_boxes(true);
    painter->set_image_width(16);
    parts.row_painter = painter;
    parts.make_descr_area = [](QWidget* parent) { return new RichTextArea(parent); };
    parts.render_descr = [](QWidget* window, QScrollArea* area, const QString& text) {
        if (auto* rich = qobject_cast<RichTextArea*>(area))
            RenderRichText(window, *rich, text, true);
    };
    parts.show_channel = [&card](const QString& caption, const QString& descr, const QString& time,
                                 const QPixmap& logo) {
        card.ShowChannelInfo(caption, descr, time, -1);
        card.set_logo(logo);
    };
    return parts;
}

}  // namespace

ManualDownload::ManualDownload(Application& app, WindowDownloadHost& host)
    : m_app(app), m_host(host) {
    TFMain* main = &app.main_window();
    m_card = std::make_unique<TFChannel>(m_no_logos, main);
    m_source = std::make_unique<TFUpdate>(app.start_up().account(), app.ui(), main);
    all_list& store = app.store();
    m_select = std::make_unique<TFUpdateSelect>(
        select_parts(app.settings(), *m_card), app.ui(), [this] { return m_paid; },
        [&store](std::int32_t id) { return store.find_channel(id) != nullptr; }, main);
}

ManualDownload::~ManualDownload() = default;

void ManualDownload::run() {
    // Not inside an automatic download or another busy spell (the tray's item stays usable
    // while the main window is locked).
    if (m_running || m_app.session().ui_idle != 1) return;
    if (!run_busy()) return;
    m_host.job_end();
    m_running = false;
}

bool ManualDownload::run_busy() {
    TFMain& main = m_app.main_window();
    // 1. No automatic download starts while the dialogs are open.
    const UiBusy busy(m_app.session());
    SettingsDraft<DownloadDialogSettings> draft(
        m_app.settings_store(),
        [](Settings& s) -> DownloadDialogSettings& { return s.download_dialog; });
    m_source->load(draft.value);
    if (!m_source->run(&main)) {
        // The dialog keeps its choices: the user type stays for its next use and for the
        // automatic download, which follows the dialog's last state.
        draft.value.user_type = m_source->user_type();
        draft.commit();
        return false;
    }
    m_source->store(draft.value);
    draft.commit();

    m_running = true;
    main.LockMainWindow(true);
    m_select->clear();
    if (m_source->source() == 1)
        from_file();
    else
        from_server();

    // 6. In every case.
    m_select->clear();
    m_paid = false;
    main.LockMainWindow(false);
    return true;
}

void ManualDownload::from_server() {
    // The exchanges, applying and saving run on the worker; the dialogs between them here.
    DownloadWorker& worker = m_host.worker();
    net::DownloadSession session(m_app.store(), m_app.start_up().account(), m_app.settings(),
                                 m_host.exchange(), m_host.worker_host());
    bool listed = false;
    worker.run([&] { listed = session.LoginCheck(0) && session.GetPakets(); }, true);
    if (listed) {
        m_paid = session.paid_user == 1;
        m_select->show_lists(session.selection, session.controls);
        if (m_select->run(&m_app.main_window(), session.controls))
            worker.run([&] { session.GetTvprog(0); }, true);
    }
    // The dialog lets go of the lists before they are emptied.
    m_select->clear();
    session.ClearSelection();
}

void ManualDownload::from_file() {
    all_list& store = m_app.store();
    DownloadWorker& worker = m_host.worker();
    UserInterface& ui = m_host.worker_ui();
    net::DownloadHost& host = m_host.worker_host();
    const std::string file = m_source->file().toStdString();
    std::optional<net::ImportSession> opened;
    worker.run([&] { opened = net::ScheduleFileOpen(file, store, ui, host); }, true);
    if (!opened) return;
    net::DownloadControls controls;
    controls.caption = to_cp1251(net::kImportCaption);
    controls.anons_visible = false;
    controls.create_group = opened->create_groups;
    m_select->show_lists(opened->lists, controls);
    if (m_select->run(&m_app.main_window(), controls)) {
        opened->create_groups = controls.create_group;
        DataContext ctx(store, ui, host, m_app.start_up().account());
        ctx.write_favourites = m_app.start_up().may_write_v();
        ctx.write_marks = m_app.start_up().may_write_m();
        const MaintenanceOptions options = maintenance_options(m_app.settings());
        net::ImportResult result;
        worker.run(
            [&] {
                host.job_begin("Обработка данных...", false, true);
                host.channels_changing();
                result = net::ImportFileApply(ctx, *opened, options);
            },
            true);
        m_host.rebuild_lists();
        m_host.job_end();
        // What was taken and what was left out, rather than nothing.
        m_app.ui().show_msg(MsgKind::Info, net::import_summary(*opened, result));
    }
    m_select->clear();
    opened->lists.clear();
}

}  // namespace zt
