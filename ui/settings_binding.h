#pragma once

#include <functional>
#include <utility>
#include <vector>

class QAction;
class QActionGroup;

namespace zt {

class SettingsStore;
struct Settings;

// Where a switch keeps its value in the settings model.
using SettingsFlag = std::function<bool&(Settings&)>;

// A checkable menu item that shows one flag of the live settings: choosing it writes the flag
// (one change of the store), and every change of the store sets its check mark. The same
// action may sit in several menus.
void bind_switch(QAction& action, SettingsStore& store, SettingsFlag flag);
// Two radio items of one group that show one flag: `on` is checked while it is set, `off`
// while it is not.
void bind_choice(QAction& off, QAction& on, SettingsStore& store, SettingsFlag flag);

// The items of an exclusive group, one flag each: choosing an item sets its flag and clears
// the others; a change of the store checks the first item whose flag is set, or none.
void bind_radio(QActionGroup& group, std::vector<std::pair<QAction*, SettingsFlag>> items,
                SettingsStore& store);

}  // namespace zt
