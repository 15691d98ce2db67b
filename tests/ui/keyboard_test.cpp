// The keyboard alone: Tab reaches every control of the main window, the download dialogs and
// the manager, each control carries a name a screen reader says, Enter presses a dialog's
// default button and Escape closes it.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <algorithm>
#include <set>

#include "app/application.h"
#include "app/manager_command.h"
#include "core/cp1251.h"
#include "dialogs/update_select_dialog.h"
#include "dialogs/update_source_dialog.h"
#include "managers/manager_window.h"
#include "paket_lists.h"
#include "program_folder_fixture.h"
#include "storage/data_files.h"
#include "test_support.h"
#include "tools/gen/schedule_generator.h"
#include "ui_helpers.h"
#include "views/main_window.h"

namespace zt {
namespace {

QString describe(const QWidget* w) {
    QString path;
    for (const QObject* o = w; o; o = o->parent())
        path = QString::fromLatin1(o->metaObject()->className()) + "(" + o->objectName() + ")" +
               (path.isEmpty() ? QString() : " > " + path);
    return path;
}

// What a screen reader says for the control: its accessible name, a label naming it (a
// buddy, which Qt exposes as the "labelled by" relation) or its own caption. A combo box's
// name on Linux is its current text, which names nothing, so it needs one of the first two.
QString spoken_name(QWidget* w) {
    if (!w->accessibleName().isEmpty()) return w->accessibleName();
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    if (!a) return {};
    for (const auto& [other, relation] : a->relations(QAccessible::Label))
        if (other && !other->text(QAccessible::Name).isEmpty())
            return other->text(QAccessible::Name);
    if (qobject_cast<QComboBox*>(w)) return {};
    return a->text(QAccessible::Name);
}

// Every control of `window` the user could Tab to: shown, enabled, taking the focus by Tab
// and not handing it to another widget.
std::set<QWidget*> tab_stops(QWidget& window) {
    std::set<QWidget*> out;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (w->window() != &window || !w->isVisible() || !w->isEnabled()) continue;
        if (!(w->focusPolicy() & Qt::TabFocus) || w->focusProxy()) continue;
        out.insert(w);
    }
    return out;
}

// Presses Tab from `start` until the focus comes back to it and gives the controls met.
std::vector<QWidget*> walk(QWidget& window, QWidget* start) {
    QApplication::setActiveWindow(&window);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    start->setFocus(Qt::TabFocusReason);
    std::vector<QWidget*> met;
    if (QApplication::focusWidget() != start) {
        ADD_FAILURE() << "cannot focus " << describe(start);
        return met;
    }
    met.push_back(start);
    const std::size_t limit = tab_stops(window).size() + 5;
    for (std::size_t i = 0; i < limit; ++i) {
        QWidget* from = QApplication::focusWidget();
        QTest::keyClick(from, Qt::Key_Tab);
        QWidget* to = QApplication::focusWidget();
        if (to == from) {
            ADD_FAILURE() << "Tab stays in " << describe(from);
            break;
        }
        if (to == start) break;
        met.push_back(to);
    }
    return met;
}

// Tab reaches every control of the window (as shown now), and each has a spoken name.
void check_keyboard_walk(QWidget& window, QWidget* start) {
    const std::vector<QWidget*> met = walk(window, start);
    const std::set<QWidget*> reached(met.begin(), met.end());
    for (QWidget* w : tab_stops(window))
        EXPECT_TRUE(reached.count(w)) << "Tab never reaches " << describe(w);
    for (QWidget* w : met) {
        if (w->window() != &window) {
            ADD_FAILURE() << "Tab leaves the window for " << describe(w);
            continue;
        }
        // A caption of signs alone ("...", "?") names nothing.
        const QString name = spoken_name(w);
        EXPECT_TRUE(std::any_of(name.begin(), name.end(), [](QChar c) { return c.isLetter(); }))
            << "no name: " << describe(w) << " \"" << name << "\"";
    }
}

// A dialog: Enter in `field` presses the default button, Escape closes the dialog.
void check_enter_and_escape(QDialog& dialog, QWidget* field) {
    QPushButton* def = nullptr;
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
        if (b->isDefault() && b->isVisible()) def = b;
    ASSERT_NE(def, nullptr) << "no default button in " << describe(&dialog);
    // The button's own work is not wanted here: only that Enter reaches it.
    def->disconnect(SIGNAL(clicked(bool)));
    QSignalSpy pressed(def, &QPushButton::clicked);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(pressed.count(), 1) << "Enter in " << describe(field);
    ASSERT_TRUE(dialog.isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible()) << "Escape leaves " << describe(&dialog) << " open";
}

// The running program over the tiny generated profile.
class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_app = test::start_tiny_program(m_dir, test::at("2024-03-13 20:00"),
                                         test::at("2024-03-13 20:00"));
        ASSERT_NE(m_app, nullptr);
        m_app->main_window().resize(1280, 1000);
        m_app->main_window().show();
    }
    void TearDown() override {
        if (m_app) m_app->main_window().allow_close();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<Application> m_app;
};

TEST_F(KeyboardTest, TabReachesEveryControlOfTheMainWindowAndEachHasAName) {
    TFMain& main = m_app->main_window();
    // Each programme page in turn ("Сейчас", "Скоро", "По дням", "Поиск") with its controls.
    auto* pages = test::widget<QTabWidget>(main, "PageControlProg");
    for (int i = 0; i < pages->count(); ++i) {
        SCOPED_TRACE(pages->tabText(i).toStdString());
        pages->setCurrentIndex(i);
        QApplication::processEvents();
        check_keyboard_walk(main, pages->tabBar());
    }
}

TEST_F(KeyboardTest, TheManagerByKeyboardOnEveryTab) {
    TFMgr& mgr = m_app->manager().window();
    bool ran = false;
    auto c = QObject::connect(&mgr, &TFMgr::opened, [&] {
        ran = true;
        auto* tabs = test::widget<QTabWidget>(mgr, "PageControl");
        for (int i = 0; i < tabs->count(); ++i) {
            SCOPED_TRACE(tabs->tabText(i).toStdString());
            tabs->setCurrentIndex(i);
            QApplication::processEvents();
            check_keyboard_walk(mgr, tabs->tabBar());
        }
        tabs->setCurrentIndex(0);
        QApplication::processEvents();
        QTest::keyClick(tabs->tabBar(), Qt::Key_Escape);
        EXPECT_FALSE(mgr.isVisible());
        if (mgr.isVisible()) mgr.accept();
    });
    test::action(m_app->main_window(), "MDataManager")->trigger();
    QObject::disconnect(c);
    EXPECT_TRUE(ran);
}

TEST(KeyboardDialogs, TheSourceDialogForTheServerAndForAFile) {
    test::Recorder ui;
    user_account account;
    for (int source : {0, 1}) {
        SCOPED_TRACE(source);
        TFUpdate dialog(account, ui);
        dialog.show();
        test::widget<QComboBox>(dialog, "ComboBoxSelect")->setCurrentIndex(source);
        if (source == 0) test::widget<QComboBox>(dialog, "ComboBoxUser")->setCurrentIndex(1);
        QApplication::processEvents();
        check_keyboard_walk(dialog, test::widget<QComboBox>(dialog, "ComboBoxSelect"));
        check_enter_and_escape(dialog, test::widget<QComboBox>(dialog, "ComboBoxSelect"));
    }
}

TEST(KeyboardDialogs, TheSelectionDialogChoosesAndTicksByKeyboard) {
    test::Recorder ui;
    TFUpdateSelect dialog(
        {}, ui, [] { return true; }, [](std::int32_t) { return false; });
    net::SelectionLists lists = test::two_pakets();
    net::DownloadControls controls;
    controls.anons_visible = true;
    dialog.show_lists(lists, controls);
    dialog.show();
    QApplication::processEvents();
    auto* tree = test::widget<QTreeView>(dialog, "TreeViewPacket");
    check_keyboard_walk(dialog, tree);
    // Space in the channel list ticks the current channel.
    auto* channels = test::widget<QAbstractItemView>(dialog, "ListViewPacketChannel");
    channels->setFocus();
    channels->setCurrentIndex(channels->model()->index(0, 0));
    const int before = lists.update_pakets[0]->channels[0].ticked;
    QTest::keyClick(channels, Qt::Key_Space);
    EXPECT_NE(lists.update_pakets[0]->channels[0].ticked, before);
    check_enter_and_escape(dialog, tree);
}

}  // namespace
}  // namespace zt
