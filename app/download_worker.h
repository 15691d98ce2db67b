#pragma once

// The download's domain code (the exchanges with the service, applying the reply, maintenance,
// saving the data files, an import) runs on a worker thread, never on the window thread:
//
// - The exchange blocks its own thread and runs no events, so no window slot ever runs inside
//   it or inside the applying and saving that follow.
// - The window thread keeps its event loop: the job and connection windows paint the progress
//   they are sent and their "Отмена" sets the cancel flag that the worker reads (atomically).
// - The worker reaches the windows only through the proxies below (WorkerUi, WorkerView,
//   WorkerHost): a call that answers something or changes windows (a message, a question,
//   opening a job window, rebuilding the lists from the store) runs on the window thread while
//   the worker waits for it; progress is posted without waiting, the newest value only.
//
// The store while the worker has it. Work that uses the store (a download, an import) holds the
// store's readers on the window thread for its whole length (`set_store_hold`: the programme
// pages' minute tick with the reminder scan, and painting of the main window), and the user's
// own changes cannot come: the main window is locked, and the managers, settings and print
// windows are not open (the session is not idle). The window calls the worker makes run while
// the worker waits, so the window thread sees the store only between the worker's changes, never
// during one. An exit asked for meanwhile cancels the exchange and waits for the work to end.
//
// The waiting itself: `run` returns when the work has ended, which keeps the callers' sequences
// (the download dialogs, the automatic download, the connection test) as they were; meanwhile
// the window thread runs its events as a modal dialog's loop would, outside any domain code.

#include <QObject>
#include <QPointer>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "core/progress.h"
#include "net/download_host.h"
#include "net/exchange_view.h"

class QThread;

namespace zt {

class WindowDownloadHost;

class DownloadWorker final : public QObject {
    Q_OBJECT
public:
    explicit DownloadWorker(QObject* parent = nullptr);
    // Waits for work still running (started with `start`).
    ~DownloadWorker() override;

    // Runs on the window thread before (true) and after (false) work that uses the store.
    void set_store_hold(std::function<void(bool)> hold) { m_hold = std::move(hold); }

    // Runs `work` on a worker thread and returns once it has ended; the window thread runs its
    // events meanwhile. `uses_store`: the store's window-side readers are held.
    void run(const std::function<void()>& work, bool uses_store);
    // Starts `work` on a worker thread and returns at once; `done` runs on the window thread
    // after it (not when this object has gone). For work that needs nothing of the store.
    void start(std::function<void()> work, std::function<void()> done);

    // Work started by `run` is under way.
    bool busy() const { return m_running > 0; }
    // The program is closing: every exchange of the work under way is cancelled, also one that
    // begins after this call (WorkerView's tick sets its cancel flag). Cleared when the work ends.
    void request_stop() { m_stop.store(true); }
    bool stop_requested() const { return m_stop.load(); }
    // Work that used the store is under way.
    bool holds_store() const { return m_holding > 0; }

    // From the worker: runs `fn` on the window thread and returns when it has; on the window
    // thread itself it runs at once.
    void call(const std::function<void()>& fn);
    // From the worker: queues `fn` for the window thread.
    void post(std::function<void()> fn);

signals:
    // Work started by `run` ended.
    void finished();

private:
    int m_running = 0;
    int m_holding = 0;
    std::atomic<bool> m_stop{false};
    std::function<void(bool)> m_hold;
    std::vector<QThread*> m_started;  // threads of `start` still running
};

// Messages to the user from the worker: shown on the window thread, the worker waits for the
// answer.
class WorkerUi final : public UserInterface {
public:
    WorkerUi(DownloadWorker& worker, UserInterface& ui) : m_worker(worker), m_ui(ui) {}
    bool show_msg(MsgKind kind, const std::string& text) override;

private:
    DownloadWorker& m_worker;
    UserInterface& m_ui;
};

// The connection window's labels from the worker: the newest labels are posted to the window
// thread (one post waiting at a time), the statistics after each exchange.
class WorkerView final : public net::ExchangeView {
public:
    WorkerView(DownloadWorker& worker, net::ExchangeView& view, std::uint8_t& net_cancel)
        : m_worker(worker), m_view(view), m_net_cancel(net_cancel) {}
    void show_labels(const net::ExchangeLabels& labels) override;
    void tick() override;
    void show_traffic(const std::string& sent, const std::string& received) override;

private:
    DownloadWorker& m_worker;
    net::ExchangeView& m_view;
    std::uint8_t& m_net_cancel;
    std::mutex m_mutex;
    net::ExchangeLabels m_labels;
    bool m_posted = false;
};

// The download's window side from the worker: every call runs on the window thread while the
// worker waits, except the job's percentage (posted, the newest only), the logo notice and the
// tray's balloon (posted), and the job's cancel flag (read where it is, atomically). The
// rebuilding after a download goes in steps, one event-loop turn each.
class WorkerHost final : public net::DownloadHost {
public:
    WorkerHost(DownloadWorker& worker, WindowDownloadHost& host, std::uint8_t& job_cancel)
        : m_worker(worker), m_host(host), m_job_cancel(job_cancel) {}

    void job_progress(int percent) override;
    bool job_cancelled() const override;
    void job_begin(const std::string& text, bool with_cancel, bool with_percent) override;
    void job_end() override;
    void show_connection_window() override;
    void hide_connection_window() override;
    void logo_replaced(std::int32_t index) override;
    void channels_changing() override;
    void channels_changed() override;
    void after_download() override;
    void run_self_update() override;
    void end_application() override;
    bool may_write_favourites() const override;
    bool may_write_marks() const override;
    void tray_notice(const std::string& title, const std::string& text) override;

private:
    DownloadWorker& m_worker;
    WindowDownloadHost& m_host;
    std::uint8_t& m_job_cancel;
    std::atomic<int> m_percent{-1};  // waiting to be shown; -1: nothing posted
};

}  // namespace zt
