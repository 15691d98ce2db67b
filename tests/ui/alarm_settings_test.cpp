#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "reminder_outputs_fixture.h"
#include "reminders/alarm_settings.h"
#include "ui/colour_box.h"
#include "ui_helpers.h"

namespace zt {
namespace {

struct AlarmSettingsTest : test::ReminderOutputsFixture {
    TFAlarmSettings window{live, ini, ui, sound, osd, *store};

    template <class W>
    W* find(const char* name) {
        auto* w = window.findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // What the user does: choose an item of a drop-down list.
    void choose(const char* name, int index) {
        QComboBox* box = find<QComboBox>(name);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    Settings read_file() {
        IniFile file(ini.path());
        Settings s;
        s.load_all(file);
        return s;
    }
};

TEST_F(AlarmSettingsTest, EditsActAtOnceAndClosingSavesOrDropsThem) {
    // Changes reach the live model before anything is saved.
    choose("ComboBoxGenShow", 9);
    choose("ComboBoxGenHide", 0);
    choose("ComboBoxWinAnim", 5);
    choose("ComboBoxSoundName", 49);
    find<QCheckBox>("CheckBoxOSDBold")->click();
    find<QLineEdit>("EditGenProgParam")->setText(QStringLiteral("--канал 1"));
    emit find<QLineEdit>("EditGenProgParam")->textEdited(QStringLiteral("--канал 1"));
    emit find<ColourBox>("ColorBoxOSDText")->colour_chosen(0x0000FF);
    EXPECT_EQ(settings.alarm_general.show, 9);
    EXPECT_EQ(settings.alarm_osd.text, 0x0000FF);
    // A built-in sound makes the file field idle.
    EXPECT_FALSE(find<QLineEdit>("EditSoundFile")->isEnabled());

    // "Да": the reminder sections reach the file and read back the same.
    const Settings edited = settings;
    ui.answer = true;
    window.reject();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, MsgKind::Question);
    EXPECT_EQ(ui.messages[0].text, "Сохранить настройки?");
    const Settings saved = read_file();
    EXPECT_EQ(saved.alarm_general, edited.alarm_general);
    EXPECT_EQ(saved.alarm_window, edited.alarm_window);
    EXPECT_EQ(saved.alarm_sound, edited.alarm_sound);
    EXPECT_EQ(saved.alarm_osd, edited.alarm_osd);
    EXPECT_EQ(settings, edited);

    // "Нет": every change since that save is dropped, the controls show the saved values, and
    // the reminder window's own size (kept in the same section) is left as it is now.
    choose("ComboBoxGenShow", 1);
    choose("ComboBoxOSDOut", 1);
    settings.alarm_general.window_width = 333;
    ui.answer = false;
    window.reject();
    EXPECT_EQ(settings.alarm_general.show, 9);
    EXPECT_EQ(settings.alarm_osd.out, 0);
    EXPECT_EQ(settings.alarm_general.window_width, 333);
    EXPECT_EQ(find<QComboBox>("ComboBoxGenShow")->currentIndex(), 9);
    EXPECT_EQ(read_file().alarm_general.show, 9);
}

TEST_F(AlarmSettingsTest, OverlayUsesThePrimaryMonitorAndAFileSwitchesToIt) {
    settings.alarm_osd.monitor = 5;  // no such monitor: the list shows the primary one
    live.reloaded();
    QComboBox* monitor = find<QComboBox>("ComboBoxOSDMonitor");
    EXPECT_EQ(monitor->currentIndex(), 0);
    EXPECT_EQ(monitor->itemText(0), QStringLiteral("Основном мониторе"));
    choose("ComboBoxOSDOut", 1);
    EXPECT_EQ(settings.alarm_osd.monitor, 0);
    EXPECT_FALSE(monitor->isEnabled());
    choose("ComboBoxOSDOut", 0);
    EXPECT_TRUE(monitor->isEnabled());

    // The sound list names the built-in sounds as the settings number them.
    QComboBox* names = find<QComboBox>("ComboBoxSoundName");
    ASSERT_EQ(names->count(), 50);
    EXPECT_EQ(names->itemText(0), QStringLiteral("Из файла"));
    EXPECT_EQ(names->itemText(8), QStringLiteral("Люди 1"));
    EXPECT_EQ(names->itemText(49), QStringLiteral("Шумы 7"));
}

TEST_F(AlarmSettingsTest, ShowButtonPutsTheSampleOnScreenAndHideRemovesIt) {
    find<QPushButton>("BitBtnOSDShow")->click();
    ASSERT_NE(osd.window(), nullptr);
    EXPECT_TRUE(osd.close_timer_active());  // "Через 10 сек. после вывода"
    const OsdContent sample = window.osd_sample();
    EXPECT_EQ(sample.channel_caption, QStringLiteral("[001] Канал"));
    EXPECT_FALSE(sample.genre_icon.isNull());
    find<QPushButton>("BitBtnOSDHide")->click();
    EXPECT_EQ(osd.window(), nullptr);

    int windows = 0, trays = 0;
    QObject::connect(&window, &TFAlarmSettings::test_window_requested, [&] { ++windows; });
    QObject::connect(&window, &TFAlarmSettings::test_tray_requested, [&] { ++trays; });
    find<QPushButton>("BitBtnWinTest")->click();
    find<QPushButton>("BitBtnGenTrayTest")->click();
    EXPECT_EQ(windows, 1);
    EXPECT_EQ(trays, 1);
}

}  // namespace
}  // namespace zt
