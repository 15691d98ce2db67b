#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "app/logic/session_state.h"
#include "app/logic/start_up.h"
#include "core/store.h"
#include "storage/settings.h"
#include "storage/settings_store.h"
#include "views/logic/view_state.h"

namespace zt {

class AppUi;
class AutoDownloadController;
class Downloads;
class SettingsCommand;
class ManualDownload;
class WindowDownloadHost;
class ManagerCommand;
class PrintCommand;
class Reminders;
class TFJob;
class TFMain;
class TFMsg;
class TFProgress;
class TFSetup;
class TFStat;

// One running program: the store, the settings model, the windows that live for the whole
// run, and the start-up and shutdown on the program folder. `program_main` makes one; tests
// make one on a temporary folder.
class Application final : public QObject, private StartUpHost {
    Q_OBJECT
public:
    // `exe_dir` is the program folder, `executable` the running program (copied by the
    // installation).
    Application(QString exe_dir, QString executable, std::shared_ptr<const Clock> clock);
    ~Application() override;

    // Runs the start-up sequence.
    StartUp::Result start();

    // A second copy asked for this one: the window in use is shown and brought to the front.
    // Returns the answer for the second copy.
    QString activate();

    // "Выход": saves and ends.
    void ExitProgram();
    // The system ends the program (a termination signal): saves as "Выход" does, but no
    // window opens; what could not be written is reported at the next start.
    void Terminate();
    // The manual download ("Ручное получение телепрограммы"): the one place the download
    // dialogs start from.
    void StartManualDownload();

    all_list& store() { return m_store; }
    // The flags of the running session (busy, cancel, messages), shared by the windows and
    // the downloads.
    SessionState& session() { return m_session; }
    Settings& settings() { return m_settings; }
    // The live settings every window and feature reads and edits, with its change signal.
    SettingsStore& settings_store() { return m_settings_store; }
    ViewState& view() { return m_view; }
    StartUp& start_up() { return *m_start_up; }
    AppUi& ui() { return *m_ui; }
    TFMain& main_window() { return *m_main; }
    TFMsg& msg_window() { return *m_msg; }
    TFJob& job_window() { return *m_job; }
    TFProgress& progress_window() { return *m_progress; }
    TFStat& stat_window() { return *m_stat; }
    AutoDownloadController& auto_download();
    SettingsCommand& settings_command() { return *m_settings_cmd; }
    // True once the program is over (quit_requested was sent), for example when the user's
    // session ended while start-up still waited for an answer.
    bool finished() const { return m_finished; }
    // At the program's end, after the event loop: the channels with their hundreds of
    // thousands of programmes are handed to the system, which takes the process's memory back
    // at once, instead of being freed one record at a time (most of the time the exit took).
    // Everything was saved before the event loop ended.
    void leave_records_to_the_system();
    // The installation window while it runs, or null.
    TFSetup* setup_window() { return m_setup.get(); }
    // The print command, made on its first use (null before).
    PrintCommand* print_command() { return m_print.get(); }
    // The download's window side, shared by the manual and the automatic download.
    WindowDownloadHost& download_host();
    // The manual download command, made on its first use (null before).
    ManualDownload* manual_download_command();
    // The reminders: the scan and its outputs, the settings window, the menu items.
    Reminders& reminders() { return *m_reminders; }
    // "Менеджер" with the manager window.
    ManagerCommand& manager() { return *m_manager; }

signals:
    // The program is over (after an exit, a finished or closed installation, or a start-up
    // that ended); the event loop is to end.
    void quit_requested();

private:
    void show_setup() override;
    void settings_loaded() override;
    void data_loaded(const std::shared_ptr<chl_group_list>& group) override;
    void show_main_window() override;
    void manual_download() override;
    void collect_settings() override;
    void start_auto_download() override;

    void open_cabinet();
    // The day page's print command; the print settings are saved afterwards.
    void print_day_page();
    void save_for_session_end();
    void exit_program(bool terminating);

    QString m_executable;
    all_list m_store;
    SessionState m_session;
    Settings m_settings;
    SettingsStore m_settings_store{m_settings};
    ViewState m_view{m_store};
    std::unique_ptr<TFMain> m_main;
    std::unique_ptr<TFMsg> m_msg;
    std::unique_ptr<TFProgress> m_progress;
    std::unique_ptr<TFJob> m_job;
    std::unique_ptr<TFStat> m_stat;
    std::unique_ptr<TFSetup> m_setup;
    std::unique_ptr<PrintCommand> m_print;
    std::unique_ptr<Reminders> m_reminders;
    std::unique_ptr<AppUi> m_ui;
    ManagerCommand* m_manager = nullptr;  // a child of this
    std::unique_ptr<StartUp> m_start_up;
    std::unique_ptr<Downloads> m_downloads;
    std::unique_ptr<SettingsCommand> m_settings_cmd;
    bool m_exiting = false;
    // What waits for the download's worker to end (see exit_program, save_for_session_end).
    bool m_exit_after_work = false;
    bool m_exit_terminating = false;
    bool m_save_after_work = false;
    bool m_finished = false;
};

}  // namespace zt
