#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/progress.h"
#include "core/store.h"
#include "storage/file_system.h"

namespace zt {

// The download dialog's login data that t.dat keeps: the text of `EditLogin`, the password
// digest `password` (32 lower-case hex digits or empty), `paid_login`, and the box
// `CheckBoxLoginSave` ("Сохранять пароль"). Texts are CP1251. The dialogs edit this model.
struct user_account final {
    std::string login;
    std::string password;
    std::string paid_login;
    bool save_password = false;
};

// What the data files work on: the store, where messages and progress go, the login data of
// t.dat, and the file system (the real one unless a test passes another).
struct DataContext final {
    DataContext(all_list& store_, UserInterface& ui_, Progress& progress_, user_account& user_,
                FileSystem* files_ = nullptr)
        : store(store_), ui(ui_), progress(progress_), user(user_), files(files_) {}

    all_list& store;
    UserInterface& ui;
    Progress& progress;
    user_account& user;
    FileSystem* files = nullptr;
    // The largest body a file may inflate to; 0 is the default, body_ceiling().
    std::size_t body_limit = 0;
    // The memory the records of one file may take; 0 is the default, half of body_ceiling().
    std::size_t record_budget = 0;
    // The job window's caption (UTF-8) and its closing, used by the legacy conversion; either
    // may be empty.
    std::function<void(const std::string&)> job_caption;
    std::function<void()> job_end;
    // When set, the loaders keep here the address of the latest programme they made (after
    // each channel), for another thread that prepares the memory beyond it.
    std::atomic<std::uintptr_t>* record_frontier = nullptr;
    // Whether save_data_files may write v.dat (favourites) and m.dat (marks and reminders).
    // Off where they, or the files they hang on, could not be read at start: written from this
    // store they would push what the user still has on disk out through the backup.
    bool write_favourites = true;
    bool write_marks = true;

    FileSystem& fs() const { return files ? *files : FileSystem::real(); }
};

// The version every file is written with; u.dat and t.dat also read version 1.
constexpr std::int32_t kDataVersion = 2;

// The contents of a file of the data folder, or nothing: silently when it is missing, with the
// message "Ошибка при открытии файла данных: ..." when it cannot be read and "Ошибка загрузки
// данных из файла: ..." when it is empty.
std::optional<std::string> open_data_file(const DataContext& ctx, const std::string& name);

// Compresses `body` and replaces the data file `name` with version `version` and that body;
// the previous generation becomes `bak`. The new contents go to a temporary file in the same
// folder, which is flushed to disk before it takes the data file's name, so a complete data
// file (old or new) exists at every moment. On failure shows "Ошибка при создании файла
// данных: ..." and returns false; the previous data file stays as it was.
bool save_data_file(const DataContext& ctx, std::string body, const std::string& name,
                    const std::string& bak, std::int32_t version = kDataVersion);

// Each reads one file into the store. A missing file is a first run and changes nothing. A file
// that is empty, cannot be read, has a wrong version, does not inflate or ends inside a record
// shows its message (an error); what was read before the damage stays in the store. Return
// false when a message was shown.
bool load_u(const DataContext& ctx);
bool load_v(const DataContext& ctx);
bool load_t(const DataContext& ctx);
bool load_m(const DataContext& ctx);

// Each writes one file from the store; false (after its message) when it could not be written.
bool save_u(const DataContext& ctx);
bool save_v(const DataContext& ctx);
bool save_t(const DataContext& ctx);
bool save_m(const DataContext& ctx);

// What each loader returned.
struct LoadResults final {
    bool u = false, v = false, t = false, m = false;
    bool all() const { return u && v && t && m; }
};
// u, v, t and m in that order, each read even when an earlier one failed. A v.dat or m.dat
// missing beside u.dat and t.dat of the current version was lost (the exit writes both): a message
// says so, and its backup (v.bak, m.bak) is read in its place where there is one; the result is
// then the backup's.
LoadResults load_each_data_file(const DataContext& ctx);
// The same; false when any of them failed.
bool load_data_files(const DataContext& ctx);
// The chosen files in the order u, v, t, m; a failed file does not stop the others. False when
// any of them failed.
bool save_data_files(const DataContext& ctx, bool u, bool v, bool t, bool m);

// The bodies (uncompressed) the savers write, for tools and benchmarks.
std::string build_u_body(const DataContext& ctx);
std::string build_v_body(const DataContext& ctx);
std::string build_t_body(const DataContext& ctx);
std::string build_m_body(const DataContext& ctx);

// A date-time as the data files write it ("yyyy-MM-dd" or "yyyy-MM-dd hh:mm" in the store's
// `fs_file`), for the tools that show what the files hold.
std::string file_datetime_text(const all_list& store, DateTime v);

}  // namespace zt
