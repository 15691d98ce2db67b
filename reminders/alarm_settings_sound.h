#pragma once

#include "reminders/alarm_settings_tab.h"

namespace zt {

class AlarmSound;

// Tab "Звук": a built-in sound or a file, whether the sound stops with the display time, and
// "Воспроизвести" / "Остановить".
class AlarmSettingsSound final : public AlarmSettingsTab {
    Q_OBJECT
public:
    AlarmSettingsSound(SettingsStore& store, AlarmSound& sound, QWidget* parent = nullptr);
};

}  // namespace zt
