#include "dialogs/logic/autostart_entry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "dialogs/logic/installer.h"

namespace zt {

QString autostart_entry_path() {
    QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (config.isEmpty()) config = QDir::home().filePath(QStringLiteral(".config"));
    return QDir(config).filePath(QStringLiteral("autostart/zorvan-tv.desktop"));
}

bool autostart_enabled() {
    const QFileInfo entry(autostart_entry_path());
    return entry.isFile() && !entry.isSymLink();
}

bool set_autostart(bool on, const QString& executable) {
    const QString path = autostart_entry_path();
    if (!on) {
        // A link is removed as a link; what it points at stays.
        const QFileInfo entry(path);
        if (!entry.exists() && !entry.isSymLink()) return true;
        return QFile::remove(path);
    }
    const QFileInfo exe(executable);
    const QString folder = exe.absolutePath();
    const QString icon = QDir(folder).filePath(QString::fromLatin1(kIconName));
    QString entry =
        desktop_entry(exe.absoluteFilePath(), folder, QFileInfo::exists(icon) ? icon : QString());
    entry += QStringLiteral("X-GNOME-Autostart-enabled=true\n");
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    return write_desktop_file(path, entry);
}

}  // namespace zt
