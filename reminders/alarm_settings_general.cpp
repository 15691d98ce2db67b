#include "reminders/alarm_settings_general.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>

#include "reminders/logic/alarm_tables.h"
#include "ui/option_captions.h"

namespace zt {

AlarmSettingsGeneral::AlarmSettingsGeneral(SettingsStore& store, QWidget* parent)
    : AlarmSettingsTab(store, parent) {
    add_label(0, QStringLiteral("Выводить:"));
    QComboBox* show = add_combo(0, 1, "ComboBoxGenShow", option_captions(reminders::kLeadTimes),
                                [](Settings& s) -> int& { return s.alarm_general.show; });
    show->setMaxVisibleItems(reminders::kLeadTimes.size());
    grid().addWidget(show, 0, 1, 1, 3);
    add_label(1, QStringLiteral("Убирать:"));
    QComboBox* hide = add_combo(1, 1, "ComboBoxGenHide", option_captions(reminders::kHideTimes),
                                [](Settings& s) -> int& { return s.alarm_general.hide; });
    hide->setMaxVisibleItems(reminders::kHideTimes.size());
    grid().addWidget(hide, 1, 1, 1, 3);

    add_label(2, QStringLiteral("Оповещение в трее:"));
    add_combo(2, 1, "ComboBoxGenTray",
              {QStringLiteral("Отображать всегда"), QStringLiteral("Когда свернуто в трей")},
              [](Settings& s) -> int& { return s.alarm_general.tray; });
    QPushButton* tray_test = add_button(2, 2, "BitBtnGenTrayTest", QStringLiteral("Проверить"));
    grid().addWidget(tray_test, 2, 2, 1, 2);
    connect(tray_test, &QPushButton::clicked, this, &AlarmSettingsGeneral::test_tray_requested);

    add_label(3, QStringLiteral("Запускать:"));
    add_path(3, "EditGenProgStart", "BitBtnGenProgStartOpen", "BitBtnGenProgStartClear",
             QStringLiteral("Все файлы (*)"),
             [](Settings& s) -> std::string& { return s.alarm_general.prog_start; });
    add_label(4, QStringLiteral("с параметрами:"));
    add_text(4, 1, "EditGenProgParam",
             [](Settings& s) -> std::string& { return s.alarm_general.prog_param; });
    QComboBox* window =
        add_combo(5, 1, "ComboBoxGenProgParam",
                  {QStringLiteral("Обычный размер окна"), QStringLiteral("Свернутое в значок"),
                   QStringLiteral("Развернутое на весь экран")},
                  [](Settings& s) -> int& { return s.alarm_general.prog_window; });
    // The list opens as wide as its longest item plus a scroll bar and 5 pixels.
    int widest = 0;
    for (int i = 0; i < window->count(); ++i)
        widest = std::max(widest, window->fontMetrics().horizontalAdvance(window->itemText(i)));
    window->view()->setMinimumWidth(widest + style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 5);
    QPushButton* test = add_button(5, 2, "BitBtnGenTest", QStringLiteral("Проверить"));
    grid().addWidget(test, 5, 2, 1, 2);
    connect(test, &QPushButton::clicked, this, &AlarmSettingsGeneral::test_program_requested);
    grid().setRowStretch(6, 1);
}

}  // namespace zt
