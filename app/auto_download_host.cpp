#include "app/auto_download_host.h"

#include <QString>

#include "core/job_control.h"
#include "dialogs/progress_window.h"
#include "views/main_window.h"
#include "views/panel_set.h"
#include "views/program_pages.h"
#include "views/tray.h"

namespace zt {

AutoDownloadHost::AutoDownloadHost(TFMain& main, TFProgress& connection, JobControl& jobs,
                                   std::function<void()> end_application)
    : m_main(main), m_connection(connection), m_jobs(jobs), m_end(std::move(end_application)) {}

void AutoDownloadHost::job_begin(const std::string& text, bool with_cancel, bool with_percent) {
    m_jobs.job_begin(text, with_cancel, with_percent);
}

void AutoDownloadHost::job_progress(int percent) {
    m_jobs.job_progress(percent);
}

bool AutoDownloadHost::job_cancelled() const {
    return m_jobs.job_cancelled();
}

void AutoDownloadHost::job_end() {
    m_jobs.job_end();
}

void AutoDownloadHost::show_connection_window() {
    m_connection.open_centred();
}

void AutoDownloadHost::hide_connection_window() {
    m_connection.hide();
}

void AutoDownloadHost::channels_changed() {
    m_main.programs().RebuildProgramList();
}

void AutoDownloadHost::after_download() {
    m_main.programs().RebuildProgramList();
}

void AutoDownloadHost::end_application() {
    if (m_end) m_end();
}

void AutoDownloadHost::tray_notice(const std::string& title, const std::string& text) {
    // Shown only while the tray icon is there.
    Tray& tray = m_main.tray();
    if (tray.visible())
        tray.show_balloon(QString::fromStdString(title), QString::fromStdString(text), 10000);
}

}  // namespace zt
