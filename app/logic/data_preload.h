#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/logic/memory_tuning.h"
#include "core/clock.h"
#include "core/store.h"
#include "storage/data_files.h"

namespace zt {

// The four data files read on a thread of their own while the program makes its windows, so
// the user waits for the longer of the two instead of both. Nothing is shown from that thread:
// its messages are kept, and the start-up shows them in their order when it takes the data,
// together with the progress it polls meanwhile. Files that still need the one-time conversion
// are not read: the start-up converts them as without a preload.
class DataPreload final {
public:
    // Starts reading the data folder of the program folder `exe_dir` (UTF-8, with or without
    // a trailing '/').
    DataPreload(std::string exe_dir, std::shared_ptr<const Clock> clock);
    // Waits for the reading to end: the thread never outlives its data.
    ~DataPreload();
    DataPreload(const DataPreload&) = delete;
    DataPreload& operator=(const DataPreload&) = delete;

    // The program folder, with a trailing '/'.
    const std::string& exe_dir() const { return m_exe_dir; }
    // The last percentage the loaders reported.
    int percent() const { return m_percent.load(std::memory_order_relaxed); }
    // Waits at most `timeout` for the end of the reading; true when it has ended.
    bool wait_for(std::chrono::milliseconds timeout);
    // Waits for the end of the reading.
    void wait();
    // Lets the calling thread, while it would only wait, fault in the pages just beyond the
    // latest records: the reading thread then finds them ready instead of stopping for each
    // (the program makes every thread allocate from the main heap: tune_allocator).
    // Returns after at most about `budget`, or when the reading has ended.
    void prepare_memory(std::chrono::milliseconds budget);

    // After wait(): whether the data was read (not when the files need the conversion, or
    // reading failed for want of memory: the start-up then reads them itself), what each
    // loader returned, the messages in their order, the store with the data and the login data
    // of t.dat.
    bool usable() const { return m_usable; }
    const LoadResults& results() const { return m_results; }
    const std::vector<std::pair<MsgKind, std::string>>& messages() const { return m_messages; }
    all_list& store() { return *m_store; }
    const user_account& account() const { return m_account; }

private:
    class Sink;
    void run();

    std::string m_exe_dir;
    std::unique_ptr<all_list> m_store;
    user_account m_account;
    LoadResults m_results;
    bool m_usable = false;
    std::vector<std::pair<MsgKind, std::string>> m_messages;
    std::atomic<int> m_percent{0};
    std::atomic<std::uintptr_t> m_frontier{0};
    HeapPrefault m_prefault;  // prepare_memory's own
    std::mutex m_mutex;
    std::condition_variable m_ended;
    bool m_done = false;
    std::thread m_thread;
};

}  // namespace zt
