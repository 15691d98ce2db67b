#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "dialogs/logic/settings_form.h"
#include "dialogs/settings_pages.h"
#include "dialogs/settings_widgets.h"
#include "ui/cp_text.h"
#include "ui/option_captions.h"

namespace zt {
namespace {

// A masked edit: `mask` in Qt's input-mask form with its blank character.
QLineEdit* mask_edit(QWidget* parent, const char* name, const QString& mask, int width) {
    auto* edit = named<QLineEdit>(parent, name);
    edit->setInputMask(mask);
    edit->setFixedWidth(width);
    return edit;
}

// A row of widgets with a stretch at its end.
QHBoxLayout* row_of(std::initializer_list<QWidget*> widgets) {
    auto* row = new QHBoxLayout;
    for (QWidget* w : widgets) row->addWidget(w);
    row->addStretch(1);
    return row;
}

}  // namespace

SettingsPersonalPage::SettingsPersonalPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheetUser"));
    ComboBoxUserDescr = named<QComboBox>(this, "ComboBoxUserDescr");
    for (const std::string& caption : descr_template_captions())
        ComboBoxUserDescr->addItem(QString::fromStdString(caption));
    EditUserDescr1 = line_edit(this, "EditUserDescr1", 10);
    EditUserDescr2 = line_edit(this, "EditUserDescr2", 10);
    EditUserDescr1->setFixedWidth(50);
    EditUserDescr2->setFixedWidth(50);
    ComboBoxUserLove = named<QComboBox>(this, "ComboBoxUserLove");
    ComboBoxUserLove->addItems(option_captions(kLoveKeeps));
    CheckBoxUserRating =
        check_box(this, "CheckBoxUserRating", QStringLiteral("Устанавливать оповещение"));
    MaskEditUserRating = mask_edit(this, "MaskEditUserRating", QStringLiteral("00; "), 32);
    ComboBoxUserStartDay = named<QComboBox>(this, "ComboBoxUserStartDay");
    for (int h = 0; h < 24; ++h)
        ComboBoxUserStartDay->addItem(QString::fromStdString(day_start_text(h)));
    MaskEditUserBreak = mask_edit(this, "MaskEditUserBreak", QStringLiteral("00; "), 32);

    CheckBoxUserAutoStartProgress = check_box(this, "CheckBoxUserAutoStartProgress",
                                              QStringLiteral("\"Тихий\" режим получения"),
                                              QStringLiteral("Не выводить окно загрузки"));
    CheckBoxUserAutoStartProg =
        check_box(this, "CheckBoxUserAutoStartProg", QStringLiteral("При запуске программы"));
    CheckBoxUserAutoDay = check_box(this, "CheckBoxUserAutoDay", QStringLiteral("Ежедневно в:"));
    MaskEditUserAutoTime = mask_edit(this, "MaskEditUserAutoTime", QStringLiteral("00:00;-"), 50);
    MaskEditUserAutoStopTime =
        mask_edit(this, "MaskEditUserAutoStopTime", QStringLiteral("00; "), 32);
    MaskEditUserAutoStopTime->setToolTip(QStringLiteral("Пауза после запуска программы"));
    CheckBoxUserAutoMsg =
        check_box(this, "CheckBoxUserAutoMsg", QStringLiteral("Оповестить сообщением в трее"));

    auto* left = new QFormLayout;
    left->addRow(new QLabel(QStringLiteral("Выделять описание передач:"), this));
    left->addRow(ComboBoxUserDescr);
    left->addRow(row_of({new QLabel(QStringLiteral("слева:"), this), EditUserDescr1,
                         new QLabel(QStringLiteral("справа:"), this), EditUserDescr2}));
    left->addRow(new QLabel(QStringLiteral("Любимые и не любимые передачи:"), this));
    left->addRow(ComboBoxUserLove);
    left->addRow(CheckBoxUserRating);
    left->addRow(row_of({new QLabel(QStringLiteral("на передачи с рейтингом больше:"), this),
                         MaskEditUserRating, new QLabel(QStringLiteral("%"), this)}));

    auto* group = new QGroupBox(QStringLiteral("Автоматическое получение:"), this);
    group->setObjectName(QStringLiteral("GroupBoxUserAuto"));
    auto* auto_box = new QVBoxLayout(group);
    auto_box->addWidget(CheckBoxUserAutoStartProgress);
    auto_box->addWidget(CheckBoxUserAutoStartProg);
    auto_box->addLayout(
        row_of({new QLabel(QStringLiteral("Задержка перед получением:"), group),
                MaskEditUserAutoStopTime, new QLabel(QStringLiteral("мин."), group)}));
    auto_box->addLayout(row_of({CheckBoxUserAutoDay, MaskEditUserAutoTime}));
    auto_box->addWidget(CheckBoxUserAutoMsg);

    auto* right = new QFormLayout;
    right->addRow(group);
    right->addRow(QStringLiteral("Новый день начинается в:"), ComboBoxUserStartDay);
    right->addRow(QStringLiteral("Каналов в колонке в верхнем меню:"), MaskEditUserBreak);

    auto* grid = new QGridLayout(this);
    grid->addLayout(left, 0, 0, Qt::AlignTop);
    grid->addLayout(right, 0, 1, Qt::AlignTop);

    connect(ComboBoxUserDescr, &QComboBox::activated, this, &SettingsPersonalPage::template_chosen);
}

void SettingsPersonalPage::template_chosen(int item) {
    PersonalSettings p;
    store(p);
    apply_descr_template(item, p);
    EditUserDescr1->setText(from_cp(p.descr_left));
    EditUserDescr2->setText(from_cp(p.descr_right));
}

void SettingsPersonalPage::load(const PersonalSettings& p) {
    ComboBoxUserDescr->setCurrentIndex(0);
    EditUserDescr1->setText(from_cp(p.descr_left));
    EditUserDescr2->setText(from_cp(p.descr_right));
    ComboBoxUserLove->setCurrentIndex(kLoveKeeps.checked(p.love_keep));
    CheckBoxUserRating->setChecked(p.rating_alarm);
    MaskEditUserRating->setText(from_cp(p.rating_threshold));
    ComboBoxUserStartDay->setCurrentIndex(std::clamp(p.day_start, 0, 23));
    MaskEditUserBreak->setText(from_cp(p.menu_break));
    CheckBoxUserAutoStartProgress->setChecked(p.auto_quiet);
    CheckBoxUserAutoStartProg->setChecked(p.auto_on_start);
    CheckBoxUserAutoDay->setChecked(p.auto_daily);
    MaskEditUserAutoTime->setText(from_cp(p.auto_time));
    MaskEditUserAutoStopTime->setText(from_cp(p.auto_delay));
    CheckBoxUserAutoMsg->setChecked(p.auto_tray_msg);
}

void SettingsPersonalPage::store(PersonalSettings& p) const {
    p.descr_left = to_cp(EditUserDescr1->text());
    p.descr_right = to_cp(EditUserDescr2->text());
    p.love_keep = ComboBoxUserLove->currentIndex();
    p.rating_alarm = CheckBoxUserRating->isChecked();
    p.rating_threshold = to_cp(MaskEditUserRating->text().trimmed());
    p.day_start = ComboBoxUserStartDay->currentIndex();
    p.menu_break = to_cp(MaskEditUserBreak->text().trimmed());
    p.auto_quiet = CheckBoxUserAutoStartProgress->isChecked();
    p.auto_on_start = CheckBoxUserAutoStartProg->isChecked();
    p.auto_daily = CheckBoxUserAutoDay->isChecked();
    // The time keeps its empty positions as "-": such a time never matches the clock.
    p.auto_time = to_cp(MaskEditUserAutoTime->displayText());
    p.auto_delay = to_cp(MaskEditUserAutoStopTime->displayText());
    p.auto_tray_msg = CheckBoxUserAutoMsg->isChecked();
}

}  // namespace zt
