// Screenshots of the settings dialog's four pages on a real display, for a look: runs only
// when ZT_SHOTS_DIR names the folder for the pictures (and DISPLAY an X server; the test is run
// with QT_QPA_PLATFORM=xcb). Each picture is the whole screen, taken with `import`.
#include <gtest/gtest.h>

#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/application.h"
#include "app/settings_command.h"
#include "dialogs/msg_window.h"
#include "dialogs/settings_dialog.h"
#include "ui_helpers.h"
#include "views/main_window.h"

namespace zt {
namespace {

TEST(SettingsShots, ForALook) {
    if (qEnvironmentVariableIsEmpty("ZT_SHOTS_DIR")) GTEST_SKIP() << "ZT_SHOTS_DIR not set";
    QTemporaryDir dir;
    {
        QFile ini(dir.filePath("settings.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(
            "[GP]\r\nCI=0\r\nCP=1\r\nES=proxy.local\r\nEP=3128\r\n[ZORVAN]\r\n"
            "HOST=127.0.0.1:18080\r\n[GU]\r\nAD=1\r\nET=07:30\r\n");
    }
    Application app(dir.path() + "/", dir.filePath("zorvan_tv"), std::make_shared<SystemClock>());
    {
        test::OnNextModal no(
            [&](QDialog&) { test::widget<QPushButton>(app.msg_window(), "BitBtnNo")->click(); });
        app.start();
    }
    QTest::qWait(300);
    const QString shots = qEnvironmentVariable("ZT_SHOTS_DIR");
    const char* names[4] = {"settings-1-general.png", "settings-2-proxy.png",
                            "settings-3-personal.png", "settings-4-view.png"};
    test::OnNextModal pages([&](QDialog&) {
        TFSettings& d = app.settings_command().dialog();
        for (int i = 0; i < 4; ++i) {
            test::widget<QTabWidget>(d, "PageControl")->setCurrentIndex(i);
            QApplication::processEvents();
            QTest::qWait(400);
            QProcess::execute(QStringLiteral("import"),
                              {QStringLiteral("-window"), QStringLiteral("root"),
                               shots + "/" + QString::fromLatin1(names[i])});
        }
        test::widget<QPushButton>(d, "ButtonCancel")->click();
    });
    test::action(app.main_window(), "MDataSettings")->trigger();
    EXPECT_EQ(pages.runs(), 1);
}

}  // namespace
}  // namespace zt
