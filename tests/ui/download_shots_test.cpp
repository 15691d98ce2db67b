// Screenshots of the download windows on a real display, for a look: runs only when
// ZT_SHOTS_DIR names the folder for the pictures (and DISPLAY an X server; the test is run
// with QT_QPA_PLATFORM=xcb). Each picture is the whole screen, taken with `import`.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeView>

#include "app/application.h"
#include "app/window_download_host.h"
#include "core/store.h"
#include "dialogs/msg_window.h"
#include "dialogs/news_window.h"
#include "dialogs/progress_window.h"
#include "dialogs/update_select_dialog.h"
#include "dialogs/update_source_dialog.h"
#include "modal_script.h"
#include "net/selection.h"
#include "tools/peers/peers.h"
#include "ui_helpers.h"
#include "views/main_window.h"

namespace zt {
namespace {

void shot(const char* name) {
    QApplication::processEvents();
    QTest::qWait(300);
    const QString dir = qEnvironmentVariable("ZT_SHOTS_DIR");
    QProcess::execute(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"),
                                                 dir + "/" + QString::fromLatin1(name)});
}

TEST(DownloadShots, ForALook) {
    if (qEnvironmentVariableIsEmpty("ZT_SHOTS_DIR")) GTEST_SKIP() << "ZT_SHOTS_DIR not set";
    peers::ServerProcess server("", "", "small");
    peers::ServerProcess slow("slow", "", "small");
    QTemporaryDir dir;
    {
        QFile ini(dir.filePath("settings.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(("[ZORVAN]\r\nHOST=" + server.address() + "\r\n").c_str());
    }
    Application app(dir.path() + "/", dir.filePath("zorvan_tv"), std::make_shared<SystemClock>());
    {
        test::ModalScript no(
            {{"TFMsg", [](QDialog& d) {
                  test::widget<QPushButton>(static_cast<TFMsg&>(d), "BitBtnNo")->click();
              }}});
        app.start();
    }
    QTest::qWait(300);

    auto script = std::make_unique<test::ModalScript>(std::vector<test::ModalScript::Step>{
        {"TFUpdate",
         [&](QDialog& d) {
             auto& u = static_cast<TFUpdate&>(d);
             test::widget<QComboBox>(u, "ComboBoxUser")->setCurrentIndex(1);
             test::widget<QLineEdit>(u, "EditLogin")->setText(QStringLiteral("paid"));
             test::widget<QLineEdit>(u, "EditPwd")->setText(QStringLiteral("secret"));
             shot("source_server.png");
             test::widget<QComboBox>(u, "ComboBoxSelect")->setCurrentIndex(1);
             test::widget<QLineEdit>(u, "EditDir")
                 ->setText(QStringLiteral("/home/user/Загрузки/программа.xml.gz"));
             shot("source_file.png");
             test::widget<QComboBox>(u, "ComboBoxSelect")->setCurrentIndex(0);
             test::widget<QPushButton>(u, "BitBtnUpdate")->click();
         }},
        {"TFUpdateSelect",
         [&](QDialog& d) {
             auto& s = static_cast<TFUpdateSelect&>(d);
             for (int i = s.paket_count() - 1; i >= 0; --i) {
                 s.select_paket(i);
                 s.mark_all();
                 if (test::widget<QWidget>(s, "PanelCard")->isVisible()) break;
             }
             shot("select.png");
             test::widget<QPushButton>(s, "BitBtnUpdate")->click();
         }},
    });
    app.StartManualDownload();
    EXPECT_EQ(script->done(), 2u);
    script.reset();
    if (NewsWindow* news = app.download_host().news_window()) {
        for (int i = 0;
             i < 100 &&
             !test::widget<QTextBrowser>(news, "Browser")->toPlainText().contains("Новости");
             ++i)
            QTest::qWait(20);
        shot("news.png");
        news->close();
    }

    // A second download from the slow server: the connection window while it receives.
    app.settings().service.host = slow.address();
    // The server trickles a few bytes a second: the picture is taken after a few seconds, then
    // the exchange is cancelled as the window's "Отмена" does.
    bool taken = false;
    int ticks = 0;
    QTimer watch;
    watch.setInterval(100);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        TFProgress& p = app.progress_window();
        if (taken || !p.isVisible() || ++ticks < 40) return;
        taken = true;
        shot("connection.png");
        app.session().net_cancel = 1;
    });
    watch.start();
    test::ModalScript again({
        {"TFUpdate",
         [](QDialog& d) {
             test::widget<QPushButton>(static_cast<TFUpdate&>(d), "BitBtnUpdate")->click();
         }},
    });
    app.StartManualDownload();
    EXPECT_TRUE(taken);
    app.ExitProgram();
}

}  // namespace
}  // namespace zt
