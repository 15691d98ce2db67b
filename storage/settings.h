#pragma once

#include "core/maintenance.h"
#include "storage/ini_file.h"
#include "storage/settings_general.h"
#include "storage/settings_layout.h"
#include "storage/settings_print.h"
#include "storage/settings_reminders.h"

namespace zt {

// The user's preferences as live values: the dialogs and menus edit this model, the working
// code reads it, and settings.ini holds it between runs. One struct per file section, declared
// in the header of its feature (layout, general, reminders, printing); the key of every member
// is written next to it in the one key table of settings.cpp. Texts are CP1251 like the store.
// Code that works with one feature's part includes only that feature's header.
//
// Members whose default the window decides at run time (sizes of panels, column widths, icon
// sizes, the table font) start from the design values and keep their current value when their
// key is missing from the file; every other missing or unreadable key reads as its default.

// ---------------------------------------------------------------- the model

// The four groups, always loaded and saved whole.
enum class SettingsGroup { layout, general, reminders, printing };

struct Settings final {
    // group A
    MainWindowSettings main_window;
    SidePanelSettings side_panel;
    ChannelPanelSettings channel_panel;
    GenrePanelSettings genre_panel;
    ProgramPagesSettings pages;
    ProgramViewSettings program_view;
    AlarmSwitchSettings alarm_switches;
    DownloadDialogSettings download_dialog;
    DownloadSettings download;
    ChannelGroupSettings channel_group;
    // group B
    GeneralSettings general;
    ProxySettings proxy;
    PersonalSettings personal;
    ViewSettings view;
    ServiceSettings service;
    // group C
    AlarmGeneralSettings alarm_general;
    AlarmWindowSettings alarm_window;
    AlarmSoundSettings alarm_sound;
    AlarmOsdSettings alarm_osd;
    // group D
    PrintPageSettings print_page;
    PrintColumnSettings print_columns;
    PrintLineSettings print_line;

    // Reads one group from what `ini` holds (call ini.load() first to see the file as it is
    // on disk). Never fails: missing keys and unreadable numbers give the defaults, except
    // for the members whose default is the window's current value.
    void load_group(const IniFile& ini, SettingsGroup group);
    // Puts one group into `ini` and writes the file. On SettingsWriteError nothing of this
    // save reaches the file and `ini` is left as it was before the call.
    void save_group(IniFile& ini, SettingsGroup group) const;
    void load_all(const IniFile& ini);
    // All four groups in one write.
    void save_all(IniFile& ini) const;

    bool operator==(const Settings&) const = default;

private:
    void put_group(IniFile& ini, SettingsGroup group) const;
};

// ---------------------------------------------------------------- derived values

// The maintenance options of the store: "Ставить оповещения на любимые передачи", the keep
// period of favourites (30, 90 or 180 days) and the rating reminders.
MaintenanceOptions maintenance_options(const Settings& settings);

}  // namespace zt
