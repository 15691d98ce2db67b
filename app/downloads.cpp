#include "app/downloads.h"

#include <QTimer>

#include "app/application.h"
#include "app/auto_download_controller.h"
#include "app/download_worker.h"
#include "app/manual_download.h"
#include "app/window_download_host.h"
#include "ui/minute_tick.h"
#include "views/main_window.h"

namespace zt {

Downloads::Downloads(Application& app) : QObject(&app), m_app(app) {
    m_host = std::make_unique<WindowDownloadHost>(app);
    TFMain& main = app.main_window();
    connect(&main, &TFMain::download_requested, this, &Downloads::run_manual);

    DownloadWorker& work = worker();
    m_auto = std::make_unique<AutoDownloadController>(
        app.store(), app.session(), app.start_up().account(), app.settings(), m_host->exchange(),
        m_host->worker_host(), [&main](bool on) { main.LockMainWindow(on); }, this);
    m_auto->set_off_thread([&work](const std::function<void()>& job) { work.run(job, true); });
    // While the worker has the store, the window thread's own readers of it wait: the pages'
    // minute tick (which also runs the reminder scan) and painting of the main window, whose
    // tables and panels show the store's records. The user's changes cannot come meanwhile:
    // the main window is locked and no manager, settings or print window is open.
    work.set_store_hold([this, &main](bool on) {
        QTimer& tick = main.minute_tick().timer();
        if (on) {
            m_tick_held = tick.isActive();
            tick.stop();
        } else if (m_tick_held) {
            tick.start();
        }
        main.setUpdatesEnabled(!on);
    });
}

Downloads::~Downloads() = default;

DownloadWorker& Downloads::worker() {
    return m_host->worker();
}

void Downloads::run_manual() {
    if (!m_manual) m_manual = std::make_unique<ManualDownload>(m_app, *m_host);
    m_manual->run();
}

}  // namespace zt
