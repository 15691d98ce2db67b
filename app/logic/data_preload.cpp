#include "app/logic/data_preload.h"

#include <algorithm>
#include <system_error>

#include "app/logic/memory_tuning.h"
#include "core/genres.h"
#include "core/time_zones.h"
#include "storage/legacy.h"

namespace zt {

// Keeps the loaders' messages and publishes their progress for the start-up's thread.
class DataPreload::Sink final : public UserInterface, public Progress {
public:
    explicit Sink(DataPreload& owner) : m_owner(owner) {}
    bool show_msg(MsgKind kind, const std::string& text) override {
        m_owner.m_messages.emplace_back(kind, text);
        return false;
    }
    void job_progress(int percent) override {
        m_owner.m_percent.store(percent, std::memory_order_relaxed);
    }

private:
    DataPreload& m_owner;
};

DataPreload::DataPreload(std::string exe_dir, std::shared_ptr<const Clock> clock)
    : m_exe_dir(std::move(exe_dir)), m_store(std::make_unique<all_list>(std::move(clock))) {
    if (m_exe_dir.empty() || m_exe_dir.back() != '/') m_exe_dir += '/';
    m_store->exe_dir = m_exe_dir;
    try {
        m_thread = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        // No thread to be had: nothing is read ahead, start-up reads the files itself.
        m_done = true;
    }
}

DataPreload::~DataPreload() {
    wait();
}

void DataPreload::prepare_memory(std::chrono::milliseconds budget) {
    if (!HeapPrefault::supported()) {
        wait_for(budget);
        return;
    }
    const auto until = std::chrono::steady_clock::now() + budget;
    while (std::chrono::steady_clock::now() < until) {
        {
            std::lock_guard lock(m_mutex);
            if (m_done) return;
        }
        if (!m_prefault.step(m_frontier.load(std::memory_order_relaxed)))
            wait_for(std::chrono::milliseconds(1));
    }
}

bool DataPreload::wait_for(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    return m_ended.wait_for(lock, timeout, [this] { return m_done; });
}

void DataPreload::wait() {
    if (m_thread.joinable()) m_thread.join();
}

void DataPreload::run() {
    Sink sink(*this);
    DataContext ctx(*m_store, sink, sink, m_account);
    ctx.record_frontier = &m_frontier;
    try {
        build_types(*m_store);
        build_time_zones(*m_store);
        if (!legacy_files_present(ctx)) {
            m_results = load_each_data_file(ctx);
            m_usable = true;
        }
    } catch (...) {
        // Out of memory and the like: the start-up reads the files itself and reports it.
        m_messages.clear();
    }
    std::lock_guard lock(m_mutex);
    m_done = true;
    m_ended.notify_all();
}

}  // namespace zt
