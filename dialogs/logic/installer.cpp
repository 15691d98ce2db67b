#include "dialogs/logic/installer.h"

#include <cstdio>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace zt {
namespace {

constexpr const char* kFolderImpossible =
    "Установка в указанную папку не возможна. Выберите другую папку.";
constexpr const char* kCopyFailed =
    "Ошибка копирования программы в указанную папку. Выберите другую папку.";

constexpr QFile::Permissions kExecutablePermissions =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
    QFile::ReadOther | QFile::ExeOther;

// A value of type string in a desktop entry: backslash and control characters escaped.
QString escape_string_value(const QString& text) {
    QString out;
    for (const QChar c : text) {
        switch (c.unicode()) {
            case '\\':
                out += QStringLiteral("\\\\");
                break;
            case '\n':
                out += QStringLiteral("\\n");
                break;
            case '\t':
                out += QStringLiteral("\\t");
                break;
            case '\r':
                out += QStringLiteral("\\r");
                break;
            default:
                out += c;
        }
    }
    return out;
}

bool write_file(const QString& path, const QByteArray& bytes, QFile::Permissions permissions) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) return false;
    return QFile::setPermissions(path, permissions);
}

bool same_file(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

// Copies the executable over `target`: to a temporary name first, checked whole, then renamed
// over the old copy, so a reinstall that fails (a full disk) leaves the installed program as
// it was.
bool copy_executable(const QString& source, const QString& target) {
    if (same_file(source, target)) return QFile::setPermissions(target, kExecutablePermissions);
    const QString temp = target + QStringLiteral(".new");
    QFile::remove(temp);
    const bool copied =
        QFile::copy(source, temp) && QFileInfo(temp).size() == QFileInfo(source).size() &&
        QFile::setPermissions(temp, kExecutablePermissions) &&
        ::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) == 0;
    if (!copied) QFile::remove(temp);
    return copied;
}

// An existing settings file is kept; anything else under its name (a folder) is a failure.
bool ensure_settings_file(const QString& path) {
    if (QFileInfo::exists(path)) return QFileInfo(path).isFile();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return QFileInfo(path).isFile();
    file.close();
    return file.error() == QFileDevice::NoError;
}

bool write_shortcut(const QString& folder, const QString& entry) {
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) return false;
    return write_desktop_file(QDir(folder).filePath(QString::fromLatin1(kShortcutName)), entry);
}

}  // namespace

QString default_install_folder() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir(base.isEmpty() ? QDir::homePath() : base)
        .filePath(QString::fromLatin1(kExecutableName));
}

QString start_menu_folder() {
    return QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
}

QString desktop_folder() {
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

QString desktop_exec_argument(const QString& argument) {
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += u'\\';
        if (c == u'%') quoted += u'%';
        quoted += c;
    }
    quoted += u'"';
    return escape_string_value(quoted);
}

bool write_desktop_file(const QString& path, const QString& entry) {
    // QSaveFile writes through a link to its target: the link itself goes first.
    if (QFileInfo(path).isSymLink() && !QFile::remove(path)) return false;
    return write_file(path, entry.toUtf8(), kExecutablePermissions);
}

QString desktop_entry(const QString& executable, const QString& folder, const QString& icon) {
    QString text = QStringLiteral(
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Version=1.0\n"
        "Name=ЗОРВАН. Телепрограмма.\n"
        "Comment=Телепрограмма\n");
    text += QStringLiteral("Exec=") + desktop_exec_argument(executable) + u'\n';
    text += QStringLiteral("Path=") + escape_string_value(folder) + u'\n';
    if (!icon.isEmpty()) text += QStringLiteral("Icon=") + escape_string_value(icon) + u'\n';
    text += QStringLiteral(
        "Terminal=false\n"
        "Categories=AudioVideo;TV;\n");
    return text;
}

InstallOutcome install(const InstallOptions& options, UserInterface& ui) {
    if (options.folder.trimmed().isEmpty()) {
        ui.show_msg(MsgKind::Error, "Необходимо указать место установки.");
        return InstallOutcome::stay;
    }
    const QString folder = QDir::cleanPath(QDir(options.folder).absolutePath());
    QDir().mkpath(folder);
    if (!QFileInfo(folder).isDir()) {
        ui.show_msg(MsgKind::Error, kFolderImpossible);
        return InstallOutcome::stay;
    }
    const QDir dir(folder);
    const QString target = dir.filePath(QString::fromLatin1(kExecutableName));
    if (!copy_executable(options.executable, target) ||
        !ensure_settings_file(dir.filePath(QString::fromLatin1(kSettingsName)))) {
        ui.show_msg(MsgKind::Error, kCopyFailed);
        return InstallOutcome::stay;
    }

    QString icon;
    if (!options.icon_png.isEmpty() && (options.start_menu || options.desktop)) {
        const QString path = dir.filePath(QString::fromLatin1(kIconName));
        if (write_file(path, options.icon_png,
                       QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther))
            icon = path;
    }
    const QString entry = desktop_entry(target, folder, icon);
    if (options.start_menu) {
        const QString menu = start_menu_folder();
        if (!menu.isEmpty()) QDir().mkpath(menu);
        if (!write_shortcut(menu, entry))
            ui.show_msg(MsgKind::Error, "Ошибка создания ярлыка в меню \"Пуск\".");
    }
    if (options.desktop) {
        // The desktop folder (the XDG one, ~/Desktop without it) is made when it is missing.
        const QString desktop = desktop_folder();
        if (!desktop.isEmpty()) QDir().mkpath(desktop);
        if (!write_shortcut(desktop, entry))
            ui.show_msg(MsgKind::Error, "Ошибка создания ярлыка на рабочем столе.");
    }

    ui.show_msg(MsgKind::Info, "Установка уcпешно завершена.");
    return InstallOutcome::finished;
}

}  // namespace zt
