#pragma once

#include <QString>

namespace zt {

// Starting the program with the desktop session: an XDG autostart entry
// ($XDG_CONFIG_HOME/autostart/zorvan-tv.desktop, ~/.config without the variable) that the
// general settings page's check box makes and removes. The entry's presence is the setting.

QString autostart_entry_path();
bool autostart_enabled();
// Makes the entry for `executable` (started in its own folder, with the installed icon beside
// it where there is one) or removes it. Returns whether the entry now is as asked.
bool set_autostart(bool on, const QString& executable);

}  // namespace zt
