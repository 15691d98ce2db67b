// The whole program on a temporary folder: which windows appear, and the two-copy rule with
// the real executable.
#include <gtest/gtest.h>

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
#include "test_support.h"
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
        QTest::mouseClick(app->msg_window().BitBtnNo, Qt::LeftButton);
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
    // Starts in the tray, so the activation has something to show.
    write_all(dir.filePath("settings.ini"), "[GG]\nCTS=1\n");

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
    EXPECT_TRUE(QFileInfo(dir.filePath("dat/v.dat")).isFile());
    QFile ini(dir.filePath("settings.ini"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("[WM]"));
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

}  // namespace
}  // namespace zt
