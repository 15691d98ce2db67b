#pragma once

#include <string>

#include "reminders/logic/alarm_event.h"

namespace zt::reminders {

// The outputs of a reminder: the reminder window, the sound, the tray balloon, the on-screen
// display and the external program, plus the one-second display timer. The application
// implements it with the real windows; the tests with a recorder. Texts are CP1251.
class AlarmDelivery {
public:
    virtual ~AlarmDelivery() = default;

    // AlarmWinAdd: a new tab for `event`, made the current one; its progress bar starts at 0
    // of `bar_max` seconds and is hidden when `bar_max` is 0 (never closed by time).
    virtual void window_add(const AlarmEvent& event, int bar_max) = 0;
    // AlarmWinShow: places, sets the transparency and shows the window with its animation.
    virtual void window_show() = 0;
    virtual int window_tabs() const = 0;
    virtual void window_progress(int position) = 0;
    // Closes the window, discarding every tab.
    virtual void window_close() = 0;

    virtual void sound_play() = 0;
    virtual void sound_stop() = 0;

    // Whether the tray icon is on screen now (the main window is minimised to the tray).
    virtual bool tray_visible() const = 0;
    // Makes the tray icon visible and shows the balloon for `timeout_ms`.
    virtual void tray_show(const std::string& title, const std::string& text, int timeout_ms) = 0;
    // The display time is over: the balloon's title and text are dropped.
    virtual void tray_clear() = 0;

    virtual void osd_show(const AlarmEvent& event) = 0;

    // Starts `program` with `params` (split as a shell would) without waiting; `window` is
    // the window state wish 0 normal, 1 minimised, 2 maximised. Failure is ignored.
    virtual void start_program(const std::string& program, const std::string& params,
                               int window) = 0;

    // Enables the one-second timer that calls AlarmRunner::tick (TimerAlarmClose).
    virtual void close_timer_enable() = 0;
};

}  // namespace zt::reminders
