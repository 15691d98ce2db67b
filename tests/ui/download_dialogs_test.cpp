// The download dialogs over a real zorvan-server and through an XMLTV file: from an empty
// program folder to filled tables; the source dialog's password and source rules; the
// selection dialog's ticks, card and messages.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include "app/application.h"
#include "app/manual_download.h"
#include "app/window_download_host.h"
#include "core/cp1251.h"
#include "core/text_helpers.h"
#include "dialogs/logic/paket_channel_model.h"
#include "dialogs/msg_window.h"
#include "dialogs/news_window.h"
#include "dialogs/progress_window.h"
#include "dialogs/stat_window.h"
#include "dialogs/update_select_dialog.h"
#include "dialogs/update_source_dialog.h"
#include "modal_script.h"
#include "paket_lists.h"
#include "storage/data_files.h"
#include "storage/ini_file.h"
#include "storage/settings_layout.h"
#include "test_support.h"
#include "tools/peers/peers.h"
#include "ui_helpers.h"
#include "views/main_window.h"
#include "views/prog_table.h"
#include "views/program_pages.h"

namespace zt {
namespace {

using test::ModalScript;

void write_all(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// An empty program folder whose settings point at `service`.
std::unique_ptr<Application> empty_program(const QTemporaryDir& dir, const std::string& service) {
    write_all(dir.filePath("settings.ini"),
              QByteArray("[ZORVAN]\r\nHOST=") + service.c_str() + "\r\n");
    return std::make_unique<Application>(dir.path() + "/", dir.filePath("zorvan_tv"),
                                         std::make_shared<SystemClock>());
}

void click(QAbstractButton* b) {
    QTest::mouseClick(b, Qt::LeftButton);
}

// Answers the message window: "Да" to questions, "OK" to the rest.
ModalScript::Step answer_yes() {
    return {"TFMsg", [](QDialog& d) {
                auto& msg = static_cast<TFMsg&>(d);
                if (test::widget<QPushButton>(msg, "BitBtnYes")->isVisible())
                    click(test::widget<QPushButton>(msg, "BitBtnYes"));
                else
                    d.accept();
            }};
}

// Selects the first package of the tree and ticks all its channels.
void tick_first_paket(TFUpdateSelect& s) {
    const QModelIndex first = test::widget<QTreeView>(s, "TreeViewPacket")->model()->index(0, 0);
    ASSERT_TRUE(first.isValid());
    QTest::mouseClick(test::widget<QTreeView>(s, "TreeViewPacket")->viewport(), Qt::LeftButton, {},
                      test::widget<QTreeView>(s, "TreeViewPacket")->visualRect(first).center());
    ASSERT_EQ(s.sel_paket(), 0);
    s.mark_all();
}

std::size_t programme_count(const all_list& store) {
    std::size_t n = 0;
    for (const auto& c : store.channels) n += c->tvprog.size();
    return n;
}

TEST(DownloadDialogs, EmptyStoreYesPaidAccountAndAPackageFillTheTables) {
    // The small profile covers the weeks around today ("tiny" only a few older days).
    peers::ServerProcess server("", "", "small");
    QTemporaryDir dir;
    auto app = empty_program(dir, server.address());
    QString caption, status3, status1;
    ModalScript script({
        answer_yes(),  // "Телепрограмма не найдена. Получить телепрограмму?"
        {"TFUpdate",
         [](QDialog& d) {
             auto& u = static_cast<TFUpdate&>(d);
             EXPECT_EQ(test::widget<QComboBox>(u, "ComboBoxSelect")->currentIndex(), 0);
             test::widget<QComboBox>(u, "ComboBoxUser")->setCurrentIndex(1);
             test::widget<QLineEdit>(u, "EditLogin")->setText(QStringLiteral("paid"));
             test::widget<QLineEdit>(u, "EditPwd")->setFocus();
             QTest::keyClicks(test::widget<QLineEdit>(u, "EditPwd"), QStringLiteral("secret"));
             click(test::widget<QPushButton>(u, "BitBtnUpdate"));
         }},
        {"TFUpdateSelect",
         [&](QDialog& d) {
             auto& s = static_cast<TFUpdateSelect&>(d);
             caption = s.windowTitle();
             status3 = test::widget<QLabel>(s, "StatusPanel3")->text();
             status1 = test::widget<QLabel>(s, "StatusPanel1")->text();
             EXPECT_TRUE(test::widget<QCheckBox>(s, "CheckBoxAnons")->isVisible());
             EXPECT_TRUE(test::widget<QCheckBox>(s, "CheckBoxAnons")
                             ->isChecked());  // ticked by the paid login check
             tick_first_paket(s);
             click(test::widget<QPushButton>(s, "BitBtnUpdate"));
         }},
    });
    EXPECT_EQ(app->start(), StartUp::Result::running);
    EXPECT_EQ(script.done(), 3u);
    EXPECT_TRUE(script.unexpected.empty()) << script.unexpected.front();
    EXPECT_EQ(caption, QStringLiteral("Получить телепрограмму с сервера"));
    EXPECT_EQ(status3, QStringLiteral("Платный пользователь"));
    EXPECT_FALSE(status1.isEmpty());

    // The typed password left only its digest; the tables show the schedule.
    EXPECT_EQ(app->start_up().account().password, md5_hex("secret"));
    EXPECT_EQ(app->start_up().account().login, "paid");
    all_list& store = app->store();
    ASSERT_FALSE(store.channels.empty());
    EXPECT_GT(programme_count(store), 0u);
    EXPECT_FALSE(store.chl_groups.empty());
    EXPECT_EQ(app->session().ui_idle, 1);
    EXPECT_TRUE(test::widget<QTabWidget>(app->main_window(), "PageControlProg")->isEnabled());
    int chosen = 0;
    std::size_t progs_today = 0;
    for (const auto& m : store.chl_groups[0]->members) chosen += m->selected;
    for (const auto& c : store.channels)
        for (const auto& p : c->tvprog)
            progs_today += p->finish > store.clock().now() && p->start < store.clock().now();
    EXPECT_GT(app->main_window().programs().table(0).model()->rowCount(), 0);
    EXPECT_TRUE(QFile::exists(dir.filePath("dat/t.dat")));
    // The statistics count real traffic; the news window shows the server's home page.
    EXPECT_NE(test::widget<QLabel>(app->stat_window(), "LabelDatIn")->text(),
              QStringLiteral("0 байт"));
    NewsWindow* news = app->download_host().news_window();
    ASSERT_NE(news, nullptr);
    EXPECT_EQ(news->TimerNewsClose->interval(), 300000);
    for (int i = 0;
         i < 200 && !test::widget<QTextBrowser>(news, "Browser")->toPlainText().contains("Новости");
         ++i)
        QTest::qWait(20);
    EXPECT_TRUE(test::widget<QTextBrowser>(news, "Browser")
                    ->toPlainText()
                    .contains(QStringLiteral("Новости сервиса")))
        << test::widget<QTextBrowser>(news, "Browser")->toPlainText();
    app->ExitProgram();
}

const char* kXmltv = R"(<?xml version="1.0" encoding="UTF-8"?>
<tv>
  <channel id="a"><display-name>Канал А</display-name></channel>
  <channel id="b"><display-name>Канал Б</display-name></channel>
  <programme start="DAY080000" stop="DAY090000" channel="a"><title>Утро А</title></programme>
  <programme start="DAY090000" stop="DAY100000" channel="a"><title>День А</title></programme>
  <programme start="DAY080000" stop="DAY100000" channel="b"><title>Утро Б</title></programme>
</tv>
)";

TEST(DownloadDialogs, AnXmltvFileThroughTheFileSource) {
    QTemporaryDir dir;
    auto app = empty_program(dir, "127.0.0.1:9");
    const QString file = dir.filePath("Домашний.xml");
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    write_all(file, QString::fromUtf8(kXmltv).replace(QStringLiteral("DAY"), today).toUtf8());
    {
        ModalScript no({
            {"TFMsg",
             [](QDialog& d) {
                 click(test::widget<QPushButton>(static_cast<TFMsg&>(d), "BitBtnNo"));
             }},
        });
        ASSERT_EQ(app->start(), StartUp::Result::running);
        ASSERT_EQ(no.done(), 1u);
    }

    QString caption, summary;
    bool anons_visible = true;
    ModalScript dialogs({
        {"TFUpdate",
         [&](QDialog& d) {
             auto& u = static_cast<TFUpdate&>(d);
             test::widget<QComboBox>(u, "ComboBoxSelect")->setCurrentIndex(1);
             EXPECT_FALSE(test::widget<QComboBox>(u, "ComboBoxUser")->isEnabled());
             u.choose_file = [&] { return file; };
             click(test::widget<QToolButton>(u, "BitBtnDir"));
             EXPECT_EQ(test::widget<QLineEdit>(u, "EditDir")->text(), file);
             click(test::widget<QPushButton>(u, "BitBtnUpdate"));
         }},
        {"TFUpdateSelect",
         [&](QDialog& d) {
             auto& s = static_cast<TFUpdateSelect&>(d);
             caption = s.windowTitle();
             anons_visible = test::widget<QCheckBox>(s, "CheckBoxAnons")->isVisible();
             EXPECT_EQ(test::widget<QTreeView>(s, "TreeViewPacket")
                           ->model()
                           ->index(0, 0)
                           .data()
                           .toString(),
                       QStringLiteral("Домашний"));
             tick_first_paket(s);
             click(test::widget<QPushButton>(s, "BitBtnUpdate"));
         }},
        {"TFMsg",
         [&](QDialog& d) {
             summary = static_cast<TFMsg&>(d).current_panel().text->text();
             d.accept();
         }},
    });
    test::action(app->main_window(), "MDataDownloadProg")->trigger();
    EXPECT_EQ(dialogs.done(), 3u);
    // The import ends with what it took and left out.
    EXPECT_TRUE(summary.startsWith(QStringLiteral("Импортировано: 3 передач, пропущено: 0.")))
        << summary.toStdString();
    EXPECT_TRUE(dialogs.unexpected.empty());
    EXPECT_EQ(caption, QStringLiteral("Получить телепрограмму из файла"));
    EXPECT_FALSE(anons_visible);
    all_list& store = app->store();
    ASSERT_EQ(store.channels.size(), 2u);
    EXPECT_EQ(programme_count(store), 3u);
    ASSERT_EQ(store.chl_groups.size(), 1u);
    EXPECT_EQ(to_utf8(store.chl_groups[0]->name), "Домашний");
    EXPECT_EQ(app->main_window().programs().table(0).model()->rowCount() >= 0, true);
    EXPECT_EQ(app->session().ui_idle, 1);
    app->ExitProgram();
}

// Starts the program on an empty folder aimed at `service`, answering "Нет" to the download
// question.
std::unique_ptr<Application> started_empty(const QTemporaryDir& dir, const std::string& service) {
    auto app = empty_program(dir, service);
    ModalScript no({
        {"TFMsg",
         [](QDialog& d) { click(test::widget<QPushButton>(static_cast<TFMsg&>(d), "BitBtnNo")); }},
    });
    EXPECT_EQ(app->start(), StartUp::Result::running);
    EXPECT_EQ(no.done(), 1u);
    return app;
}

// The forced self-update: the settings are on disk before the script runs (it may replace
// the program), and its exchanges show the connection window, whose "Отмена" ends them.
TEST(DownloadDialogs, SelfUpdateSavesTheSettingsAndShowsTheConnectionWindow) {
    peers::ServerProcess server("slow");
    QTemporaryDir dir;
    auto app = started_empty(dir, server.address());
    app->settings().personal.auto_delay = "17";
    bool shown = false;
    QTimer::singleShot(300, [&] {
        shown = app->progress_window().isVisible();
        app->session().net_cancel = 1;  // what a confirmed "Отмена" sets
    });
    app->download_host().run_self_update();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(app->progress_window().isVisible());
    const IniFile ini(dir.filePath("settings.ini").toStdString());
    EXPECT_EQ(ini.read_string("GU", "ES", ""), "17");
    app->ExitProgram();
}

// The source dialog keeps its "Пользователь:" choice when it is cancelled, for its next use
// and for the automatic download, which follows the dialog's last state.
TEST(DownloadDialogs, CancelledSourceDialogKeepsTheUserChoice) {
    QTemporaryDir dir;
    auto app = started_empty(dir, "127.0.0.1:9");
    std::vector<int> seen;
    ModalScript dialogs({
        {"TFUpdate",
         [&](QDialog& d) {
             auto& u = static_cast<TFUpdate&>(d);
             seen.push_back(test::widget<QComboBox>(u, "ComboBoxUser")->currentIndex());
             test::widget<QComboBox>(u, "ComboBoxUser")->setCurrentIndex(1);
             test::widget<QPushButton>(u, "BitBtnCancel")->click();  // "Отмена"
         }},
        {"TFUpdate",
         [&](QDialog& d) {
             seen.push_back(test::widget<QComboBox>(static_cast<TFUpdate&>(d), "ComboBoxUser")
                                ->currentIndex());
             d.reject();
         }},
    });
    test::action(app->main_window(), "MDataDownloadProg")->trigger();
    test::action(app->main_window(), "MDataDownloadProg")->trigger();
    EXPECT_EQ(dialogs.done(), 2u);
    EXPECT_EQ(seen, (std::vector<int>{0, 1}));
    EXPECT_EQ(app->settings().download_dialog.user_type, 1);
    app->ExitProgram();
}

// --- the dialogs alone

struct DialogFixture : ::testing::Test {
    test::Recorder ui;
    user_account account;
};

TEST_F(DialogFixture, PasswordFieldKeepsOnlyTheDigest) {
    struct Case {
        const char* held;
        const char* typed;  // null: focus in and out without typing
        std::string digest;
    };
    const Case cases[] = {
        {"d41d8cd98f00b204e9800998ecf8427e", nullptr, ""},  // entering empties the field
        {"", "пароль", md5_hex(to_cp1251("пароль"))},
        {"0123456789abcdef0123456789abcdef", "********", "0123456789abcdef0123456789abcdef"},
        {"0123456789abcdef0123456789abcdef", "", ""},
    };
    for (const Case& c : cases) {
        account.password = c.held;
        TFUpdate dialog(account, ui);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        test::widget<QComboBox>(dialog, "ComboBoxUser")->setCurrentIndex(1);
        test::widget<QLineEdit>(dialog, "EditPwd")->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        if (c.typed) {
            test::widget<QLineEdit>(dialog, "EditPwd")->setText(QString::fromUtf8(c.typed));
            QTest::keyClicks(test::widget<QLineEdit>(dialog, "EditPwd"), QString());
        }
        test::widget<QLineEdit>(dialog, "EditLogin")->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(account.password, c.digest) << (c.typed ? c.typed : "(none)");
        EXPECT_EQ(test::widget<QLineEdit>(dialog, "EditPwd")->text(),
                  c.digest.empty() ? QString() : QStringLiteral("********"));
    }
}

// The field empties only when the user enters it: the window coming back to the front (or a
// menu closing) with the focus in it keeps the stored password, and Enter then keeps it too.
TEST_F(DialogFixture, PasswordSurvivesTheWindowComingBack) {
    const std::string held = "0123456789abcdef0123456789abcdef";
    for (const Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
        account.password = held;
        TFUpdate dialog(account, ui);
        dialog.load(DownloadDialogSettings{});
        test::widget<QComboBox>(dialog, "ComboBoxUser")->setCurrentIndex(1);
        ASSERT_EQ(test::widget<QLineEdit>(dialog, "EditPwd")->text(), QStringLiteral("********"));
        QFocusEvent in(QEvent::FocusIn, reason);
        QApplication::sendEvent(test::widget<QLineEdit>(dialog, "EditPwd"), &in);
        EXPECT_EQ(test::widget<QLineEdit>(dialog, "EditPwd")->text(), QStringLiteral("********"))
            << reason;
        dialog.accept();
        EXPECT_EQ(account.password, held) << reason;
    }
}

TEST_F(DialogFixture, SourceRulesAndTheFileExtension) {
    TFUpdate dialog(account, ui);
    test::widget<QComboBox>(dialog, "ComboBoxUser")->setCurrentIndex(1);
    EXPECT_TRUE(test::widget<QLineEdit>(dialog, "EditLogin")->isEnabled());
    EXPECT_FALSE(test::widget<QToolButton>(dialog, "BitBtnDir")->isEnabled());
    test::widget<QComboBox>(dialog, "ComboBoxSelect")->setCurrentIndex(1);
    for (QWidget* w : {static_cast<QWidget*>(test::widget<QComboBox>(dialog, "ComboBoxUser")),
                       static_cast<QWidget*>(test::widget<QLineEdit>(dialog, "EditLogin")),
                       static_cast<QWidget*>(test::widget<QLineEdit>(dialog, "EditPwd")),
                       static_cast<QWidget*>(test::widget<QCheckBox>(dialog, "CheckBoxLoginSave"))})
        EXPECT_FALSE(w->isEnabled()) << w->objectName();
    EXPECT_TRUE(test::widget<QToolButton>(dialog, "BitBtnDir")->isEnabled());

    QString chosen;
    dialog.choose_file = [&] { return chosen; };
    for (const char* name : {"/a/b.ZORVAN_TV", "/a/c.xml.gz"}) {
        chosen = QString::fromLatin1(name);
        dialog.BitBtnDirClick();
        EXPECT_EQ(test::widget<QLineEdit>(dialog, "EditDir")->text(), chosen);
        EXPECT_EQ(test::widget<QLineEdit>(dialog, "EditDir")->toolTip(), chosen);
    }
    chosen = QStringLiteral("/a/d.txt");
    dialog.BitBtnDirClick();
    EXPECT_EQ(test::widget<QLineEdit>(dialog, "EditDir")->text(), QStringLiteral("/a/c.xml.gz"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Не верное расширение файла.");
}

TEST_F(DialogFixture, SelectionTicksCardAndMessages) {
    bool paid = false;
    TFUpdateSelect dialog(
        {}, ui, [&] { return paid; }, [](std::int32_t id) { return id == 2 || id == 1; });
    net::SelectionLists lists = test::two_pakets();
    net::DownloadControls controls;
    controls.anons_visible = true;
    dialog.show_lists(lists, controls);
    dialog.show();
    auto* model = dialog.channel_model();
    // The tree's first package is chosen as the dialog shows: its channels and their count.
    EXPECT_EQ(dialog.sel_paket(), 0);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("Каналы в пакете (2)"));
    // The arrow keys choose a package as a click does.
    auto* tree = test::widget<QTreeView>(dialog, "TreeViewPacket");
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Down);
    EXPECT_EQ(dialog.sel_paket(), 1);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("Каналы в пакете (1)"));

    dialog.select_paket(0);
    EXPECT_TRUE(test::widget<QWidget>(dialog, "PanelCard")->isVisible());
    EXPECT_EQ(test::widget<QLabel>(dialog, "LabelName")->text(), QStringLiteral("Основной"));
    EXPECT_EQ(model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("Каналы в пакете (2)"));
    EXPECT_EQ(model->index(0, 1).data().toString(), QStringLiteral("+01:00"));

    // "Инверсия" twice gives the ticks back; a click on a row toggles it.
    const auto ticks = [&] {
        return std::vector<int>{lists.update_pakets[0]->channels[0].ticked,
                                lists.update_pakets[0]->channels[1].ticked};
    };
    dialog.mark_invert();
    EXPECT_EQ(ticks(), (std::vector<int>{1, 0}));
    dialog.mark_invert();
    EXPECT_EQ(ticks(), (std::vector<int>{0, 1}));
    QTest::mouseClick(test::widget<QTableView>(dialog, "ListViewPacketChannel")->viewport(),
                      Qt::LeftButton, {},
                      test::widget<QTableView>(dialog, "ListViewPacketChannel")
                          ->visualRect(model->index(1, 0))
                          .center());
    EXPECT_EQ(ticks(), (std::vector<int>{0, 0}));
    dialog.BitBtnMainChannelClick();  // both channels are held
    EXPECT_EQ(ticks(), (std::vector<int>{1, 1}));
    dialog.mark_none();

    // A package without a description hides the card; with one it comes back.
    dialog.select_paket(1);
    EXPECT_FALSE(test::widget<QWidget>(dialog, "PanelCard")->isVisible());
    dialog.select_paket(0);
    EXPECT_TRUE(test::widget<QWidget>(dialog, "PanelCard")->isVisible());

    // A free user pressing "С анонсами": the message, and the box stays unticked.
    QTest::mouseClick(test::widget<QCheckBox>(dialog, "CheckBoxAnons"), Qt::LeftButton);
    EXPECT_FALSE(test::widget<QCheckBox>(dialog, "CheckBoxAnons")->isChecked());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Получение анонсов доступно только для платных пользователей.");
    // Space by keyboard meets the same check.
    test::widget<QCheckBox>(dialog, "CheckBoxAnons")->setFocus();
    QTest::keyClick(test::widget<QCheckBox>(dialog, "CheckBoxAnons"), Qt::Key_Space);
    EXPECT_FALSE(test::widget<QCheckBox>(dialog, "CheckBoxAnons")->isChecked());
    ASSERT_EQ(ui.messages.size(), 2u);
    ui.messages.pop_back();
    paid = true;
    QTest::mouseClick(test::widget<QCheckBox>(dialog, "CheckBoxAnons"), Qt::LeftButton);
    EXPECT_TRUE(test::widget<QCheckBox>(dialog, "CheckBoxAnons")->isChecked());

    // "Получить" with nothing ticked and "Нет": the dialog stays, the ticks as they were.
    ui.answer = false;
    dialog.BitBtnUpdateClick();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(ui.messages.back().text,
              "Не выбраны каналы для получения телепрограммы. Продолжить?");
    EXPECT_EQ(ticks(), (std::vector<int>{0, 0}));

    // "Описание канала" without a chosen row does nothing.
    test::widget<QTableView>(dialog, "ListViewPacketChannel")->setCurrentIndex({});
    const std::size_t shown = ui.messages.size();
    dialog.BitBtnInfoChannelClick();
    EXPECT_EQ(ui.messages.size(), shown);

    // Status panels: 25 %, 15 %, 28 % and 17 % of the bar.
    dialog.resize(800, 500);
    QApplication::processEvents();
    const int w = test::widget<QWidget>(dialog, "StatusBar")->width();
    EXPECT_EQ(test::widget<QLabel>(dialog, "StatusPanel0")->width(), w * 25 / 100);
    EXPECT_EQ(test::widget<QLabel>(dialog, "StatusPanel2")->width(), w * 28 / 100);
}

}  // namespace
}  // namespace zt
