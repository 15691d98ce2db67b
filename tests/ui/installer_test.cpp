// The installation's file work in a temporary home: executable, settings file, shortcuts.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "dialogs/logic/installer.h"
#include "dialogs/setup_window.h"
#include "test_support.h"
#include "ui_helpers.h"

namespace zt {
namespace {

QByteArray read_all(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write_all(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A home folder of its own: the data, configuration and desktop folders all live in it.
class Installer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_home.isValid());
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"})
            m_saved.emplace_back(name, qgetenv(name));
        qputenv("HOME", m_home.path().toUtf8());
        qputenv("XDG_DATA_HOME", home("share").toUtf8());
        qputenv("XDG_CONFIG_HOME", home("config").toUtf8());
        QDir().mkpath(home("Desktop"));
        m_program = home("download/zorvan_tv");
        QDir().mkpath(home("download"));
        write_all(m_program, QByteArray("\x7f"
                                        "ELF pretend program",
                                        20)
                                 .repeated(100));
    }
    void TearDown() override {
        for (const auto& [name, value] : m_saved) {
            if (value.isNull())
                qunsetenv(name);
            else
                qputenv(name, value);
        }
    }
    QString home(const QString& relative) const { return m_home.filePath(relative); }
    InstallOptions options(const QString& folder) const {
        InstallOptions o;
        o.folder = folder;
        o.executable = m_program;
        o.icon_png = QByteArray("\x89PNG picture", 12);
        return o;
    }

    QTemporaryDir m_home;
    QString m_program;
    test::Recorder m_ui;
    std::vector<std::pair<const char*, QByteArray>> m_saved;
};

TEST_F(Installer, ProposesAFolderInTheUsersDataFolder) {
    EXPECT_EQ(default_install_folder(), home("share/zorvan_tv"));
    EXPECT_EQ(start_menu_folder(), home("share/applications"));
    EXPECT_EQ(desktop_folder(), home("Desktop"));
}

TEST_F(Installer, CopiesTheProgramAndMakesBothShortcuts) {
    const QString folder = home("programs/tv guide");
    EXPECT_EQ(install(options(folder), m_ui), InstallOutcome::finished);

    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].kind, MsgKind::Info);
    EXPECT_EQ(m_ui.messages[0].text, "Установка уcпешно завершена.");

    const QString exe = folder + "/zorvan_tv";
    EXPECT_EQ(read_all(exe), read_all(m_program));
    EXPECT_TRUE(QFileInfo(exe).isExecutable());
    EXPECT_TRUE(QFileInfo(folder + "/settings.ini").isFile());
    EXPECT_EQ(QFileInfo(folder + "/settings.ini").size(), 0);

    for (const QString& shortcut :
         {home("share/applications/zorvan_tv.desktop"), home("Desktop/zorvan_tv.desktop")}) {
        const QString entry = QString::fromUtf8(read_all(shortcut));
        EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n")) << shortcut;
        EXPECT_TRUE(entry.contains("\nName=ЗОРВАН. Телепрограмма.\n"));
        EXPECT_TRUE(entry.contains("\nExec=\"" + exe + "\"\n")) << entry.toStdString();
        EXPECT_TRUE(entry.contains("\nPath=" + folder + "\n"));
        EXPECT_TRUE(entry.contains("\nIcon=" + folder + "/zorvan_tv.png\n"));
        EXPECT_TRUE(QFileInfo(shortcut).isExecutable());
    }
    EXPECT_EQ(read_all(folder + "/zorvan_tv.png"), QByteArray("\x89PNG picture", 12));
}

TEST_F(Installer, KeepsAnExistingSettingsFileAndWritesNoShortcutsWhenNoneAreAsked) {
    const QString folder = home("tv");
    QDir().mkpath(folder);
    write_all(folder + "/settings.ini", "[GG]\nCTM=1\n");
    InstallOptions o = options(folder);
    o.start_menu = false;
    o.desktop = false;
    EXPECT_EQ(install(o, m_ui), InstallOutcome::finished);

    EXPECT_EQ(read_all(folder + "/settings.ini"), QByteArray("[GG]\nCTM=1\n"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot),
              QStringList({"settings.ini", "zorvan_tv"}));
    EXPECT_FALSE(QFileInfo::exists(home("share/applications")));
    EXPECT_TRUE(QDir(home("Desktop")).isEmpty());
}

TEST_F(Installer, StopsWithAMessageWhenThereIsNothingToInstallInto) {
    struct Case {
        const char* what;
        std::function<InstallOptions()> make;
        std::string message;
    };
    write_all(home("blocker"), "a file where the folder should be");
    const Case cases[] = {
        {"empty folder field", [&] { return options("  "); },
         "Необходимо указать место установки."},
        {"folder blocked by a file", [&] { return options(home("blocker/tv")); },
         "Установка в указанную папку не возможна. Выберите другую папку."},
        {"program cannot be copied",
         [&] {
             InstallOptions o = options(home("tv"));
             o.executable = home("download/gone");
             return o;
         },
         "Ошибка копирования программы в указанную папку. Выберите другую папку."},
    };
    for (const Case& c : cases) {
        m_ui.messages.clear();
        EXPECT_EQ(install(c.make(), m_ui), InstallOutcome::stay) << c.what;
        ASSERT_EQ(m_ui.messages.size(), 1u) << c.what;
        EXPECT_EQ(m_ui.messages[0].kind, MsgKind::Error);
        EXPECT_EQ(m_ui.messages[0].text, c.message);
    }
    // Nothing was left behind that would make a broken copy look installed.
    EXPECT_FALSE(QFileInfo::exists(home("tv/settings.ini")));
    EXPECT_FALSE(QFileInfo::exists(home("share/applications/zorvan_tv.desktop")));
}

TEST_F(Installer, AMissingDesktopFolderIsMade) {
    QDir(home("Desktop")).removeRecursively();
    EXPECT_EQ(install(options(home("tv")), m_ui), InstallOutcome::finished);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].kind, MsgKind::Info);
    EXPECT_TRUE(QFileInfo(home("Desktop/zorvan_tv.desktop")).isFile());
}

// A reinstall that cannot copy the program keeps the installed one; a folder where the
// settings file belongs is no settings file.
TEST_F(Installer, AFailedReinstallKeepsTheInstalledProgram) {
    ASSERT_EQ(install(options(home("tv")), m_ui), InstallOutcome::finished);
    const QByteArray installed = read_all(home("tv/zorvan_tv"));
    InstallOptions broken = options(home("tv"));
    broken.executable = home("download/gone");
    m_ui.messages.clear();
    EXPECT_EQ(install(broken, m_ui), InstallOutcome::stay);
    EXPECT_EQ(read_all(home("tv/zorvan_tv")), installed);
    EXPECT_TRUE(QFileInfo(home("tv/zorvan_tv")).isExecutable());
    EXPECT_FALSE(QFileInfo::exists(home("tv/zorvan_tv.new")));

    QDir().mkpath(home("other/settings.ini"));
    m_ui.messages.clear();
    EXPECT_EQ(install(options(home("other")), m_ui), InstallOutcome::stay);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text,
              "Ошибка копирования программы в указанную папку. Выберите другую папку.");
}

TEST_F(Installer, AFailedShortcutIsReportedAndTheInstallationGoesOn) {
    QDir(home("Desktop")).removeRecursively();
    write_all(home("Desktop"), "a file where the desktop folder should be");
    EXPECT_EQ(install(options(home("tv")), m_ui), InstallOutcome::finished);
    ASSERT_EQ(m_ui.messages.size(), 2u);
    EXPECT_EQ(m_ui.messages[0].kind, MsgKind::Error);
    EXPECT_EQ(m_ui.messages[0].text, "Ошибка создания ярлыка на рабочем столе.");
    EXPECT_EQ(m_ui.messages[1].kind, MsgKind::Info);
    EXPECT_TRUE(QFileInfo(home("share/applications/zorvan_tv.desktop")).isFile());
}

TEST_F(Installer, InstallingIntoTheProgramsOwnFolderKeepsTheProgram) {
    const QByteArray program = read_all(m_program);
    EXPECT_EQ(install(options(home("download")), m_ui), InstallOutcome::finished);
    EXPECT_EQ(read_all(m_program), program);
    EXPECT_TRUE(QFileInfo(m_program).isExecutable());
    EXPECT_TRUE(QFileInfo(home("download/settings.ini")).isFile());
}

TEST_F(Installer, TheWindowProposesTheFolderAndInstallsOnItsButton) {
    TFSetup window(m_program, m_ui);
    EXPECT_EQ(test::widget<QLineEdit>(window, "EditPath")->text(), home("share/zorvan_tv"));
    EXPECT_EQ(test::widget<QLineEdit>(window, "EditPath")->toolTip(),
              test::widget<QLineEdit>(window, "EditPath")->text());
    EXPECT_EQ(test::widget<QLabel>(window, "LabelVers")->text(),
              QStringLiteral("1.6 (2010113002)"));

    QSignalSpy finished(&window, &TFSetup::finished_setup);
    window.set_path(QString());
    QTest::mouseClick(test::widget<QPushButton>(window, "BitBtnSetup"), Qt::LeftButton);
    EXPECT_EQ(finished.count(), 0);  // "Необходимо указать место установки." and it stays

    window.set_path(home("tv"));
    QTest::mouseClick(test::widget<QPushButton>(window, "BitBtnSetup"), Qt::LeftButton);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_TRUE(QFileInfo(home("tv/zorvan_tv")).isExecutable());
    EXPECT_TRUE(QFileInfo(home("Desktop/zorvan_tv.desktop")).isFile());
    ASSERT_EQ(m_ui.messages.size(), 2u);
    EXPECT_EQ(m_ui.messages.back().kind, MsgKind::Info);
}

TEST(DesktopEntry, ExecArgumentIsQuotedAndEscaped) {
    const std::pair<QString, QString> cases[] = {
        {"/opt/tv/zorvan_tv", "\"/opt/tv/zorvan_tv\""},
        {"/home/u/my tv/zorvan_tv", "\"/home/u/my tv/zorvan_tv\""},
        {"/a\"b/$x/`c`/50%", "\"/a\\\\\"b/\\\\$x/\\\\`c\\\\`/50%%\""},
        {"/a\\b", "\"/a\\\\\\\\b\""},
    };
    for (const auto& [path, quoted] : cases) EXPECT_EQ(desktop_exec_argument(path), quoted) << path;
}

}  // namespace
}  // namespace zt
