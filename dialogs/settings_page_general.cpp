#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "dialogs/logic/autostart_entry.h"
#include "dialogs/settings_pages.h"
#include "dialogs/settings_widgets.h"
#include "ui/option_captions.h"

namespace zt {

SettingsGeneralPage::SettingsGeneralPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheetGen"));
    auto* grid = new QGridLayout(this);
    auto* form = new QFormLayout;
    ComboBoxGenMonitor = named<QComboBox>(this, "ComboBoxGenMonitor");
    ComboBoxGenMouseSpeed = named<QComboBox>(this, "ComboBoxGenMouseSpeed");
    ComboBoxGenMouseSpeed->addItems(option_captions(kMouseSpeeds));
    form->addRow(QStringLiteral("Запускать на:"), ComboBoxGenMonitor);
    form->addRow(QStringLiteral("Прокрутка мышью:"), ComboBoxGenMouseSpeed);
    grid->addLayout(form, 0, 0);

    CheckBoxGenStartSys =
        check_box(this, "CheckBoxGenStartSys", QStringLiteral("Запускать при входе в систему"),
                  QStringLiteral(
                      "Запись автозапуска рабочего стола (~/.config/autostart/zorvan-tv.desktop)"));
    CheckBoxGenStartProgress =
        check_box(this, "CheckBoxGenStartProgress", QStringLiteral("\"Тихая\" загрузка"),
                  QStringLiteral("Не выводить при старте окно загрузки"));
    CheckBoxGenTrayStart =
        check_box(this, "CheckBoxGenTrayStart", QStringLiteral("Запускать свернутым в значок"));
    CheckBoxGenTrayIcon =
        check_box(this, "CheckBoxGenTrayIcon", QStringLiteral("Всегда отображать значок в трее"));
    CheckBoxGenTrayMin =
        check_box(this, "CheckBoxGenTrayMin", QStringLiteral("Сворачивать в трей при закрытии"));
    CheckBoxGenLoveAlarm = check_box(this, "CheckBoxGenLoveAlarm",
                                     QStringLiteral("Ставить оповещения на любимые передачи"),
                                     QStringLiteral("После получения телепрограммы"));
    CheckBoxGenTblGrid =
        check_box(this, "CheckBoxGenTblGrid", QStringLiteral("Показывать сетку в таблицах"));
    CheckBoxGenMouseFocus = check_box(this, "CheckBoxGenMouseFocus",
                                      QStringLiteral("Переводить фокус за курсором мыши"));
    CheckBoxGenLogoChl =
        check_box(this, "CheckBoxGenLogoChl", QStringLiteral("Логотипы каналов в таблицах"));
    CheckBoxGenImgType =
        check_box(this, "CheckBoxGenImgType", QStringLiteral("Значки типов передач в таблицах"));
    CheckBoxGenVerifyTime = check_box(this, "CheckBoxGenVerifyTime",
                                      QStringLiteral("Сверять локальное и серверное время"),
                                      QStringLiteral("При получении телепрограммы с сервера."));
    CheckBoxGenViewData = check_box(
        this, "CheckBoxGenViewData", QStringLiteral("Отображать дату в колонках передач"),
        QStringLiteral("В колонках \"Начало\" и \"Конец\" будет отображаться после времени "
                       "дата и день недели"));

    // Start-up and tray on the left, the tables on the right.
    int row = 1;
    for (QCheckBox* box :
         {CheckBoxGenStartSys, CheckBoxGenStartProgress, CheckBoxGenTrayStart, CheckBoxGenTrayIcon,
          CheckBoxGenTrayMin, CheckBoxGenLoveAlarm, CheckBoxGenVerifyTime})
        grid->addWidget(box, row++, 0);
    row = 0;
    for (QCheckBox* box : {CheckBoxGenTblGrid, CheckBoxGenMouseFocus, CheckBoxGenLogoChl,
                           CheckBoxGenImgType, CheckBoxGenViewData})
        grid->addWidget(box, row++, 1);
    grid->setRowStretch(8, 1);
}

void SettingsGeneralPage::load(const GeneralSettings& g) {
    ComboBoxGenMonitor->clear();
    const int monitors = std::max<int>(1, int(QGuiApplication::screens().size()));
    ComboBoxGenMonitor->addItem(QStringLiteral("Основном мониторе"));
    for (int i = 2; i <= monitors; ++i)
        ComboBoxGenMonitor->addItem(QString::number(i) + QStringLiteral(" мониторе"));
    ComboBoxGenMonitor->setCurrentIndex(monitor_index(g.monitor, monitors));
    ComboBoxGenMouseSpeed->setCurrentIndex(kMouseSpeeds.checked(g.mouse_speed));
    m_autostart_loaded = autostart_enabled();
    CheckBoxGenStartSys->setChecked(m_autostart_loaded);
    CheckBoxGenStartProgress->setChecked(g.quiet_start);
    CheckBoxGenTrayStart->setChecked(g.tray_start);
    CheckBoxGenTrayIcon->setChecked(g.tray_icon);
    CheckBoxGenTrayMin->setChecked(g.tray_minimize);
    CheckBoxGenLoveAlarm->setChecked(g.love_alarm);
    CheckBoxGenTblGrid->setChecked(g.table_grid);
    CheckBoxGenMouseFocus->setChecked(g.mouse_focus);
    CheckBoxGenLogoChl->setChecked(g.channel_logos);
    CheckBoxGenImgType->setChecked(g.type_icons);
    CheckBoxGenVerifyTime->setChecked(g.verify_time);
    CheckBoxGenViewData->setChecked(g.view_date);
}

void SettingsGeneralPage::store(GeneralSettings& g) const {
    g.monitor = ComboBoxGenMonitor->currentIndex();
    g.mouse_speed = ComboBoxGenMouseSpeed->currentIndex();
    g.quiet_start = CheckBoxGenStartProgress->isChecked();
    g.tray_start = CheckBoxGenTrayStart->isChecked();
    g.tray_icon = CheckBoxGenTrayIcon->isChecked();
    g.tray_minimize = CheckBoxGenTrayMin->isChecked();
    g.love_alarm = CheckBoxGenLoveAlarm->isChecked();
    g.table_grid = CheckBoxGenTblGrid->isChecked();
    g.mouse_focus = CheckBoxGenMouseFocus->isChecked();
    g.channel_logos = CheckBoxGenLogoChl->isChecked();
    g.type_icons = CheckBoxGenImgType->isChecked();
    g.verify_time = CheckBoxGenVerifyTime->isChecked();
    g.view_date = CheckBoxGenViewData->isChecked();
}

bool SettingsGeneralPage::apply_autostart(const QString& executable) const {
    const bool on = CheckBoxGenStartSys->isChecked();
    return on == m_autostart_loaded || set_autostart(on, executable);
}

}  // namespace zt
