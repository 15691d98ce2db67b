#pragma once

#include <QDialog>
#include <QWidget>
#include <string>
#include <vector>

#include "core/time_zones.h"
#include "managers/logic/channel_groups.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;

namespace zt {

// `TFMgrChlGrpAdd` "Создание группы" (and, with another caption, `TFMgrChlGrpEdit`): the
// group's name and description. Modal, fixed size; "Сохранить" accepts, "Отмена" rejects.
class TFMgrChlGrpAdd : public QDialog {
    Q_OBJECT
public:
    explicit TFMgrChlGrpAdd(QWidget* parent = nullptr,
                            const QString& caption = QStringLiteral("Создание группы"));
    // Shows the dialog with these texts (CP1251); true on "Сохранить", with the texts in
    // `name` and `descr`.
    bool ask(std::string& name, std::string& descr);

private:
    QLineEdit* EditName = nullptr;
    QLineEdit* EditDescr = nullptr;
};

// `TFMgrChlGrpEdit` "Изменение группы".
class TFMgrChlGrpEdit final : public TFMgrChlGrpAdd {
    Q_OBJECT
public:
    explicit TFMgrChlGrpEdit(QWidget* parent = nullptr);
};

// The shift fields of the two time dialogs: sign, hours ":" minutes, and the time-zone
// presets, whose choice fills the other three. Hours and minutes take only digits.
class ShiftFields final : public QWidget {
    Q_OBJECT
public:
    explicit ShiftFields(QWidget* parent = nullptr);
    // Fills the preset box with the captions of the zones (CP1251), once.
    void set_zones(const std::vector<time_gmt>& zones);
    void set(const shift_fields& fields);
    shift_fields get() const;
    // The shift text the fields give ("00:00", "+hh:mm", "-hh:mm").
    std::string shift_text() const;
    // No preset chosen.
    void clear_preset();
    // The focus goes to the hours.
    void focus_hours();

private:
    QComboBox* ComboBoxTimeMP = nullptr;
    QLineEdit* EditTimeHour = nullptr;
    QLineEdit* EditTimeMin = nullptr;
    QComboBox* ComboBoxTimeSel = nullptr;

    std::vector<time_gmt> m_zones;
};

// `TFMgrChlInGrpEdit` "Изменение канала": a member's name, description (with the markup
// hint), shift and button.
class TFMgrChlInGrpEdit final : public QDialog {
    Q_OBJECT
public:
    explicit TFMgrChlInGrpEdit(QWidget* parent = nullptr);
    ShiftFields& shift() { return *m_shift; }
    // Shows the dialog filled from `fields` (no preset chosen); true on "Сохранить", with the
    // edited values in `fields`.
    bool ask(member_fields& fields, const shift_fields& shift);

private:
    QLineEdit* EditName = nullptr;
    QPlainTextEdit* MemoDescr = nullptr;
    QToolButton* BitBtnHelp = nullptr;
    QLineEdit* EditNum = nullptr;
    ShiftFields* m_shift = nullptr;
};

// `TFMgrChlInGrpTime` "Изменение времени": one shift for several members. Keeps the values
// of its previous use (at first "минус", "00", "00").
class TFMgrChlInGrpTime final : public QDialog {
    Q_OBJECT
public:
    explicit TFMgrChlInGrpTime(QWidget* parent = nullptr);
    ShiftFields& shift() { return *m_shift; }
    // True on "Сохранить", with the shift text in `shift_text`.
    bool ask(std::string& shift_text);

private:
    ShiftFields* m_shift = nullptr;
};

}  // namespace zt
