#pragma once

#include <string>

#include "reminders/logic/alarm_check.h"
#include "reminders/logic/alarm_delivery.h"
#include "reminders/logic/start_index.h"

namespace zt {
class all_list;
struct Settings;
}  // namespace zt

namespace zt::reminders {

// Runs the minute scan and delivers its hits, and counts the display time down once a second.
// Reads the live settings at every scan and tick, so a change in the settings dialog acts at
// once. Holds the current reminder (`AlarmEvent`) and the display countdown.
class AlarmRunner final {
public:
    AlarmRunner(const all_list& store, const Settings& settings, AlarmDelivery& delivery)
        : m_store(store), m_settings(settings), m_out(delivery) {}

    // AlarmCheck at the store clock's current minute, then the delivery: one tab per hit, the
    // external program once, the window shown once, one sound, one balloon listing every hit,
    // the on-screen display with the last hit.
    const AlarmScan& AlarmCheck();

    // The settings window's sample in the reminder window: a tab whose progress bar counts the
    // display time from its start, as a scan's tabs do, and the window shown.
    void show_sample(const AlarmEvent& event);

    // TimerAlarmClose, every second while enabled: the countdown, the window's progress bar
    // and closing, the sound stop and the balloon clearing.
    void tick();

    // The most recent reminder; HideCountdown is the countdown (-1 idle).
    const AlarmEvent& event() const { return m_event; }
    int HideCountdown() const { return m_event.HideCountdown; }
    const AlarmScan& last_scan() const { return m_scan; }
    int bar_position() const { return m_bar; }

private:
    const all_list& m_store;
    const Settings& m_settings;
    AlarmDelivery& m_out;
    StartIndex m_index;
    AlarmScan m_scan;
    AlarmEvent m_event;
    std::string m_balloon_text;  // what the balloon shows until the display time is over
    int m_bar = 0;
    int m_bar_max = 0;
};

}  // namespace zt::reminders
