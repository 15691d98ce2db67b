#pragma once

#include <functional>

#include "reminders/alarm_settings_tab.h"

namespace zt {

class AlarmOsd;
struct OsdContent;

// Tab "OSD": output method, size, place, monitor and colours of the on-screen display, with
// "Показать" (a sample reminder) and "Убрать".
class AlarmSettingsOsd final : public AlarmSettingsTab {
    Q_OBJECT
public:
    // `sample` gives the reminder "Показать" shows; `display_seconds` the close time of the
    // current display time setting (0: never).
    AlarmSettingsOsd(SettingsStore& store, AlarmOsd& osd, std::function<OsdContent()> sample,
                     std::function<int()> display_seconds, QWidget* parent = nullptr);
};

}  // namespace zt
