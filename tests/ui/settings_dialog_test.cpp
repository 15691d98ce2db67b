// The settings dialog: its rules as tables, a round trip through settings.ini, "Нет" undoing a
// change, and "Проверить" against a real zorvan-server and a peer with a wrong answer.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/logic/auto_download.h"
#include "core/cp1251.h"
#include "dialogs/logic/settings_form.h"
#include "dialogs/settings_dialog.h"
#include "dialogs/settings_pages.h"
#include "net/exchange_view.h"
#include "storage/ini_file.h"
#include "test_support.h"
#include "tools/peers/peers.h"
#include "ui/colour_box.h"
#include "ui_helpers.h"

namespace zt {
namespace {

TEST(SettingsForm, DescriptionTemplates) {
    PersonalSettings p;
    apply_descr_template(5, p);  // "Название [Описание]"
    EXPECT_EQ(p.descr_left, " [");
    EXPECT_EQ(p.descr_right, "]");
    apply_descr_template(0, p);  // "Шаблоны:" changes nothing
    EXPECT_EQ(p.descr_left, " [");
    EXPECT_EQ(p.descr_right, "]");
    apply_descr_template(2, p);  // "Название. Описание": nothing on the right
    EXPECT_EQ(p.descr_left, ". ");
    EXPECT_EQ(p.descr_right, "");
    apply_descr_template(7, p);
    EXPECT_EQ(p.descr_left, " \"");
    apply_descr_template(99, p);
    EXPECT_EQ(p.descr_left, " \"");
    EXPECT_EQ(descr_template_captions().size(), 9u);
    EXPECT_EQ(descr_template_captions()[5], "Название [Описание]");
}

TEST(SettingsForm, ProxyControlsAndTheDesktopProxy) {
    const struct {
        bool from_browser, use_proxy;
        ProxyControls state;
    } cases[] = {{true, false, {false, false}},
                 {true, true, {false, false}},
                 {false, false, {true, false}},
                 {false, true, {true, true}}};
    for (const auto& c : cases) {
        ProxySettings p;
        p.from_browser = c.from_browser;
        p.use_proxy = c.use_proxy;
        EXPECT_EQ(proxy_controls(p), c.state) << c.from_browser << c.use_proxy;
    }
    ProxySettings p;
    p.from_browser = false;
    p.use_proxy = true;
    p.server = "manual";
    set_from_browser(p, true, "http://u:pw@10.0.0.1:3128/");
    EXPECT_FALSE(p.use_proxy);
    EXPECT_EQ(p.server, "10.0.0.1");
    EXPECT_EQ(p.port, "3128");
    set_from_browser(p, false, std::nullopt);  // unticking keeps what the fields show
    EXPECT_EQ(p.server, "10.0.0.1");
    EXPECT_FALSE(p.from_browser);
}

TEST(SettingsForm, ServiceHostFieldAndDefaultColours) {
    const struct {
        const char* text;
        std::optional<std::string> host;
    } cases[] = {{"", std::string(ServiceSettings::default_host)},
                 {"  ", std::string(ServiceSettings::default_host)},
                 {" 127.0.0.1:18080 ", "127.0.0.1:18080"},
                 {"tv.example.org", "tv.example.org"},
                 {"bad host", std::nullopt},
                 {"h:0", std::nullopt},
                 {"h:70000", std::nullopt},
                 {"h:", std::nullopt}};
    for (const auto& c : cases) EXPECT_EQ(service_host_field(c.text), c.host) << c.text;

    ViewSettings v;
    v.back = 0x123456;
    v.font_name = "Courier";
    reset_view_defaults(v);
    EXPECT_EQ(v.select1, 0xD9D9D9);  // not the first start's 0xE0E0E0
    EXPECT_EQ(v.back, 0xFFFFFF);
    EXPECT_EQ(v.font_name, "");
}

// A dialog over a settings model whose file lives in a temporary folder.
struct DialogFixture {
    QTemporaryDir dir;
    Settings settings;
    SettingsStore store{settings};
    IniFile ini;
    test::Recorder ui;
    TFSettings::ServerTestFn server_test;
    std::unique_ptr<TFSettings> dialog;

    explicit DialogFixture(const QByteArray& text = "[GP]\nCI=0\n") {
        QFile f(dir.filePath("settings.ini"));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        f.close();
        ini.set_path(dir.filePath("settings.ini").toStdString());
        ini.load();
        settings.load_all(ini);
        dialog = std::make_unique<TFSettings>(
            store, ini, ui,
            [this](const ProxySettings& p, const std::string& s, std::vector<std::string>& l) {
                return server_test(p, s, l);
            });
    }
    // Opens the dialog and runs `edit` inside its event loop.
    bool show(const std::function<void(TFSettings&)>& edit) {
        test::OnNextModal act([&](QDialog&) { edit(*dialog); });
        return dialog->ShowModal();
    }
    Settings from_file() const {
        IniFile again;
        again.set_path(ini.path());
        again.load();
        Settings s;
        s.load_all(again);
        return s;
    }
};

TEST(SettingsDialog, RoundTripThroughTheSettingsFile) {
    DialogFixture f;
    const bool saved = f.show([](TFSettings& d) {
        EXPECT_EQ(test::widget<QTabWidget>(d, "PageControl")->count(), 4);
        EXPECT_EQ(test::widget<QTabWidget>(d, "PageControl")->tabText(1), QStringLiteral("Прокси"));
        test::widget<QCheckBox>(d, "CheckBoxGenTrayMin")->setChecked(true);
        test::widget<QCheckBox>(d, "CheckBoxGenTblGrid")->setChecked(false);
        test::widget<QComboBox>(d, "ComboBoxGenMouseSpeed")->setCurrentIndex(2);
        QTest::mouseClick(test::widget<QCheckBox>(d, "CheckBoxProxy"), Qt::LeftButton);
        EXPECT_TRUE(test::widget<QLineEdit>(d, "EditServer")->isEnabled());
        test::widget<QLineEdit>(d, "EditServer")->setText(QStringLiteral("proxy.local"));
        test::widget<QLineEdit>(d, "EditPort")->setText(QStringLiteral("3128"));
        test::widget<QLineEdit>(d, "EditUser")->setText(QStringLiteral("пользователь"));
        test::widget<QLineEdit>(d, "EditPwd")->setText(QStringLiteral("секрет"));
        test::widget<QLineEdit>(d, "EditServiceHost")->setText(QStringLiteral("127.0.0.1:18080"));
        test::widget<QComboBox>(d, "ComboBoxUserDescr")->setCurrentIndex(5);
        emit test::widget<QComboBox>(d, "ComboBoxUserDescr")->activated(5);
        test::widget<QCheckBox>(d, "CheckBoxUserAutoDay")->setChecked(true);
        test::widget<QLineEdit>(d, "MaskEditUserAutoTime")->setText(QStringLiteral("07:30"));
        test::widget<QLineEdit>(d, "MaskEditUserAutoStopTime")->setText(QStringLiteral("0"));
        test::widget<QCheckBox>(d, "CheckBoxUserAutoStartProgress")->setChecked(true);
        test::widget<QCheckBox>(d, "CheckBoxUserAutoMsg")->setChecked(true);
        test::widget<QComboBox>(d, "ComboBoxUserStartDay")->setCurrentIndex(5);
        test::widget<QComboBox>(d, "ComboBoxUserLove")->setCurrentIndex(2);
        QTest::mouseClick(test::widget<QPushButton>(d, "BitBtnViewDefault"), Qt::LeftButton);
        test::widget<ColourBox>(d, "ColorBoxViewTblBack")->set_colour(0x00FFFF);
        QTest::mouseClick(test::widget<QPushButton>(d, "ButtonOk"), Qt::LeftButton);
    });
    EXPECT_TRUE(saved);
    EXPECT_TRUE(f.ui.messages.empty());

    const Settings& live = f.store.get();
    EXPECT_TRUE(live.general.tray_minimize);
    EXPECT_FALSE(live.general.table_grid);
    EXPECT_EQ(live.general.mouse_speed, 2);
    EXPECT_TRUE(live.proxy.use_proxy);
    EXPECT_EQ(live.proxy.server, "proxy.local");
    EXPECT_EQ(live.proxy.user, to_cp1251("пользователь"));
    EXPECT_EQ(live.service.host, "127.0.0.1:18080");
    EXPECT_EQ(live.personal.descr_left, " [");
    EXPECT_EQ(live.personal.descr_right, "]");
    EXPECT_TRUE(live.personal.auto_daily);
    EXPECT_EQ(live.personal.auto_time, "07:30");
    EXPECT_EQ(auto_delay_minutes(live.personal.auto_delay), 0);
    EXPECT_TRUE(live.personal.auto_quiet);
    EXPECT_EQ(live.personal.day_start, 5);
    EXPECT_EQ(live.personal.love_keep, 2);
    EXPECT_EQ(live.view.select1, 0xD9D9D9);
    EXPECT_EQ(live.view.back, 0x00FFFF);

    // What the file holds is what the program uses.
    const Settings file = f.from_file();
    EXPECT_EQ(file.general, live.general);
    EXPECT_EQ(file.proxy, live.proxy);
    EXPECT_EQ(file.personal, live.personal);
    EXPECT_EQ(file.view, live.view);
    EXPECT_EQ(file.service, live.service);

    // Opened again, the pages show the saved values.
    f.show([](TFSettings& d) {
        EXPECT_EQ(test::widget<QLineEdit>(d, "EditPort")->text(), QStringLiteral("3128"));
        EXPECT_EQ(test::widget<QLineEdit>(d, "EditUserDescr1")->text(), QStringLiteral(" ["));
        EXPECT_EQ(test::widget<QLineEdit>(d, "MaskEditUserAutoTime")->displayText(),
                  QStringLiteral("07:30"));
        EXPECT_EQ(test::widget<ColourBox>(d, "ColorBoxViewTblSelect1")->colour(), 0xD9D9D9);
        QTest::mouseClick(test::widget<QPushButton>(d, "ButtonCancel"), Qt::LeftButton);
    });
}

TEST(SettingsDialog, ClosingWithNoRestoresTheSavedValues) {
    DialogFixture f("[GP]\nCI=0\nCP=1\nES=proxy.local\nEP=3128\n[GU]\nET=12:00\n");
    for (const bool yes : {false, true}) {
        f.ui.answer = yes;
        const bool saved = f.show([](TFSettings& d) {
            test::widget<QLineEdit>(d, "EditPort")->setText(QStringLiteral("8080"));
            // A daily time with an empty position is kept as typed.
            test::widget<QLineEdit>(d, "MaskEditUserAutoTime")->setText(QStringLiteral("073"));
            d.close_asking();
        });
        ASSERT_FALSE(f.ui.messages.empty());
        EXPECT_EQ(f.ui.messages.back().kind, MsgKind::Question);
        EXPECT_EQ(f.ui.messages.back().text, "Сохранить настройки?");
        EXPECT_EQ(saved, yes);
        EXPECT_EQ(f.store.get().proxy.port, yes ? "8080" : "3128");
        EXPECT_EQ(f.from_file().proxy.port, yes ? "8080" : "3128");
        EXPECT_EQ(f.store.get().personal.auto_time, yes ? "07:3-" : "12:00");
    }
}

// A list index outside its list (a damaged or newer file) shows the item the program works
// with, so OK without touching the list keeps that meaning: favourites stay 90 days, not 30.
TEST(SettingsDialog, AnUnknownListIndexShowsAndKeepsWhatTheProgramUses) {
    DialogFixture f("[GP]\nCI=0\n[GG]\nMS=7\n[GU]\nCL=-1\n");
    ASSERT_EQ(love_keep_days(f.store.get().personal.love_keep), 90);
    ASSERT_EQ(wheel_step(f.store.get().general.mouse_speed), 2);
    EXPECT_TRUE(f.show([](TFSettings& d) {
        EXPECT_EQ(test::widget<QComboBox>(d, "ComboBoxUserLove")->currentText(),
                  QStringLiteral("Удалять старше 90 дней"));
        EXPECT_EQ(test::widget<QComboBox>(d, "ComboBoxGenMouseSpeed")->currentText(),
                  QStringLiteral("Быстрая"));
        QTest::mouseClick(test::widget<QPushButton>(d, "ButtonOk"), Qt::LeftButton);
    }));
    EXPECT_EQ(love_keep_days(f.from_file().personal.love_keep), 90);
    EXPECT_EQ(wheel_step(f.from_file().general.mouse_speed), 2);
}

// "Запускать при входе в систему" makes and removes the desktop session's autostart entry; a
// link planted where the entry goes is replaced, never written through.
TEST(SettingsDialog, StartWithTheSessionMakesAndRemovesTheAutostartEntry) {
    QTemporaryDir config;
    const QByteArray saved_config = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    const QString entry = config.filePath(QStringLiteral("autostart/zorvan-tv.desktop"));
    const QString victim = config.filePath(QStringLiteral("victim.txt"));
    QDir().mkpath(config.filePath(QStringLiteral("autostart")));
    {
        QFile v(victim);
        ASSERT_TRUE(v.open(QIODevice::WriteOnly));
        v.write("keep");
    }
    ASSERT_TRUE(QFile::link(victim, entry));

    DialogFixture f;
    f.show([](TFSettings& d) {
        QCheckBox* box = test::widget<QCheckBox>(d, "CheckBoxGenStartSys");
        EXPECT_EQ(box->text(), QStringLiteral("Запускать при входе в систему"));
        EXPECT_FALSE(box->isHidden());
        EXPECT_FALSE(box->isChecked());
        EXPECT_EQ(test::widget<QCheckBox>(d, "CheckBoxIE")->text(),
                  QStringLiteral("Брать настройки прокси из системы"));
        box->setChecked(true);
        QTest::mouseClick(test::widget<QPushButton>(d, "ButtonOk"), Qt::LeftButton);
    });
    EXPECT_TRUE(f.ui.messages.empty());
    const QFileInfo made(entry);
    EXPECT_TRUE(made.isFile());
    EXPECT_FALSE(made.isSymLink());
    QFile text(entry);
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    const QString body = QString::fromUtf8(text.readAll());
    EXPECT_TRUE(body.startsWith(QStringLiteral("[Desktop Entry]\n"))) << body.toStdString();
    EXPECT_TRUE(body.contains(QStringLiteral("\nExec=\"") +
                              QCoreApplication::applicationFilePath() + QStringLiteral("\"\n")))
        << body.toStdString();
    EXPECT_TRUE(body.contains(QStringLiteral("\nType=Application\n")));
    QFile kept(victim);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("keep"));

    // Opened again, the box shows the entry; unticked, the entry goes.
    f.show([](TFSettings& d) {
        EXPECT_TRUE(test::widget<QCheckBox>(d, "CheckBoxGenStartSys")->isChecked());
        test::widget<QCheckBox>(d, "CheckBoxGenStartSys")->setChecked(false);
        QTest::mouseClick(test::widget<QPushButton>(d, "ButtonOk"), Qt::LeftButton);
    });
    EXPECT_FALSE(QFileInfo::exists(entry));
    EXPECT_TRUE(QFileInfo::exists(victim));

    if (saved_config.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", saved_config);
}

TEST(SettingsDialog, TickingTheDesktopProxyReadsIt) {
    DialogFixture f;
    qputenv("http_proxy", "http://10.1.2.3:8081");
    f.show([](TFSettings& d) {
        test::widget<QCheckBox>(d, "CheckBoxProxy")->setChecked(true);
        QTest::mouseClick(test::widget<QCheckBox>(d, "CheckBoxIE"), Qt::LeftButton);
        EXPECT_FALSE(test::widget<QCheckBox>(d, "CheckBoxProxy")->isChecked());
        EXPECT_FALSE(test::widget<QCheckBox>(d, "CheckBoxProxy")->isEnabled());
        EXPECT_FALSE(test::widget<QLineEdit>(d, "EditServer")->isEnabled());
        EXPECT_EQ(test::widget<QLineEdit>(d, "EditServer")->text(), QStringLiteral("10.1.2.3"));
        EXPECT_EQ(test::widget<QLineEdit>(d, "EditPort")->text(), QStringLiteral("8081"));
        QTest::mouseClick(test::widget<QCheckBox>(d, "CheckBoxIE"), Qt::LeftButton);
        EXPECT_TRUE(test::widget<QCheckBox>(d, "CheckBoxProxy")->isEnabled());
        QTest::mouseClick(test::widget<QPushButton>(d, "ButtonCancel"), Qt::LeftButton);
    });
    qunsetenv("http_proxy");
}

// "Проверить" with the exchange of the program aimed at what the page shows.
struct VerifyFixture : DialogFixture {
    net::NullExchangeView view;
    std::uint8_t cancel = 0;
    net::TrafficCounters traffic;
    net::ExchangeContext ctx{ui, view, cancel, traffic};
    VerifyFixture() {
        ctx.limits.receive_timeout = std::chrono::milliseconds(2000);
        server_test = [this](const ProxySettings& p, const std::string& s,
                             std::vector<std::string>& l) { return run_server_test(ctx, p, s, l); };
    }
    QString verify(const std::string& host) {
        QString memo;
        show([&](TFSettings& d) {
            test::widget<QTabWidget>(d, "PageControl")->setCurrentIndex(1);
            test::widget<QLineEdit>(d, "EditServiceHost")->setText(QString::fromStdString(host));
            QTest::mouseClick(test::widget<QPushButton>(d, "BitBtnVerify"), Qt::LeftButton);
            memo = test::widget<QPlainTextEdit>(d, "MemoProxy")->toPlainText();
            QTest::mouseClick(test::widget<QPushButton>(d, "ButtonCancel"), Qt::LeftButton);
        });
        return memo;
    }
};

TEST(SettingsDialog, VerifyShowsTheServersAnswer) {
    {
        peers::ServerProcess server;
        VerifyFixture f;
        f.ui.answer = false;
        const QString memo = f.verify(server.address());
        EXPECT_TRUE(memo.contains(QStringLiteral("TEST OK"))) << memo;
        ASSERT_EQ(f.ui.messages.size(), 1u);
        EXPECT_EQ(f.ui.messages[0].kind, MsgKind::Info);
        EXPECT_EQ(f.ui.messages[0].text, "Проверка прошла успешно.");
    }
    {
        peers::CapturePeer peer("HTTP/1.0 200 OK\r\n\r\nHello\r\nWorld\r\n");
        VerifyFixture f;
        const QString memo = f.verify("127.0.0.1:" + std::to_string(peer.port()));
        EXPECT_EQ(memo, QStringLiteral("Hello\nWorld"));
        ASSERT_EQ(f.ui.messages.size(), 1u);
        EXPECT_EQ(f.ui.messages[0].kind, MsgKind::Error);
        EXPECT_EQ(f.ui.messages[0].text, "Сервер вернул не верные проверочные данные.");
    }
    {
        // Nobody listens: the transport's own message, and not a second one about the data.
        VerifyFixture f;
        f.verify("127.0.0.1:" + std::to_string(peers::free_port()));
        ASSERT_EQ(f.ui.messages.size(), 1u);
        EXPECT_EQ(f.ui.messages[0].kind, MsgKind::Error);
        EXPECT_NE(f.ui.messages[0].text, "Сервер вернул не верные проверочные данные.");
    }
}

}  // namespace
}  // namespace zt
