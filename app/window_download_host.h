#pragma once

#include <QPointer>
#include <QUrl>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "app/download_worker.h"
#include "dialogs/news_window.h"
#include "net/download_host.h"
#include "net/http_exchange.h"

namespace zt {

class Application;
class ConnectionView;

// The download's window side: the job window, the connection window "Центр соединений", the
// main window's lists rebuilt around ApplySelection and after a download, the news window, the
// tray balloon and the forced self-update.
//
// Make one per Application (it is `Application::download_host()`) and hand it, with
// `exchange()`, to every net::DownloadSession that runs with windows (the manual download, the
// automatic download). It keeps the byte counters of the statistics window, so they add up
// over all exchanges of the run. Use it on the user-interface thread only; the domain code runs
// on `worker()` and talks to it through `worker_host()` (see app/download_worker.h).
class WindowDownloadHost final : public net::DownloadHost {
public:
    explicit WindowDownloadHost(Application& app);
    ~WindowDownloadHost() override;

    // The exchange with the service host and the proxy of the current settings, for the
    // worker: its progress goes to the connection window (whose "Отмена" sets the store's
    // `net_cancel`), its byte counts to the statistics window, its messages to the message
    // window, each through the worker's proxies.
    net::ExchangeContext& exchange();
    // Where the download's domain code runs, and this host and the messages as it sees them.
    DownloadWorker& worker() { return m_worker; }
    net::DownloadHost& worker_host() { return m_worker_host; }
    UserInterface& worker_ui() { return m_worker_ui; }
    const net::TrafficCounters& traffic() const { return m_traffic; }

    // The news window of the last successful download while it is open, or null.
    NewsWindow* news_window() const { return m_news; }
    // ShowNews: a news window that is still open goes; a new one shows the home page.
    void ShowNews();
    // Rebuilds the programme lists (after an import, which opens no news window).
    void rebuild_lists();

    void job_begin(const std::string& text, bool with_cancel, bool with_percent) override;
    void job_progress(int percent) override;
    bool job_cancelled() const override;
    void job_end() override;
    void show_connection_window() override;
    void hide_connection_window() override;
    void logo_replaced(std::int32_t index) override;
    void channels_changing() override;
    void channels_changed() override;
    void after_download() override;
    // after_download in steps, each short: the worker runs them one by one, so that the window
    // thread gets its events between them.
    std::vector<std::function<void()>> after_download_steps();
    void run_self_update() override;
    bool may_write_favourites() const override;
    bool may_write_marks() const override;
    void end_application() override;
    void tray_notice(const std::string& title, const std::string& text) override;

private:
    void fetch_news(QPointer<NewsWindow> news, const QUrl& home);

    Application& m_app;
    net::TrafficCounters m_traffic;
    std::unique_ptr<ConnectionView> m_view;
    DownloadWorker m_worker;
    WorkerUi m_worker_ui;
    WorkerView m_worker_view;
    WorkerHost m_worker_host;
    std::unique_ptr<net::ExchangeContext> m_exchange;
    QPointer<NewsWindow> m_news;
    std::shared_ptr<std::atomic<bool>> m_closing = std::make_shared<std::atomic<bool>>(false);
};

}  // namespace zt
