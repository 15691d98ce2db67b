#include "app/logic/data_preload.h"

#include <sys/mman.h>

#include <algorithm>
#include <system_error>

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
#ifdef MADV_POPULATE_WRITE
    // Records are made one after the other at the top of the heap the reading thread
    // allocates from: the pages up to kAhead beyond the latest are faulted in, a step at a time.
    // Faulting in never changes a page's contents, so pages the allocator already uses, gives
    // back or has not yet made usable are all harmless (the call fails for the last two, and is
    // tried again later). The program makes every thread allocate from the main heap, which
    // grows in large steps while data is read (a heap of a thread of its own grows a page at a
    // time, leaving nothing ready to prepare). The pages prepared stay within the 64 MB-aligned
    // block of the latest record, the size and alignment of the allocator's heaps for threads,
    // so no mapping beyond a heap is ever touched.
    constexpr std::uintptr_t kPage = 4096, kStep = std::uintptr_t(1) << 20;
    constexpr std::uintptr_t kAhead = std::uintptr_t(24) << 20;
    constexpr std::uintptr_t kHeapBlock = std::uintptr_t(64) << 20;
    const auto until = std::chrono::steady_clock::now() + budget;
    while (std::chrono::steady_clock::now() < until) {
        {
            std::lock_guard lock(m_mutex);
            if (m_done) return;
        }
        const std::uintptr_t frontier = m_frontier.load(std::memory_order_relaxed) & ~(kPage - 1);
        const std::uintptr_t limit = std::min(frontier + kAhead, (frontier | (kHeapBlock - 1)) + 1);
        // The heap moved elsewhere (or the reading has not made a record yet): start afresh
        // at the latest record.
        if (m_prepared_to < frontier || m_prepared_to > limit) m_prepared_to = frontier;
        if (frontier == 0 || m_prepared_to >= limit) {
            wait_for(std::chrono::milliseconds(1));
            continue;
        }
        const std::uintptr_t step = std::min(kStep, limit - m_prepared_to);
        if (madvise(reinterpret_cast<void*>(m_prepared_to), step, MADV_POPULATE_WRITE) != 0) {
            // Beyond the heap's usable part: tried again once the allocator has grown it.
            wait_for(std::chrono::milliseconds(1));
            continue;
        }
        m_prepared_to += step;
    }
#else
    wait_for(budget);
#endif
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
