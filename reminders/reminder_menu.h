#pragma once

#include <QObject>
#include <array>

class QAction;
class QMenu;

namespace zt {

struct Settings;

// The reminder switches of "Оповещение": one checkable action each, shown in the main menu
// and in the tray menu alike. A click writes the value into the settings model, which the
// reminder check reads; "Включено" enables the five delivery switches.
class ReminderMenu final : public QObject {
    Q_OBJECT
public:
    explicit ReminderMenu(Settings& settings, QObject* parent = nullptr);

    // MPanelAlarmOn .. MPanelAlarmAll.
    const std::array<QAction*, 6>& items() const { return m_items; }
    // "Настройка" (MPanelAlarmSettings): opens the reminder settings window.
    QAction* settings_item() const { return m_settings_item; }
    // Puts the switches, with their separators, and "Настройка" into a menu.
    void fill(QMenu& menu) const;

    // Checks and enables every item from the settings model (after loading).
    void apply_settings();

private:
    void clicked(std::size_t index);

    Settings& m_settings;
    std::array<QAction*, 6> m_items{};
    QAction* m_settings_item = nullptr;
};

}  // namespace zt
