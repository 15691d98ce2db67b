// The manager window driven on the running program: groups made, filled, shifted and dragged,
// and after closing the main window's panel and tables follow and the data files were written
// once.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "app/application.h"
#include "app/manager_command.h"
#include "core/cp1251.h"
#include "core/store.h"
#include "dialogs/msg_window.h"
#include "managers/channel_groups_tab.h"
#include "managers/group_dialogs.h"
#include "managers/manager_list.h"
#include "managers/manager_window.h"
#include "program_folder_fixture.h"
#include "storage/data_files.h"
#include "test_support.h"
#include "tools/gen/schedule_generator.h"
#include "ui/header_captions.h"
#include "ui_helpers.h"
#include "views/channel_panel.h"
#include "views/channel_panel_list.h"
#include "views/main_window.h"
#include "views/panel_set.h"

namespace zt {
namespace {

QByteArray read_all(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Saves a picture of the whole screen when ZT_SHOT_DIR is set (runs under a real display).
void shot(const char* name) {
    const QByteArray dir = qgetenv("ZT_SHOT_DIR");
    if (dir.isEmpty()) return;
    QTest::qWait(300);
    QProcess::execute(QStringLiteral("import"),
                      {QStringLiteral("-window"), QStringLiteral("root"),
                       QString::fromLocal8Bit(dir) + "/" + name + ".png"});
}

void click(QWidget& root, const char* name) {
    auto* b = root.findChild<QAbstractButton*>(QString::fromLatin1(name));
    ASSERT_NE(b, nullptr) << name;
    ASSERT_TRUE(b->isEnabled()) << name;
    QTest::mouseClick(b, Qt::LeftButton);
}

class ManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_app = test::start_tiny_program(m_dir, test::at("2024-03-13 20:00"),
                                         test::at("2024-03-04 20:00"));
        ASSERT_NE(m_app, nullptr);
        m_app->main_window().show();
    }
    void TearDown() override {
        if (m_app) m_app->main_window().allow_close();
    }

    TFMgr& mgr() { return m_app->manager().window(); }
    ChannelGroupsTab& tab() { return mgr().channel_tab(); }
    all_list& store() { return m_app->store(); }
    // Runs "Менеджер" from the main menu; `drive` runs while the manager is open, which is
    // closed afterwards.
    void with_manager(const std::function<void()>& drive) {
        bool ran = false;
        auto c = QObject::connect(&mgr(), &TFMgr::opened, [&] {
            drive();
            ran = true;
            mgr().accept();
        });
        test::action(m_app->main_window(), "MDataManager")->trigger();
        QObject::disconnect(c);
        EXPECT_TRUE(ran);
    }
    // Answers the next dialog with `fill` and "Сохранить" while `command` runs.
    template <class Dialog>
    void answer(Dialog& dialog, const std::function<void(Dialog&)>& fill,
                const std::function<void()>& command, const char* picture = nullptr) {
        test::OnNextModal on([&](QDialog& shown) {
            ASSERT_EQ(&shown, &dialog);
            fill(dialog);
            if (picture) shot(picture);
            QTest::mouseClick(dialog.template findChild<QPushButton*>("ButtonSave"),
                              Qt::LeftButton);
        });
        command();
        EXPECT_EQ(on.runs(), 1);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<Application> m_app;
};

TEST_F(ManagerTest, GroupsMadeInTheManagerReachThePanelTablesAndFilesOnClose) {
    const QString u_dat = m_dir.filePath("dat/u.dat");
    const QByteArray u_before = read_all(u_dat);
    ASSERT_FALSE(u_before.isEmpty());
    const std::size_t groups_before = store().chl_groups.size();
    group_ptr made;

    with_manager([&] {
        // Open: no current group, the main window's group controls gone.
        EXPECT_EQ(store().cur_group, -1);
        EXPECT_EQ(test::widget<ChannelListView>(m_app->main_window().panels().channels(),
                                                "ListViewChannels")
                      ->model()
                      ->rowCount(),
                  0);
        EXPECT_EQ(m_app->session().ui_idle, 0);
        ManagerListView& groups = *test::widget<ManagerListView>(tab(), "ListViewChannelGroup");
        ManagerListView& all = *test::widget<ManagerListView>(tab(), "ListViewChannelAll");
        ManagerListView& members = *test::widget<ManagerListView>(tab(), "ListViewChannelInGroup");

        answer<TFMgrChlGrpAdd>(
            tab().add_dialog(),
            [](TFMgrChlGrpAdd& d) {
                test::widget<QLineEdit>(d, "EditName")->setText(QStringLiteral("Мои каналы"));
                test::widget<QLineEdit>(d, "EditDescr")->setText(QStringLiteral("Вечер"));
            },
            [&] { click(tab(), "BitBtnGroupAdd"); }, "dialog_group_add");
        ASSERT_EQ(store().chl_groups.size(), groups_before + 1);
        made = store().chl_groups.back();
        EXPECT_EQ(store().cur_group, std::int32_t(groups_before));
        EXPECT_EQ(test::widget<QLabel>(tab(), "LabelCurrentGroup")->text(),
                  QStringLiteral("Мои каналы"));

        // Channels 0 and 2 of the available list, then channel 0 once more.
        all.selectionModel()->select(all.model()->index(0, 0),
                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
        all.selectionModel()->select(all.model()->index(2, 0),
                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
        click(tab(), "BitBtnChlAdd");
        all.select_only(0);
        click(tab(), "BitBtnChlAdd");
        ASSERT_EQ(made->members.size(), 3u);
        EXPECT_EQ(made->members[2]->chl_id, store().channels[0]->id);
        EXPECT_EQ(members.selected_rows(), std::vector<int>{2});

        // All three shifted by +02:30.
        members.selectAll();
        answer<TFMgrChlInGrpTime>(
            tab().time_dialog(),
            [](TFMgrChlInGrpTime& d) {
                test::widget<QComboBox>(d.shift(), "ComboBoxTimeMP")->setCurrentIndex(1);
                test::widget<QLineEdit>(d.shift(), "EditTimeHour")->setText("02");
                test::widget<QLineEdit>(d.shift(), "EditTimeMin")->setText("30");
            },
            [&] { click(tab(), "BitBtnMemberTime"); }, "dialog_time");
        for (const auto& m : made->members) EXPECT_EQ(m->shift_text, "+02:30");
        members.select_only(1);
        answer<TFMgrChlInGrpEdit>(
            tab().member_dialog(),
            [](TFMgrChlInGrpEdit& d) { test::widget<QLineEdit>(d, "EditNum")->setText("7"); },
            [&] { click(tab(), "BitBtnMemberEdit"); }, "dialog_member");
        EXPECT_EQ(made->members[1]->button, "7");
        EXPECT_EQ(made->members[1]->shift_text, "+02:30");
        shot("manager_channels");

        // Dragged onto the first row; a drop of it on the members' list is refused.
        const int last = int(store().chl_groups.size()) - 1;
        std::unique_ptr<QMimeData> foreign(groups.drag_data(last));
        EXPECT_FALSE(
            members.drop(foreign.get(), members.visualRect(members.model()->index(0, 0)).center()));
        std::unique_ptr<QMimeData> own(groups.drag_data(last));
        ASSERT_TRUE(
            groups.drop(own.get(), groups.visualRect(groups.model()->index(0, 0)).center()));
        EXPECT_EQ(store().chl_groups.front(), made);
        EXPECT_EQ(store().cur_group, 0);
        EXPECT_EQ(groups.selected_rows(), std::vector<int>{0});

        // Undo and redo of the drag, named by what they undo and redo.
        EXPECT_EQ(mgr().ActionUndo->text(), QStringLiteral("Отменить: перемещение группы"));
        mgr().ActionUndo->trigger();
        EXPECT_EQ(store().chl_groups.back(), made);
        EXPECT_EQ(mgr().ActionRedo->text(), QStringLiteral("Повторить: перемещение группы"));
        mgr().ActionRedo->trigger();
        EXPECT_EQ(store().chl_groups.front(), made);
        EXPECT_EQ(mgr().ActionRedo->text(), QStringLiteral("Повторить"));
        EXPECT_EQ(read_all(u_dat), u_before);  // nothing written while open
    });

    EXPECT_EQ(mgr().undo_stack().count(), 0);
    EXPECT_EQ(m_app->session().ui_idle, 1);
    // The panel shows the dragged group, now the first and current one.
    EXPECT_EQ(store().cur_group, 0);
    EXPECT_EQ(m_app->view().channels.current_group(), made.get());
    EXPECT_EQ(
        test::widget<ChannelListView>(m_app->main_window().panels().channels(), "ListViewChannels")
            ->model()
            ->rowCount(),
        3);
    auto* group_menu = test::menu(m_app->main_window(), "MChannelsGroup");
    ASSERT_FALSE(group_menu->actions().isEmpty());
    EXPECT_EQ(group_menu->actions().front()->text(), QStringLiteral("Мои каналы"));
    // The rows of the day page (what printing reads too) come from the new group, shifted.
    m_app->main_window().set_page(2);
    ASSERT_FALSE(m_app->view().list.rows().empty());
    for (const auto& row : m_app->view().list.rows()) {
        EXPECT_EQ(row.member->chl_id == store().channels[0]->id ||
                      row.member->chl_id == store().channels[2]->id,
                  true);
        EXPECT_EQ(row.start, row.prog->start + DateTime::fromMinutes(150));
    }

    // u.dat was written once: its backup is the file as it was before.
    EXPECT_EQ(read_all(m_dir.filePath("dat/u.bak")), u_before);
    all_list loaded;
    loaded.exe_dir = m_dir.path().toStdString() + "/";
    test::Recorder rec;
    user_account user;
    ASSERT_TRUE(load_u(DataContext{loaded, rec, rec, user}));
    ASSERT_EQ(loaded.chl_groups.size(), groups_before + 1);
    EXPECT_EQ(to_utf8(loaded.chl_groups[0]->name), "Мои каналы");
    ASSERT_EQ(loaded.chl_groups[0]->members.size(), 3u);
    EXPECT_EQ(loaded.chl_groups[0]->members[1]->button, "7");
    EXPECT_EQ(loaded.chl_groups[0]->members[2]->shift_text, "+02:30");
}

// Every list of the channel tab shows its captions whole at the default size, the counted
// ones ("Доступные каналы (10)") too once the count is known.
TEST_F(ManagerTest, EveryListCaptionShowsWhole) {
    with_manager([&] {
        for (auto* list : tab().findChildren<ManagerListView*>()) {
            const QHeaderView& header = *list->horizontalHeader();
            for (int section = 0; section < header.count(); ++section) {
                if (header.isSectionHidden(section)) continue;
                EXPECT_GE(header.sectionSize(section), caption_width(header, section))
                    << list->objectName().toStdString() << " "
                    << list->model()->headerData(section, Qt::Horizontal).toString().toStdString();
            }
        }
    });
}

TEST_F(ManagerTest, KeysReachTheCommandsAndEveryListAndButtonIsNamed) {
    with_manager([&] {
        ManagerListView& groups = *test::widget<ManagerListView>(tab(), "ListViewChannelGroup");
        for (auto* list : tab().findChildren<ManagerListView*>())
            EXPECT_FALSE(list->accessibleName().isEmpty()) << list->objectName();
        for (auto* b : tab().findChildren<QToolButton*>())
            EXPECT_FALSE(b->accessibleName().isEmpty()) << b->objectName();

        const std::size_t n = store().chl_groups.size();
        ASSERT_GE(n, 1u);
        // Insert: a new group (empty name: "Новая " + id).
        answer<TFMgrChlGrpAdd>(
            tab().add_dialog(), [](TFMgrChlGrpAdd&) {},
            [&] { QTest::keyClick(&groups, Qt::Key_Insert); });
        ASSERT_EQ(store().chl_groups.size(), n + 1);
        const group_ptr fresh = store().chl_groups.back();
        EXPECT_EQ(to_utf8(fresh->name), "Новая " + std::to_string(fresh->id));
        // Ctrl+Up moves it one up; F2 renames it in place.
        QTest::keyClick(&groups, Qt::Key_Up, Qt::ControlModifier);
        EXPECT_EQ(store().chl_groups[n - 1], fresh);
        EXPECT_EQ(groups.focused_row(), int(n - 1));
        QTest::keyClick(&groups, Qt::Key_F2);
        auto* editor = groups.findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->setText(QStringLiteral("Спорт"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();  // the editor commits from the event loop
        EXPECT_EQ(to_utf8(fresh->name), "Спорт");
        EXPECT_EQ(test::widget<QLabel>(tab(), "LabelCurrentGroup")->text(),
                  QStringLiteral("Спорт"));
        // Del asks, and on "Да" removes it; the first group becomes current.
        groups.select_only(int(n - 1));
        test::OnNextModal yes([&](QDialog&) {
            QTest::mouseClick(test::widget<QPushButton>(m_app->msg_window(), "BitBtnYes"),
                              Qt::LeftButton);
        });
        QTest::keyClick(&groups, Qt::Key_Delete);
        EXPECT_EQ(yes.runs(), 1);
        EXPECT_EQ(store().chl_groups.size(), n);
        EXPECT_EQ(store().cur_group, 0);
        // Ctrl+Z brings it back at its place with its name; Ctrl+Shift+Z removes it again
        // (window shortcuts: the manager is the active window).
        QApplication::setActiveWindow(&mgr());
        QTest::keyClick(&groups, Qt::Key_Z, Qt::ControlModifier);
        ASSERT_EQ(store().chl_groups.size(), n + 1);
        EXPECT_EQ(store().chl_groups[n - 1], fresh);
        QTest::keyClick(&groups, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(store().chl_groups.size(), n);
    });
}

TEST_F(ManagerTest, ATimeZonePresetFillsTheFieldsAndTheTimeDialogKeepsItsValues) {
    with_manager([&] {
        ManagerListView& groups = *test::widget<ManagerListView>(tab(), "ListViewChannelGroup");
        groups.select_only(0);
        ASSERT_FALSE(store().chl_groups[0]->members.empty());
        test::widget<ManagerListView>(tab(), "ListViewChannelInGroup")->select_only(0);
        ShiftFields& f = tab().time_dialog().shift();
        int gmt = -1;
        for (int i = 0; i < test::widget<QComboBox>(f, "ComboBoxTimeSel")->count(); ++i)
            if (test::widget<QComboBox>(f, "ComboBoxTimeSel")->itemText(i).startsWith("(00:00)"))
                gmt = i;
        ASSERT_GE(gmt, 0);
        answer<TFMgrChlInGrpTime>(
            tab().time_dialog(),
            [&](TFMgrChlInGrpTime& d) {
                test::widget<QLineEdit>(d.shift(), "EditTimeHour")->setText("05");
                test::widget<QComboBox>(d.shift(), "ComboBoxTimeSel")->setCurrentIndex(gmt);
                emit test::widget<QComboBox>(d.shift(), "ComboBoxTimeSel")->activated(gmt);
                EXPECT_EQ(test::widget<QComboBox>(d.shift(), "ComboBoxTimeMP")->currentText(),
                          QStringLiteral("плюс"));
                EXPECT_EQ(test::widget<QLineEdit>(d.shift(), "EditTimeHour")->text(), "00");
            },
            [&] { tab().ShiftMembers(); });
        EXPECT_EQ(store().chl_groups[0]->members[0]->shift_text, "00:00");
        EXPECT_EQ(store().chl_groups[0]->members[0]->shift_plus, 0);
        // The dialog keeps what it showed last; letters do not get into the hour field.
        EXPECT_EQ(test::widget<QLineEdit>(f, "EditTimeHour")->text(), "00");
        EXPECT_EQ(test::widget<QComboBox>(f, "ComboBoxTimeMP")->currentIndex(), 1);
        test::widget<QLineEdit>(f, "EditTimeHour")->clear();
        QTest::keyClicks(test::widget<QLineEdit>(f, "EditTimeHour"), "a1b2");
        EXPECT_EQ(test::widget<QLineEdit>(f, "EditTimeHour")->text(), "12");
    });
}

}  // namespace
}  // namespace zt
