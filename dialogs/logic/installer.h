#pragma once

#include <QByteArray>
#include <QString>

#include "core/program_files.h"
#include "core/progress.h"

namespace zt {

// File work of the installation window, without widgets: the folder it proposes, the copy of
// the running executable, the empty settings file and the shortcuts. The shortcuts are
// freedesktop desktop entries in the applications menu and on the desktop; their folders come
// from QStandardPaths, so XDG_DATA_HOME, XDG_CONFIG_HOME and HOME decide them.

// The file name of both shortcuts and of the icon they show.
inline constexpr const char* kShortcutName = "zorvan_tv.desktop";
inline constexpr const char* kIconName = "zorvan_tv.png";

// The folder proposed at first: "zorvan_tv" in the user's data folder
// (~/.local/share/zorvan_tv).
QString default_install_folder();
// The applications menu folder and the desktop folder.
QString start_menu_folder();
QString desktop_folder();

struct InstallOptions final {
    QString folder;      // where to install; may not exist yet
    QString executable;  // the running executable, copied into the folder
    bool start_menu = true;
    bool desktop = true;
    QByteArray icon_png;  // written beside the executable for the shortcuts; empty: no icon
};

enum class InstallOutcome {
    stay,      // a message told what is wrong; the window stays for another try
    finished,  // installed (the success message was shown); the application ends
};

// Installs as the window's "Установить" does, telling the user through `ui` (information and
// errors). A shortcut that cannot be written is reported and the installation goes on; a folder
// that cannot be made or an executable or settings file that cannot be written stops it before the
// success message.
InstallOutcome install(const InstallOptions& options, UserInterface& ui);

// The desktop entry that starts `executable` in `folder`, showing `icon` (empty: none).
QString desktop_entry(const QString& executable, const QString& folder, const QString& icon);
// One argument of a desktop entry's Exec key, quoted and escaped.
QString desktop_exec_argument(const QString& argument);
// Writes a desktop entry file whole or not at all. A link planted under its name is replaced by
// the file, never followed.
bool write_desktop_file(const QString& path, const QString& entry);

}  // namespace zt
