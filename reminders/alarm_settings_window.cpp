#include "reminders/alarm_settings_window.h"

#include <QComboBox>
#include <QPushButton>

namespace zt {

QStringList size_items() {
    return {QStringLiteral("Малый"), QStringLiteral("Средний"), QStringLiteral("Большой")};
}

QStringList horizontal_items() {
    return {QStringLiteral("Слева"), QStringLiteral("По середине"), QStringLiteral("Справа")};
}

QStringList vertical_items() {
    return {QStringLiteral("Вверху"), QStringLiteral("По середине"), QStringLiteral("Внизу")};
}

AlarmSettingsWindow::AlarmSettingsWindow(SettingsStore& store, QWidget* parent)
    : AlarmSettingsTab(store, parent) {
    add_label(0, QStringLiteral("Размер:"));
    add_combo(0, 1, "ComboBoxWinSize", size_items(),
              [](Settings& s) -> int& { return s.alarm_window.size; });
    add_check(0, 2, "CheckBoxWinBold", QStringLiteral("Жирный шрифт"),
              [](Settings& s) -> bool& { return s.alarm_window.bold; });
    add_label(1, QStringLiteral("Расположение:"));
    add_combo(1, 1, "ComboBoxWinPos1", horizontal_items(),
              [](Settings& s) -> int& { return s.alarm_window.pos1; });
    add_combo(1, 2, "ComboBoxWinPos2", vertical_items(),
              [](Settings& s) -> int& { return s.alarm_window.pos2; });
    add_label(2, QStringLiteral("На:"));
    add_monitor_combo(2, "ComboBoxWinMonitor",
                      [](Settings& s) -> int& { return s.alarm_window.monitor; });
    add_label(3, QStringLiteral("Прозрачность:"));
    QStringList alpha{QStringLiteral("Нет")};
    for (int percent = 10; percent <= 90; percent += 10)
        alpha << QStringLiteral("%1%").arg(percent);
    add_combo(3, 1, "ComboBoxWinAlpha", alpha,
              [](Settings& s) -> int& { return s.alarm_window.alpha; });
    add_label(4, QStringLiteral("Анимация:"));
    QComboBox* anim = add_combo(
        4, 1, "ComboBoxWinAnim",
        {QStringLiteral("Нет"), QStringLiteral("Плавное появление"),
         QStringLiteral("Движение сверху вниз"), QStringLiteral("Движение снизу вверх"),
         QStringLiteral("Движение слева направо"), QStringLiteral("Движение справа налево")},
        [](Settings& s) -> int& { return s.alarm_window.anim; });
    grid().addWidget(anim, 4, 1, 1, 2);
    QPushButton* test = add_button(5, 2, "BitBtnWinTest", QStringLiteral("Проверить"));
    connect(test, &QPushButton::clicked, this, &AlarmSettingsWindow::test_window_requested);
    grid().setRowStretch(6, 1);
}

}  // namespace zt
