#include "reminders/alarm_settings_osd.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "reminders/alarm_settings_window.h"
#include "reminders/osd_window.h"
#include "ui/colour_box.h"

namespace zt {

AlarmSettingsOsd::AlarmSettingsOsd(SettingsStore& store, AlarmOsd& osd,
                                   std::function<OsdContent()> sample,
                                   std::function<int()> display_seconds, QWidget* parent)
    : AlarmSettingsTab(store, parent) {
    add_label(0, QStringLiteral("Способ вывода:"));
    QComboBox* out =
        add_combo(0, 1, "ComboBoxOSDOut", {QStringLiteral("Окно"), QStringLiteral("Оверлей")},
                  [](Settings& s) -> int& { return s.alarm_osd.out; });
    add_check(0, 2, "CheckBoxOSDAlpha", QStringLiteral("Прозрачность"),
              [](Settings& s) -> bool& { return s.alarm_osd.alpha; });
    add_label(1, QStringLiteral("Размер:"));
    add_combo(1, 1, "ComboBoxOSDSize", size_items(),
              [](Settings& s) -> int& { return s.alarm_osd.size; });
    add_check(1, 2, "CheckBoxOSDBold", QStringLiteral("Жирный шрифт"),
              [](Settings& s) -> bool& { return s.alarm_osd.bold; });
    add_label(2, QStringLiteral("Расположение:"));
    add_combo(2, 1, "ComboBoxOSDPos1", horizontal_items(),
              [](Settings& s) -> int& { return s.alarm_osd.pos1; });
    add_combo(2, 2, "ComboBoxOSDPos2", vertical_items(),
              [](Settings& s) -> int& { return s.alarm_osd.pos2; });
    add_label(3, QStringLiteral("На:"));
    QComboBox* monitor = add_monitor_combo(3, "ComboBoxOSDMonitor",
                                           [](Settings& s) -> int& { return s.alarm_osd.monitor; });
    // The overlay always uses the primary display.
    connect(out, &QComboBox::activated, this, [this](int index) {
        if (index == 1) change([](Settings& s) { s.alarm_osd.monitor = 0; });
    });
    on_load([this, monitor] { monitor->setEnabled(settings().alarm_osd.out != 1); });
    add_label(4, QStringLiteral("Цвета:"));
    add_colour(4, 1, "ColorBoxOSDText", QStringLiteral("Цвет шрифта"),
               [](Settings& s) -> Colour& { return s.alarm_osd.text; });
    add_colour(4, 2, "ColorBoxOSDBk", QStringLiteral("Цвет фона"),
               [](Settings& s) -> Colour& { return s.alarm_osd.back; });
    QPushButton* show = add_button(5, 1, "BitBtnOSDShow", QStringLiteral("Показать"));
    QPushButton* hide = add_button(5, 2, "BitBtnOSDHide", QStringLiteral("Убрать"));
    connect(show, &QPushButton::clicked, this, [this, &osd, sample, display_seconds] {
        osd.show(sample(), settings().alarm_osd, display_seconds());
    });
    connect(hide, &QPushButton::clicked, &osd, &AlarmOsd::hide);
    grid().setRowStretch(6, 1);
}

}  // namespace zt
