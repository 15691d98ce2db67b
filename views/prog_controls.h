#pragma once

#include <QLineEdit>
#include <QToolButton>
#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "views/logic/page_options.h"

class QComboBox;
class QLabel;
class QMenu;

namespace zt {

// A masked edit whose owner acts when it is left (focus lost or Return pressed), whether or
// not its text is complete.
class LeaveEdit final : public QLineEdit {
    Q_OBJECT
public:
    LeaveEdit(const QString& mask, const QString& text, QWidget* parent = nullptr);
    // The text with the blanks of unfilled positions as spaces.
    std::string edit_text() const;
    void set_edit_text(const std::string& text);

signals:
    void left();

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// A "..." button: a plain left click opens its menu at the pointer, the Space key at the
// button's top-left corner.
class MenuButton final : public QToolButton {
    Q_OBJECT
public:
    MenuButton(QMenu* menu, QWidget* parent = nullptr);
    QMenu* popup_menu() const { return m_menu; }
    // Where the menu opened last (tests).
    QPoint last_popup() const { return m_last; }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void open_at(const QPoint& global);
    QMenu* m_menu;
    QPoint m_last;
};

// Controls of the "Скоро" page.
class SoonPageControls final : public QWidget {
    Q_OBJECT
public:
    explicit SoonPageControls(QWidget* parent = nullptr);

    QMenu* PopupMenuProgNextStart = nullptr;
    QMenu* PopupMenuProgNextFinish = nullptr;
    QMenu* PopupMenuProgNextProfiles = nullptr;

    views::SoonControls values() const;
    // The width the drop-down list of ComboBoxNextType opens with.
    int drop_down_width() const;

signals:
    // A control changed what the page shows.
    void changed();

private:
    LeaveEdit* EditNextTimeStart = nullptr;
    LeaveEdit* EditNextTimeFinish = nullptr;
    LeaveEdit* EditNextLine = nullptr;
    QComboBox* ComboBoxNextType = nullptr;
    MenuButton* BitBtnNextTimeStart = nullptr;
    MenuButton* BitBtnNextTimeFinish = nullptr;
    MenuButton* BitBtnNextTimeProfiles = nullptr;

    QMenu* build_time_menu(LeaveEdit* edit, const char* name);
    QMenu* build_profiles_menu();
};

// Controls of the "По дням" page.
class DaysPageControls final : public QWidget {
    Q_OBJECT
public:
    explicit DaysPageControls(QWidget* parent = nullptr);

    QMenu* PopupMenuProgDaysStart = nullptr;
    QMenu* PopupMenuProgDaysFinish = nullptr;

    // The controls' part of the options; the week comes from the menu.
    views::DaysControls values() const;
    // The dates of the shown week as the day buttons' hints.
    void set_hints(const std::array<views::DayButtonText, 7>& texts);
    // Presses day `day` (0 = "ПН"); in exclusive mode the others are released.
    void press_day(int day);
    // Both time edits take the start of a new day ("hh:00").
    void set_day_start(const std::string& text);
    // The print button is shown once printing is there.
    void set_print_handler(std::function<void()> handler);

signals:
    void changed();

private:
    std::array<QToolButton*, 7> SpeedButtonDays{};  // "ПН" .. "ВС"
    QToolButton* SpeedButtonDaysSel = nullptr;      // "Выбор"
    QToolButton* SpeedButtonDaysGrp = nullptr;      // "Группировать по дням"
    LeaveEdit* EditDaysTimeStart = nullptr;
    LeaveEdit* EditDaysTimeFinish = nullptr;
    MenuButton* BitBtnDaysTimeStart = nullptr;
    MenuButton* BitBtnDaysTimeFinish = nullptr;
    QToolButton* BitBtnDaysPrint = nullptr;  // "Распечатать таблицу"

    void day_clicked(int day);
    void selection_mode_clicked();
    std::function<void()> m_print;
};

// Controls of the "Поиск" page.
class FindPageControls final : public QWidget {
    Q_OBJECT
public:
    explicit FindPageControls(QWidget* parent = nullptr);

    views::FindControls values() const;

signals:
    // "Искать" with a search text.
    void find_requested();

private:
    QLineEdit* EditFind = nullptr;
    QComboBox* ComboBoxFind = nullptr;
    QToolButton* BitBtnFind = nullptr;  // "Искать"
};

}  // namespace zt
