#pragma once

#include <QObject>
#include <array>

class QAction;
class QMenu;

namespace zt {

struct Settings;

// The reminder switches of "Оповещение" in the main menu and their twins in the tray menu. The
// main items check themselves and write the value into the settings model, which the reminder
// check reads; the tray twins show the same state and a click on one acts as a click on its
// main item. "Включено" enables the five delivery switches in both menus.
class ReminderMenu final : public QObject {
    Q_OBJECT
public:
    ReminderMenu(Settings& settings, QMenu& main_menu, QMenu& tray_menu, QObject* parent = nullptr);

    // MPanelAlarmOn .. MPanelAlarmAll and MTrayAlarmOn .. MTrayAlarmAll.
    std::array<QAction*, 6> main_items{};
    std::array<QAction*, 6> tray_items{};

    // Checks, mirrors and enables every item from the settings model (after loading).
    void apply_settings();

private:
    void main_clicked(std::size_t index);

    Settings& m_settings;
};

}  // namespace zt
