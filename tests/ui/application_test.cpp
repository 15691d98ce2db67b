// The whole program on a temporary folder: which windows appear, and the two-copy rule with
// the real executable.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <ctime>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app/application.h"
#include "app/single_instance.h"
#include "dialogs/msg_window.h"
#include "dialogs/setup_window.h"
#include "storage/data_files.h"
#include "test_support.h"
#include "tools/gen/schedule_generator.h"
#include "ui_helpers.h"
#include "views/main_window.h"

namespace zt {
namespace {

void write_all(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

std::unique_ptr<Application> make_app(const QTemporaryDir& dir) {
    return std::make_unique<Application>(
        dir.path() + "/", dir.filePath("zorvan_tv"),
        std::make_shared<FixedClock>(test::at("2024-03-13 20:00")));
}

TEST(Application, WithoutSettingsOnlyTheInstallationWindowIsShown) {
    QTemporaryDir dir;
    auto app = make_app(dir);
    EXPECT_EQ(app->start(), StartUp::Result::installing);
    ASSERT_NE(app->setup_window(), nullptr);
    EXPECT_TRUE(app->setup_window()->isVisible());
    EXPECT_FALSE(app->main_window().isVisible());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());

    // Closing the installation window ends the program, still without writing anything.
    QSignalSpy quit(app.get(), &Application::quit_requested);
    app->setup_window()->close();
    EXPECT_EQ(quit.count(), 1);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

TEST(Application, AnEmptyFolderAsksForTheScheduleOverTheMainWindowAndExitSaves) {
    QTemporaryDir dir;
    write_all(dir.filePath("settings.ini"), "");
    auto app = make_app(dir);
    bool main_visible_when_asked = false;
    QString question;
    test::OnNextModal answer([&](QDialog&) {
        main_visible_when_asked = app->main_window().isVisible();
        question = app->msg_window().current_panel().text->text();
        QTest::mouseClick(test::widget<QPushButton>(app->msg_window(), "BitBtnNo"), Qt::LeftButton);
    });
    EXPECT_EQ(app->start(), StartUp::Result::running);
    EXPECT_EQ(answer.runs(), 1);
    EXPECT_EQ(question, QStringLiteral("Телепрограмма не найдена. Получить телепрограмму?"));
    EXPECT_TRUE(main_visible_when_asked);
    EXPECT_EQ(app->activate(), QStringLiteral("shown"));

    QSignalSpy quit(app.get(), &Application::quit_requested);
    test::action(app->main_window(), "MDataExit")->trigger();
    EXPECT_EQ(quit.count(), 1);
    EXPECT_FALSE(app->main_window().isVisible());
    EXPECT_TRUE(QFileInfo(dir.filePath("dat/v.dat")).isFile());
    EXPECT_TRUE(QFileInfo(dir.filePath("dat/m.dat")).isFile());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("dat/u.dat")));
    QFile ini(dir.filePath("settings.ini"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("[WM]"));
}

// Two real processes of the program: the second start shows the first one's window and ends.
TEST(Application, ASecondCopyActivatesTheFirstAndEndsAndTheSystemsEndSaves) {
    const QString program = QStringLiteral(ZT_BINARY_DIR "/zorvan_tv");
    if (!QFileInfo(program).isExecutable()) GTEST_SKIP() << "the program is not built";
    QTemporaryDir dir;
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_TRUE(QFile::copy(program, dir.filePath("zorvan_tv")));
    // Starts in the tray, so the activation has something to show; no automatic download.
    write_all(dir.filePath("settings.ini"), "[GG]\nCTS=1\n[CHD]\nA=0\n");
    // A schedule around the present moment, which the program reads while it makes its
    // windows and writes back at its end.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const DateTime hour =
        *DateTime::fromParts(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour);
    auto generated = test::make_store(hour);
    gen::generate(*generated, gen::profile_by_name("tiny"), hour);
    generated->exe_dir = dir.path().toStdString() + "/";
    ASSERT_TRUE(QDir().mkpath(dir.filePath("dat")));
    {
        user_account user;
        test::Recorder rec;
        ASSERT_TRUE(
            save_data_files(DataContext{*generated, rec, rec, user}, true, true, true, true));
    }

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    auto start = [&](QProcess& p) {
        p.setProcessEnvironment(env);
        p.setProgram(dir.filePath("zorvan_tv"));
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start();
        return p.waitForStarted(10000);
    };

    QProcess first;
    ASSERT_TRUE(start(first));
    const QString socket = runtime.filePath("zorvan_tv");
    QElapsedTimer waited;
    waited.start();
    while (!QFileInfo::exists(socket) && waited.elapsed() < 20000) QTest::qWait(50);
    ASSERT_TRUE(QFileInfo::exists(socket)) << "the first copy did not start listening";

    QProcess second;
    ASSERT_TRUE(start(second));
    EXPECT_TRUE(second.waitForFinished(10000)) << "the second copy did not end";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);

    // The first copy answers an activation with its window shown.
    QString reply;
    EXPECT_TRUE(SingleInstance::activate_running(socket, &reply, 5000));
    EXPECT_EQ(reply, QStringLiteral("shown"));

    // Asked to end by the system, the first copy saves like "Выход" does.
    first.terminate();
    EXPECT_TRUE(first.waitForFinished(10000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_TRUE(QFileInfo(dir.filePath("dat/v.bak")).isFile());
    EXPECT_TRUE(QFileInfo(dir.filePath("dat/m.bak")).isFile());
    QFile ini(dir.filePath("settings.ini"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("[WM]"));
    // What it wrote reads back whole, with every channel, programme and favourite.
    all_list again;
    again.exe_dir = generated->exe_dir;
    user_account user;
    test::Recorder rec;
    EXPECT_TRUE(load_data_files(DataContext{again, rec, rec, user}));
    ASSERT_EQ(again.channels.size(), generated->channels.size());
    std::size_t favourites = 0;
    for (const auto& c : generated->channels) favourites += c->love.size();
    EXPECT_GT(favourites, 0u);
    for (std::size_t i = 0; i < again.channels.size(); ++i) {
        EXPECT_EQ(again.channels[i]->tvprog.size(), generated->channels[i]->tvprog.size()) << i;
        EXPECT_EQ(again.channels[i]->love.size(), generated->channels[i]->love.size()) << i;
    }
    if (first.state() != QProcess::NotRunning) first.kill();
}

TEST(SingleInstance, ASocketLeftByACopyThatDiedIsTakenOver) {
    QTemporaryDir dir;
    const QString name = dir.filePath("zorvan_tv");
    write_all(name, "left behind");
    SingleInstance instance(name);
    EXPECT_EQ(instance.listen(), SingleInstance::Listen::listening);
    // A second listener on the same name gives way to the live one.
    SingleInstance other(name);
    EXPECT_EQ(other.listen(), SingleInstance::Listen::taken);
}

// Without a runtime folder of the user's own (Qt refuses one that another user owns) the
// socket goes into a private folder in the user's cache, never into a shared one where another
// user could take the name first.
TEST(SingleInstance, NeverFallsBackToASharedFolder) {
    QTemporaryDir dir;
    const QByteArray saved_cache = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath("cache")));
    const QString name = SingleInstance::name_in(QString());
    if (saved_cache.isNull())
        qunsetenv("XDG_CACHE_HOME");
    else
        qputenv("XDG_CACHE_HOME", saved_cache);
    ASSERT_FALSE(name.isEmpty());
    EXPECT_TRUE(name.startsWith(dir.filePath("cache/"))) << name.toStdString();
    const QFileInfo folder(QFileInfo(name).path());
    EXPECT_EQ(folder.ownerId(), ::getuid());
    EXPECT_EQ(folder.permissions() & (QFile::WriteGroup | QFile::WriteOther | QFile::ReadOther),
              QFile::Permissions());

    // A folder under that name that others may write into is not used.
    QDir(folder.filePath()).removeRecursively();
    QDir().mkpath(folder.filePath());
    QFile::setPermissions(folder.filePath(), QFile::Permissions(0x7777));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath("cache")));
    EXPECT_TRUE(SingleInstance::name_in(QString()).isEmpty());
    if (saved_cache.isNull())
        qunsetenv("XDG_CACHE_HOME");
    else
        qputenv("XDG_CACHE_HOME", saved_cache);
}

// Another user's listener under the name is not trusted, and another user cannot bring this
// user's window forward.
TEST(SingleInstance, OnlyTheSameUsersCopyIsTrusted) {
    if (::getuid() != 0) GTEST_SKIP() << "needs to run a process as another user";
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadOther | QFile::WriteOther | QFile::ExeOther);
    const QString name = dir.filePath("zorvan_tv");
    const QByteArray native = QFile::encodeName(name);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", native.constData());

    // A stranger listens first and answers everyone.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t stranger = fork();
    ASSERT_GE(stranger, 0);
    if (stranger == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) _exit(1);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 4))
            _exit(1);
        [[maybe_unused]] auto w = ::write(ready[1], "x", 1);
        for (;;) {
            const int c = ::accept(fd, nullptr, nullptr);
            if (c < 0) _exit(0);
            char buf[64];
            [[maybe_unused]] auto r = ::read(c, buf, sizeof buf);
            [[maybe_unused]] auto a = ::write(c, "shown\n", 6);
            ::close(c);
        }
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    QString reply;
    EXPECT_FALSE(SingleInstance::activate_running(name, &reply, 2000));
    kill(stranger, SIGKILL);
    waitpid(stranger, nullptr, 0);
    QFile::remove(name);

    // This user's copy listens; a stranger's activation gets no answer.
    SingleInstance instance(name);
    ASSERT_EQ(instance.listen(), SingleInstance::Listen::listening);
    ::chmod(native.constData(), 0777);  // let the stranger reach it at all
    int calls = 0;
    instance.set_handler([&calls] {
        ++calls;
        return QStringLiteral("shown");
    });
    const pid_t asker = fork();
    ASSERT_GE(asker, 0);
    if (asker == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) _exit(2);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) _exit(3);
        [[maybe_unused]] auto w = ::write(fd, "activate\n", 9);
        char buf[64];
        _exit(::read(fd, buf, sizeof buf) > 0 ? 1 : 0);
    }
    int status = -1;
    for (int i = 0; i < 200 && waitpid(asker, &status, WNOHANG) == 0; ++i) QTest::qWait(20);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the stranger got an answer";
    EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace zt
