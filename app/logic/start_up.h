#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/clock.h"
#include "core/job_control.h"
#include "core/program_files.h"
#include "core/progress.h"
#include "storage/data_files.h"
#include "storage/ini_file.h"
#include "storage/settings.h"

namespace zt {

class all_list;
class DataPreload;

// What start-up and shutdown ask of the windows. The application implements it with the main
// window and its companions; tests record the calls.
class StartUpHost {
public:
    virtual ~StartUpHost() = default;
    // No settings.ini beside the executable: show the installation window instead of the
    // main window. Nothing is loaded.
    virtual void show_setup() = 0;
    // The settings were read into the model: the windows take their layout and switches.
    virtual void settings_loaded() = 0;
    // The data files are loaded; `group` is the channel group to show (null without
    // channels). The panels and the programme pages fill themselves.
    virtual void data_loaded(const std::shared_ptr<chl_group_list>& group) = 0;
    // Loading is over: the main window appears with the page "Сейчас" active (or stays in
    // the tray when it starts there).
    virtual void show_main_window() = 0;
    // The store is empty and the user wants the schedule: the manual download.
    virtual void manual_download() = 0;
    // Before the settings are written: the windows put their layout into the model.
    virtual void collect_settings() = 0;
    // The main window is shown and the store has channels: the automatic download starts as
    // its settings say.
    virtual void start_auto_download() {}
};

// The program's start-up and shutdown on one program folder: install check, data folder,
// catalogues, settings, data files, and on exit the user's data and the settings written back.
class StartUp final {
public:
    enum class Result {
        running,     // loaded; the main window runs
        installing,  // no settings.ini: the installation window runs instead
        terminated,  // the application ends at once without saving anything
    };

    // `exe_dir` is the program folder (UTF-8, with or without a trailing '/').
    StartUp(std::string exe_dir, std::shared_ptr<const Clock> clock, all_list& store,
            Settings& settings, UserInterface& ui, JobControl& jobs, StartUpHost& host);
    ~StartUp();

    // The data files already being read on another thread (started before the windows were
    // made): start-up takes their data instead of reading the files, when they are of this
    // program folder and need no conversion.
    void set_preload(std::unique_ptr<DataPreload> preload);

    Result start_up();
    // Writes v.dat and m.dat and the settings and deletes the print page file. Does nothing
    // unless start-up loaded the data (an installation or an aborted start must not write
    // empty data over the user's files). A file that failed to load, and each file whose
    // records hang on it (v.dat on u.dat; m.dat on u.dat and t.dat), is not written: it and its
    // backup stay as they are. Settings that were refused at loading are not written either.
    // With `terminating` (the system ends the program) no window opens: errors go to standard
    // error and to the exit report shown at the next start. False when something could not
    // be written.
    bool save_on_exit(bool terminating = false);
    // The settings part of the exit alone, for the self-update, which replaces the program
    // before the exit: what the windows hold is collected and settings.ini written (unless it
    // was refused at loading). False, after the message, when it could not be written.
    bool save_settings();

    // Asked between the steps of start-up: true when the program is to end (a termination
    // signal arrived). Start-up then ends at once, loading and saving nothing more.
    void set_termination_check(std::function<bool()> check) { m_terminating = std::move(check); }

    bool loaded() const { return m_loaded; }
    // Whether v.dat may be written: its favourites hang on u.dat's channels, so not after
    // either file failed to load.
    bool may_write_v() const { return m_write_v; }
    // Whether m.dat may be written: its marks hang on u.dat's channels and t.dat's programmes.
    bool may_write_m() const { return m_write_m; }
    const std::string& exe_dir() const { return m_exe_dir; }
    IniFile& ini() { return m_ini; }
    user_account& account() { return m_account; }
    // The context the data files are read and written with.
    DataContext data_context();

private:
    // The messages of start-up: once termination was requested none opens a window (each
    // goes to standard error), so nothing holds the ending program up.
    class StartUpMessages final : public UserInterface {
    public:
        explicit StartUpMessages(StartUp& owner) : m_owner(owner) {}
        bool show_msg(MsgKind kind, const std::string& text) override;

    private:
        StartUp& m_owner;
    };

    DataContext context_with(UserInterface& ui);
    // Collects and writes the settings; the error's text when they could not be written.
    std::optional<std::string> write_settings();
    bool stop_requested() const { return m_terminating && m_terminating(); }
    // Loads the four files and decides which of v.dat and m.dat the exit may write.
    void load_files(const DataContext& ctx);
    // Takes the preloaded data (waiting for it, the job window showing its progress), shows
    // its messages and decides as load_files does; false when there is none to take.
    bool take_preload();
    // Decides which of v.dat and m.dat the exit may write and reports the files not read.
    void loaded(const LoadResults& r);
    // Shows (and removes) what a termination-time save could not write last time.
    void show_exit_report();

    std::string m_exe_dir;
    std::shared_ptr<const Clock> m_clock;
    all_list& m_store;
    Settings& m_settings;
    UserInterface& m_ui;
    JobControl& m_jobs;
    StartUpHost& m_host;
    IniFile m_ini;
    user_account m_account;
    bool m_loaded = false;
    bool m_write_v = false;
    bool m_write_m = false;
    std::function<bool()> m_terminating;
    std::unique_ptr<DataPreload> m_preload;
    StartUpMessages m_messages{*this};
};

}  // namespace zt
