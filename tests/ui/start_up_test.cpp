// Start-up and shutdown on a temporary program folder, with recorded windows.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <map>

#include "app/logic/data_preload.h"
#include "app/logic/start_up.h"
#include "core/genres.h"
#include "core/store.h"
#include "storage/data_files.h"
#include "test_support.h"
#include "tools/gen/schedule_generator.h"

namespace zt {
namespace {

using test::at;

struct RecordingJobs final : JobControl {
    void job_begin(const std::string& text, bool, bool) override {
        calls.push_back("begin " + text);
    }
    void job_end() override { calls.push_back("end"); }
    void job_progress(int) override {}
    std::vector<std::string> calls;
};

struct RecordingHost final : StartUpHost {
    void show_setup() override { calls.push_back("setup"); }
    void settings_loaded() override { calls.push_back("settings"); }
    void data_loaded(const std::shared_ptr<chl_group_list>& g) override {
        calls.push_back("data");
        group = g;
    }
    void show_main_window() override { calls.push_back("main"); }
    void manual_download() override { calls.push_back("download"); }
    void collect_settings() override { calls.push_back("collect"); }
    std::vector<std::string> calls;
    std::shared_ptr<chl_group_list> group;
};

QByteArray read_all(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write_all(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class StartUpTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path(const QString& relative) const { return m_dir.filePath(relative); }

    StartUp& start(const QByteArray& settings_text = "") {
        if (!settings_text.isNull()) write_all(path("settings.ini"), settings_text);
        return make();
    }
    StartUp& make() {
        m_clock = std::make_shared<FixedClock>(at("2024-03-13 20:00"));
        m_store = std::make_unique<all_list>(m_clock);
        m_start = std::make_unique<StartUp>(m_dir.path().toStdString(), m_clock, *m_store,
                                            m_settings, m_ui, m_jobs, m_host);
        // As the program does: the files are already being read when start-up begins.
        if (m_preload)
            m_start->set_preload(std::make_unique<DataPreload>(
                m_preload_dir.empty() ? m_dir.path().toStdString() : m_preload_dir, m_clock));
        return *m_start;
    }
    // Writes the four data files of a generated schedule into dat/.
    void write_data_files() {
        auto store = test::make_store(at("2024-03-13 20:00"));
        gen::generate(*store, gen::profile_by_name("tiny"), at("2024-03-13 20:00"));
        store->exe_dir = m_dir.path().toStdString() + "/";
        QDir().mkpath(path("dat"));
        user_account user;
        user.login = "zritel";
        test::Recorder rec;
        ASSERT_TRUE(save_data_files(DataContext{*store, rec, rec, user}, true, true, true, true));
        ASSERT_TRUE(rec.messages.empty());
    }

    QTemporaryDir m_dir;
    bool m_preload = false;
    std::string m_preload_dir;  // another folder for the preload; empty: this one
    std::shared_ptr<FixedClock> m_clock;
    std::unique_ptr<all_list> m_store;
    Settings m_settings;
    test::Recorder m_ui;
    RecordingJobs m_jobs;
    RecordingHost m_host;
    std::unique_ptr<StartUp> m_start;
};

TEST_F(StartUpTest, WithoutSettingsOnlyTheInstallationRunsAndNoFileIsTouched) {
    StartUp& s = start(QByteArray());
    EXPECT_EQ(s.start_up(), StartUp::Result::installing);
    EXPECT_EQ(m_host.calls, std::vector<std::string>{"setup"});
    EXPECT_TRUE(m_ui.messages.empty());
    EXPECT_TRUE(m_jobs.calls.empty());

    // Leaving the installation writes nothing either.
    EXPECT_TRUE(s.save_on_exit());
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

TEST_F(StartUpTest, AnEmptyDataFolderAsksOnlyWhetherToGetTheSchedule) {
    for (const bool yes : {true, false}) {
        m_ui = {};
        m_host = {};
        m_jobs = {};
        m_ui.answer = yes;
        StartUp& s = start();
        EXPECT_EQ(s.start_up(), StartUp::Result::running);
        ASSERT_EQ(m_ui.messages.size(), 1u);
        EXPECT_EQ(m_ui.messages[0].kind, MsgKind::Question);
        EXPECT_EQ(m_ui.messages[0].text, "Телепрограмма не найдена. Получить телепрограмму?");
        std::vector<std::string> expected{"settings", "data", "main"};
        if (yes) expected.push_back("download");
        EXPECT_EQ(m_host.calls, expected);
        EXPECT_EQ(m_jobs.calls, (std::vector<std::string>{"begin Загрузка данных...", "end"}));
        EXPECT_TRUE(QFileInfo(path("dat")).isDir());
    }
}

TEST_F(StartUpTest, QuietLoadingOpensNoJobWindow) {
    start("[GG]\nCSP=1\n").start_up();
    EXPECT_TRUE(m_jobs.calls.empty());
    EXPECT_TRUE(m_settings.general.quiet_start);
}

TEST_F(StartUpTest, ADataFolderThatCannotBeMadeEndsTheProgramWithoutLoading) {
    write_all(path("dat"), "a file in the way");
    StartUp& s = start();
    EXPECT_EQ(s.start_up(), StartUp::Result::terminated);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].kind, MsgKind::Error);
    EXPECT_EQ(m_ui.messages[0].text,
              "Невозможно создать папку \"dat\" в \"" + m_dir.path().toStdString() + "/\"");
    EXPECT_TRUE(m_host.calls.empty());
    EXPECT_FALSE(s.loaded());
    EXPECT_TRUE(s.save_on_exit());
    EXPECT_EQ(read_all(path("dat")), QByteArray("a file in the way"));
    EXPECT_EQ(read_all(path("settings.ini")), QByteArray());
}

TEST_F(StartUpTest, LeftoversOfUpdateAndPrintingAreDeleted) {
    QDir().mkpath(path("dat"));
    write_all(path("old_zorvan_tv"), "old program");
    write_all(path("dat/p.tmp"), "page");
    start().start_up();
    EXPECT_FALSE(QFileInfo::exists(path("old_zorvan_tv")));
    EXPECT_FALSE(QFileInfo::exists(path("dat/p.tmp")));
}

TEST_F(StartUpTest, LoadsTheDataAndTheSettings) {
    write_data_files();
    StartUp& s = start("[CGR]\nC=1\n[WM]\nW=900\n");
    EXPECT_EQ(s.start_up(), StartUp::Result::running);
    EXPECT_TRUE(m_ui.messages.empty());
    EXPECT_FALSE(m_store->channels.empty());
    EXPECT_EQ(m_store->types.size(), std::size_t(kGenreCount));
    EXPECT_FALSE(m_store->time_zones.empty());
    EXPECT_EQ(m_settings.main_window.width, 900);
    EXPECT_EQ(m_store->cur_group, 1);
    ASSERT_NE(m_host.group, nullptr);
    EXPECT_EQ(m_host.group, m_store->chl_groups.at(1));
    EXPECT_EQ(m_host.calls, (std::vector<std::string>{"settings", "data", "main"}));
}

// Data read on another thread while the windows are made is the data start-up would read:
// the same records, login data and calls to the windows. A preload of another folder is not
// taken.
TEST_F(StartUpTest, DataReadAheadIsTheDataStartUpReads) {
    write_data_files();
    const auto snapshot = [this] {
        std::vector<std::string> out{m_store->channels.empty() ? "" : "channels"};
        for (const auto& c : m_store->channels) {
            out.push_back(std::to_string(c->id) + " " + c->name + " logo " +
                          std::to_string(c->logo) + " days " + std::to_string(c->dates.size()));
            for (const auto& p : c->tvprog)
                out.push_back(std::to_string(p->id) + " " + std::to_string(p->start.seconds()) +
                              " " + p->title + (p->type ? " " + p->type->abbr : "") +
                              (p->next_part.lock() ? " >" : "") + (p->love ? " *" : ""));
            for (const auto& l : c->love) out.push_back("fav " + l->title);
        }
        for (const auto& g : m_store->chl_groups)
            out.push_back("group " + g->name + " " + std::to_string(g->members.size()));
        out.push_back("logos " + std::to_string(m_store->logos.size()));
        out.push_back("login " + m_start->account().login);
        return out;
    };
    StartUp& plain = start("[CGR]\nC=1\n");
    ASSERT_EQ(plain.start_up(), StartUp::Result::running);
    const auto expected = snapshot();
    const auto calls = m_host.calls;
    ASSERT_GT(expected.size(), 100u);

    for (const bool other_folder : {false, true}) {
        SCOPED_TRACE(other_folder ? "preload of another folder" : "preload");
        QTemporaryDir other;
        m_preload = true;
        m_preload_dir = other_folder ? other.path().toStdString() : std::string();
        m_host = {};
        StartUp& ahead = start(QByteArray());  // the same settings file
        ASSERT_EQ(ahead.start_up(), StartUp::Result::running);
        EXPECT_TRUE(m_ui.messages.empty());
        EXPECT_EQ(m_host.calls, calls);
        EXPECT_EQ(m_store->types.size(), std::size_t(kGenreCount));
        EXPECT_EQ(m_host.group, m_store->chl_groups.at(1));
        EXPECT_EQ(snapshot(), expected);
    }
}

TEST_F(StartUpTest, ExitWritesViewedDataAndSettingsButNotTheDownloadedFiles) {
    write_data_files();
    const QByteArray u = read_all(path("dat/u.dat"));
    const QByteArray t = read_all(path("dat/t.dat"));
    const QByteArray v = read_all(path("dat/v.dat"));
    const QDateTime u_time = QFileInfo(path("dat/u.dat")).lastModified();
    StartUp& s = start();
    ASSERT_EQ(s.start_up(), StartUp::Result::running);
    write_all(path("dat/p.tmp"), "page");

    m_jobs.calls.clear();
    m_host.calls.clear();
    EXPECT_TRUE(s.save_on_exit());
    EXPECT_TRUE(m_ui.messages.empty());
    EXPECT_EQ(m_jobs.calls, (std::vector<std::string>{"begin Сохранение данных...", "end"}));
    EXPECT_EQ(m_host.calls, std::vector<std::string>{"collect"});

    // v.dat and m.dat were written with their previous generation kept as .bak.
    EXPECT_EQ(read_all(path("dat/v.bak")), v);
    EXPECT_TRUE(QFileInfo(path("dat/m.bak")).isFile());
    EXPECT_TRUE(QFileInfo(path("dat/v.dat")).isFile());
    // u.dat and t.dat stay as they were.
    EXPECT_EQ(read_all(path("dat/u.dat")), u);
    EXPECT_EQ(read_all(path("dat/t.dat")), t);
    EXPECT_EQ(QFileInfo(path("dat/u.dat")).lastModified(), u_time);
    EXPECT_FALSE(QFileInfo::exists(path("dat/u.bak")));
    EXPECT_FALSE(QFileInfo::exists(path("dat/t.bak")));
    // The settings were written and the print page deleted.
    EXPECT_TRUE(read_all(path("settings.ini")).contains("[WM]"));
    EXPECT_FALSE(QFileInfo::exists(path("dat/p.tmp")));

    // What was written loads again.
    all_list again;
    again.exe_dir = m_dir.path().toStdString() + "/";
    user_account user;
    test::Recorder rec;
    EXPECT_TRUE(load_data_files(DataContext{again, rec, rec, user}));
    EXPECT_EQ(again.channels.size(), m_store->channels.size());
}

TEST_F(StartUpTest, ASettingsFileThatCannotBeWrittenIsReported) {
    StartUp& s = start();
    ASSERT_EQ(s.start_up(), StartUp::Result::running);
    m_ui.messages.clear();
    // A folder where the settings file should be: no rename can replace it.
    QFile::remove(path("settings.ini"));
    QDir().mkpath(path("settings.ini"));
    m_jobs.calls.clear();
    const bool saved = s.save_on_exit();
    EXPECT_FALSE(saved);
    ASSERT_FALSE(m_ui.messages.empty());
    EXPECT_EQ(m_ui.messages.back().kind, MsgKind::Error);
    EXPECT_NE(m_ui.messages.back().text.find("Unable to write to"), std::string::npos);
    // The job window closed once, before the message.
    EXPECT_EQ(m_jobs.calls, (std::vector<std::string>{"begin Сохранение данных...", "end"}));
}

// Runs start-up and exit once more on the same folder, as the next start of the program.
class DataSafetyTest : public StartUpTest {
protected:
    void run_once() {
        m_ui = {};
        m_host = {};
        m_jobs = {};
        StartUp& s = start();
        ASSERT_EQ(s.start_up(), StartUp::Result::running);
        m_messages = m_ui.messages;
        s.save_on_exit();
    }
    // Every favourite and every marked programme of the store, as text.
    std::vector<std::string> user_data() const {
        std::vector<std::string> out;
        for (const auto& c : m_store->channels) {
            for (const auto& l : c->love) out.push_back(std::to_string(l->id) + " " + l->title);
            for (const auto& p : c->tvprog)
                if (p->mark == 1 || p->alarm == 1 || p->love)
                    out.push_back(std::to_string(p->id) + " " + std::to_string(p->mark) +
                                  std::to_string(p->alarm) + (p->love ? "*" : ""));
        }
        return out;
    }
    std::vector<test::Recorder::Message> m_messages;
};

// A data file that does not read is not written back, nor is any file whose records hang on
// it: after two runs on a damaged u.dat (or t.dat) and the good file put back, every
// favourite and mark is still there, and the backups too.
TEST_F(DataSafetyTest, AFailedLoadLosesNoFavouritesOrMarks) {
    for (const auto& [damaged, preload] : {std::pair{"u.dat", false}, std::pair{"t.dat", false},
                                           std::pair{"u.dat", true}, std::pair{"t.dat", true}}) {
        SCOPED_TRACE(std::string(damaged) + (preload ? " (read ahead)" : ""));
        m_preload = preload;
        QDir(path("dat")).removeRecursively();
        write_data_files();
        run_once();
        run_once();  // a second generation: v.bak and m.bak exist
        const std::vector<std::string> before = user_data();
        ASSERT_FALSE(before.empty());
        const QString file = path(QString("dat/") + damaged);
        const QByteArray good = read_all(file);
        const QStringList kept = {"v.dat", "v.bak", "m.dat", "m.bak"};
        std::map<QString, QByteArray> bytes;
        for (const QString& k : kept) bytes[k] = read_all(path("dat/" + k));

        QByteArray bad = good;
        bad[bad.size() - 1] = char(bad[bad.size() - 1] ^ 1);
        write_all(file, bad);
        for (int run = 0; run < 2; ++run) {
            run_once();
            // The load message, then once which files were kept.
            ASSERT_EQ(m_messages.size(), damaged == std::string("u.dat") ? 3u : 2u);
            EXPECT_EQ(m_messages[0].text,
                      std::string("Ошибка загрузки данных из файла: \"") + damaged + "\"");
            const std::string& note = m_messages[1].text;
            EXPECT_NE(note.find(std::string("Не прочитаны файлы данных: \"") + damaged),
                      std::string::npos)
                << note;
            EXPECT_NE(note.find("\"m.dat\""), std::string::npos) << note;
        }
        for (const QString& k : kept) {
            if (damaged == std::string("t.dat") && k.startsWith("v")) continue;  // v is free
            EXPECT_EQ(read_all(path("dat/" + k)), bytes[k]) << k.toStdString();
        }

        write_all(file, good);
        run_once();
        EXPECT_TRUE(m_messages.empty());
        EXPECT_EQ(user_data(), before);
    }
}

// An empty v.dat or m.dat is damage like any other: its message, and neither it nor its backup
// is written over, however often the program starts and ends. A missing one beside u.dat and
// t.dat is said to be missing and read from its backup, which stays; the exit writes the file
// anew. Every favourite and mark is there at the end.
TEST_F(DataSafetyTest, AnEmptyOrMissingUserFileLosesNothing) {
    struct Case {
        const char* file;
        bool empty;  // else missing
        bool preload;
    };
    for (const Case c :
         {Case{"v.dat", true, false}, Case{"m.dat", true, false}, Case{"v.dat", false, false},
          Case{"m.dat", false, false}, Case{"v.dat", true, true}, Case{"m.dat", false, true}}) {
        const std::string name = c.file;
        const QString bak_name = QString::fromStdString(name.substr(0, 1) + ".bak");
        SCOPED_TRACE(name + (c.empty ? " empty" : " missing") + (c.preload ? " (read ahead)" : ""));
        m_preload = c.preload;
        QDir(path("dat")).removeRecursively();
        write_data_files();
        run_once();
        run_once();  // a second generation: v.bak and m.bak exist
        const std::vector<std::string> before = user_data();
        ASSERT_GT(before.size(), 10u);
        const QString file = path(QString::fromStdString("dat/" + name));
        const QByteArray bak = read_all(path("dat/" + bak_name));
        ASSERT_FALSE(bak.isEmpty());

        if (c.empty) {
            write_all(file, QByteArray());
            for (int run = 0; run < 2; ++run) {
                run_once();
                ASSERT_EQ(m_messages.size(), 2u);
                EXPECT_EQ(m_messages[0].text, "Ошибка загрузки данных из файла: \"" + name + "\"");
                EXPECT_NE(m_messages[1].text.find("Не прочитаны файлы данных: \"" + name + "\""),
                          std::string::npos)
                    << m_messages[1].text;
                EXPECT_EQ(QFileInfo(file).size(), 0);
                EXPECT_EQ(read_all(path("dat/" + bak_name)), bak);
            }
            // The user puts the backup back.
            QFile::remove(file);
            QFile::copy(path("dat/" + bak_name), file);
        } else {
            QFile::remove(file);
            run_once();
            ASSERT_EQ(m_messages.size(), 1u);
            EXPECT_EQ(m_messages[0].text,
                      "Файл данных \"" + name +
                          "\" не найден. Данные прочитаны из его резервной копии \"" +
                          bak_name.toStdString() + "\".");
            EXPECT_EQ(user_data(), before);
            EXPECT_EQ(read_all(path("dat/" + bak_name)), bak);
            EXPECT_TRUE(QFileInfo(file).isFile());
        }
        run_once();
        EXPECT_TRUE(m_messages.empty());
        EXPECT_EQ(user_data(), before);
    }
}

// "Сохранять пароль" goes into the login data t.dat is written with.
TEST_F(DataSafetyTest, TheSavedPasswordReachesTheScheduleFile) {
    StartUp& s = start("[CHU]\nS=1\n");
    ASSERT_EQ(s.start_up(), StartUp::Result::running);
    s.account().login = "zritel";
    s.account().password = "5ebe2294ecd0e0f08eab7690d2a6ee69";
    ASSERT_TRUE(save_t(s.data_context()));
    all_list again;
    again.exe_dir = m_dir.path().toStdString() + "/";
    user_account user;
    test::Recorder rec;
    ASSERT_TRUE(load_t(DataContext{again, rec, rec, user}));
    EXPECT_EQ(user.password, "5ebe2294ecd0e0f08eab7690d2a6ee69");
}

// A termination request during start-up ends it: no question, nothing saved afterwards.
TEST_F(DataSafetyTest, TerminationDuringStartUpEndsItAndSavesNothing) {
    write_data_files();
    const QByteArray v = read_all(path("dat/v.dat"));
    StartUp& s = start();
    s.set_termination_check([] { return true; });
    EXPECT_EQ(s.start_up(), StartUp::Result::terminated);
    EXPECT_FALSE(s.loaded());
    EXPECT_TRUE(m_ui.messages.empty());
    EXPECT_TRUE(s.save_on_exit(true));
    EXPECT_EQ(read_all(path("dat/v.dat")), v);
    EXPECT_FALSE(QFileInfo::exists(path("dat/v.bak")));

    // Empty store: the question is not asked once termination was requested.
    QDir(path("dat")).removeRecursively();
    bool stop = false;
    m_ui = {};
    StartUp& empty = start();
    empty.set_termination_check([&stop] { return stop; });
    m_host = {};
    stop = true;
    EXPECT_EQ(empty.start_up(), StartUp::Result::terminated);
    EXPECT_TRUE(m_ui.messages.empty());

    // The request arrives while the first message (a damaged file) is open: no further
    // message opens and start-up ends.
    write_data_files();
    write_all(path("dat/u.dat"), "\x02\x00\x00\x00garbage");
    m_ui = {};
    StartUp& damaged = start();
    damaged.set_termination_check([this] { return !m_ui.messages.empty(); });
    EXPECT_EQ(damaged.start_up(), StartUp::Result::terminated);
    EXPECT_EQ(m_ui.messages.size(), 1u);
}

// Errors of a save at termination open no window: they are shown at the next start.
TEST_F(DataSafetyTest, TerminationTimeSaveErrorsAreShownAtTheNextStart) {
    StartUp& s = start();
    ASSERT_EQ(s.start_up(), StartUp::Result::running);
    m_ui.messages.clear();
    QFile::remove(path("settings.ini"));
    QDir().mkpath(path("settings.ini"));
    EXPECT_FALSE(s.save_on_exit(true));
    EXPECT_TRUE(m_ui.messages.empty());
    QDir(path("settings.ini")).removeRecursively();
    write_all(path("settings.ini"), "");

    m_ui = {};
    StartUp& next = start(QByteArray());
    ASSERT_EQ(next.start_up(), StartUp::Result::running);
    ASSERT_FALSE(m_ui.messages.empty());
    EXPECT_EQ(m_ui.messages[0].kind, MsgKind::Error);
    EXPECT_NE(m_ui.messages[0].text.find("Unable to write to"), std::string::npos);
    EXPECT_FALSE(QFileInfo::exists(path("dat/exit.log")));
}

// The disk full when the system ends the program: the data files and settings.ini keep their
// last generation, and the report of what could not be written, for which there is no room
// either, goes into the room start-up took for it, so the next start shows it. On a small real
// tmpfs mounted over the program folder in a child with a mount namespace of its own; skipped
// where none can be mounted.
TEST_F(DataSafetyTest, AFullDiskAtTheSystemsEndIsShownAtTheNextStart) {
    const std::string folder = m_dir.path().toStdString();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (unshare(CLONE_NEWNS) != 0 && unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) _exit(77);
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
        if (mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=2m") != 0) _exit(77);
        write_data_files();
        StartUp& s = start();
        if (s.start_up() != StartUp::Result::running || !m_ui.messages.empty()) _exit(2);
        const QByteArray v = read_all(path("dat/v.dat"));
        const QByteArray settings = read_all(path("settings.ini"));
        m_store->channels.front()->love.clear();  // v.dat has to be written
        {
            // Every block taken.
            QFile filler(path("filler"));
            filler.open(QIODevice::WriteOnly);
            const QByteArray block(4096, 'x');
            while (filler.write(block) == block.size() && filler.flush()) {
            }
        }
        if (s.save_on_exit(true) || !m_ui.messages.empty()) _exit(3);
        if (read_all(path("dat/v.dat")) != v || read_all(path("settings.ini")) != settings)
            _exit(4);
        QFile::remove(path("filler"));

        m_ui = {};
        StartUp& next = start(QByteArray());
        if (next.start_up() != StartUp::Result::running || m_ui.messages.empty()) _exit(5);
        const std::string& shown = m_ui.messages[0].text;
        if (shown.find("При прошлом завершении программы не удалось сохранить:") != 0 ||
            shown.find("\"v.dat\"") == std::string::npos || shown.find('\0') != std::string::npos)
            _exit(6);
        // Shown once; the room is taken again for the next report.
        if (QFileInfo::exists(path("dat/exit.log")) ||
            QFileInfo(path("dat/exit.space")).size() != 4096)
            _exit(7);
        umount(folder.c_str());
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no tmpfs can be mounted here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "failed at step " << WEXITSTATUS(status);
}

// A settings file that is far too large is neither used nor written over.
TEST_F(DataSafetyTest, AnOversizedSettingsFileIsLeftAlone) {
    write_all(path("settings.ini"), "[WM]\nW=900\n");
    QFile(path("settings.ini")).resize(qint64(IniFile::kMaxFileSize) + 100);
    StartUp& s = start(QByteArray());
    ASSERT_EQ(s.start_up(), StartUp::Result::running);
    ASSERT_FALSE(m_ui.messages.empty());
    EXPECT_NE(m_ui.messages[0].text.find("settings.ini"), std::string::npos);
    EXPECT_NE(m_settings.main_window.width, 900);
    EXPECT_TRUE(s.save_on_exit());
    EXPECT_EQ(QFileInfo(path("settings.ini")).size(), qint64(IniFile::kMaxFileSize) + 100);
}

}  // namespace
}  // namespace zt
