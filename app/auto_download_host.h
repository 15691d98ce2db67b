#pragma once

#include <functional>

#include "net/download_host.h"

namespace zt {

class JobControl;
class TFMain;
class TFProgress;

// What the automatic download asks of the windows: the job and connection windows, the
// programme lists after the data arrived, the tray balloon, and the end of the program after
// the forced update's question.
class AutoDownloadHost final : public net::DownloadHost {
public:
    AutoDownloadHost(TFMain& main, TFProgress& connection, JobControl& jobs,
                     std::function<void()> end_application);

    void job_begin(const std::string& text, bool with_cancel, bool with_percent) override;
    void job_progress(int percent) override;
    bool job_cancelled() const override;
    void job_end() override;
    void show_connection_window() override;
    void hide_connection_window() override;
    void channels_changed() override;
    void after_download() override;
    void end_application() override;
    void tray_notice(const std::string& title, const std::string& text) override;

private:
    TFMain& m_main;
    TFProgress& m_connection;
    JobControl& m_jobs;
    std::function<void()> m_end;
};

}  // namespace zt
