#include "app/download_worker.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <exception>

#include "app/window_download_host.h"

namespace zt {

DownloadWorker::DownloadWorker(QObject* parent) : QObject(parent) {}

DownloadWorker::~DownloadWorker() {
    for (QThread* t : m_started) {
        t->wait();
        delete t;
    }
}

void DownloadWorker::run(const std::function<void()>& work, bool uses_store) {
    ++m_running;
    if (uses_store && m_holding++ == 0 && m_hold) m_hold(true);
    std::atomic<bool> done{false};
    std::exception_ptr failure;
    QThread* thread = QThread::create([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        done.store(true);
        // Wakes the window thread's wait below.
        QMetaObject::invokeMethod(
            this, [] {}, Qt::QueuedConnection);
    });
    thread->start();
    // The window thread's events while the work runs: the worker's calls and posts among them.
    // Not a QEventLoop: an exit of the application ends every event loop of the thread, and this
    // wait must last until the work has ended whatever happens meanwhile.
    while (!done.load()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    thread->wait();
    delete thread;
    // What the worker posted last (its final labels and percentages) is shown before the
    // caller goes on, never after.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    if (uses_store && --m_holding == 0 && m_hold) m_hold(false);
    if (--m_running == 0) m_stop.store(false);
    emit finished();
    if (failure) std::rethrow_exception(failure);
}

void DownloadWorker::start(std::function<void()> work, std::function<void()> done) {
    QThread* thread = QThread::create(std::move(work));
    m_started.push_back(thread);
    connect(thread, &QThread::finished, this, [this, thread, done = std::move(done)] {
        thread->wait();
        m_started.erase(std::find(m_started.begin(), m_started.end(), thread));
        delete thread;
        if (done) done();
    });
    thread->start();
}

void DownloadWorker::call(const std::function<void()>& fn) {
    if (QThread::currentThread() == thread()) {
        fn();
        return;
    }
    QMetaObject::invokeMethod(
        this, [&fn] { fn(); }, Qt::BlockingQueuedConnection);
}

void DownloadWorker::post(std::function<void()> fn) {
    if (QThread::currentThread() == thread()) {
        fn();
        return;
    }
    QMetaObject::invokeMethod(this, std::move(fn), Qt::QueuedConnection);
}

bool WorkerUi::show_msg(MsgKind kind, const std::string& text) {
    bool answer = false;
    m_worker.call([&] { answer = m_ui.show_msg(kind, text); });
    return answer;
}

void WorkerView::show_labels(const net::ExchangeLabels& labels) {
    {
        std::lock_guard lock(m_mutex);
        m_labels = labels;
        if (m_posted) return;
        m_posted = true;
    }
    m_worker.post([this] {
        net::ExchangeLabels newest;
        {
            std::lock_guard lock(m_mutex);
            newest = m_labels;
            m_posted = false;
        }
        m_view.show_labels(newest);
    });
}

void WorkerView::tick() {
    if (m_worker.stop_requested())
        std::atomic_ref<std::uint8_t>(m_net_cancel).store(1, std::memory_order_relaxed);
}

void WorkerView::show_traffic(const std::string& sent, const std::string& received) {
    m_worker.post([this, sent, received] { m_view.show_traffic(sent, received); });
}

void WorkerHost::job_progress(int percent) {
    if (m_percent.exchange(percent) != -1) return;  // a post is waiting; it shows this one
    m_worker.post([this] { m_host.job_progress(m_percent.exchange(-1)); });
}

bool WorkerHost::job_cancelled() const {
    return std::atomic_ref<std::uint8_t>(m_job_cancel).load(std::memory_order_relaxed) != 0;
}

void WorkerHost::job_begin(const std::string& text, bool with_cancel, bool with_percent) {
    m_worker.call([&] { m_host.job_begin(text, with_cancel, with_percent); });
}

void WorkerHost::job_end() {
    m_worker.call([&] { m_host.job_end(); });
}

void WorkerHost::show_connection_window() {
    m_worker.call([&] { m_host.show_connection_window(); });
}

void WorkerHost::hide_connection_window() {
    m_worker.call([&] { m_host.hide_connection_window(); });
}

void WorkerHost::logo_replaced(std::int32_t index) {
    m_worker.post([this, index] { m_host.logo_replaced(index); });
}

void WorkerHost::channels_changing() {
    m_worker.call([&] { m_host.channels_changing(); });
}

void WorkerHost::channels_changed() {
    m_worker.call([&] { m_host.channels_changed(); });
}

void WorkerHost::after_download() {
    std::vector<std::function<void()>> steps;
    m_worker.call([&] { steps = m_host.after_download_steps(); });
    for (const auto& step : steps) m_worker.call(step);
}

void WorkerHost::run_self_update() {
    m_worker.call([&] { m_host.run_self_update(); });
}

void WorkerHost::end_application() {
    m_worker.call([&] { m_host.end_application(); });
}

bool WorkerHost::may_write_favourites() const {
    bool may = false;
    m_worker.call([&] { may = m_host.may_write_favourites(); });
    return may;
}

bool WorkerHost::may_write_marks() const {
    bool may = false;
    m_worker.call([&] { may = m_host.may_write_marks(); });
    return may;
}

void WorkerHost::tray_notice(const std::string& title, const std::string& text) {
    m_worker.post([this, title, text] { m_host.tray_notice(title, text); });
}

}  // namespace zt
