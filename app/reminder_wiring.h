#pragma once

#include <memory>

namespace zt {

class all_list;
struct Settings;
class AlarmOutputs;
class LogoImages;
class ReminderOutputs;
class TFMain;
class TFMsg;

// The reminders of the running program: the scan runs at the end of every clock refresh of
// the programme pages, its outputs are the main window's tray icon and logos, errors go to
// the message window, and the calendar export joins the "Оповещение" menu.
std::unique_ptr<AlarmOutputs> make_reminders(all_list& store, Settings& settings, TFMain& main,
                                             TFMsg& msg);

// Plugs the sound player and the on-screen display into the scan's outputs, and the settings
// window's test buttons into the reminder window, the balloon and the program start.
void plug_reminder_outputs(AlarmOutputs& alarms, ReminderOutputs& outputs, const Settings& settings,
                           const LogoImages& logos);

}  // namespace zt
