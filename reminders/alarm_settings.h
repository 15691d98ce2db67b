#pragma once

#include <QDialog>

namespace zt {

class AlarmOsd;
class AlarmSound;
class IniFile;
class SettingsStore;
class UserInterface;
class all_list;
struct OsdContent;

// The reminder settings window (`TFAlarmSettings`, "Настройка оповещения"): tabs "Основное",
// "Окно", "Звук" and "OSD" over the reminder sections of the live settings. Every change is
// written into the model at once, so the next reminder already follows it; closing asks
// "Сохранить настройки?": "Да" writes the reminder sections to settings.ini, and in both cases
// the sections are read back from the file, so "Нет" drops every change since the last save.
// It exists for the whole run and is shown without blocking.
class TFAlarmSettings final : public QDialog {
    Q_OBJECT
public:
    TFAlarmSettings(SettingsStore& settings, IniFile& ini, UserInterface& ui, AlarmSound& sound,
                    AlarmOsd& osd, const all_list& store, QWidget* parent = nullptr);

    // Shows the window centred on its parent (the main window) and brings it to the front.
    void open_centred();

    // The sample reminder of "Показать": channel "[001] Канал", start "12:00", title
    // "Название передачи", no logo, the icon of the catalogue's first genre.
    OsdContent osd_sample() const;

signals:
    // "Проверить" of tab "Окно": show a sample reminder in the reminder window.
    void test_window_requested();
    // "Проверить" beside "Оповещение в трее:": show a sample reminder as a tray balloon.
    void test_tray_requested();
    // "Проверить" of tab "Основное": start the external program as a reminder does.
    void test_program_requested();

public slots:
    // Closing (the close box, Escape): the save question, then the sections from the file.
    void reject() override;

private:
    void read_back();

    SettingsStore& m_settings;
    IniFile& m_ini;
    UserInterface& m_ui;
    const all_list& m_store;
};

}  // namespace zt
