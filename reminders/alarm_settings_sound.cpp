#include "reminders/alarm_settings_sound.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "reminders/alarm_sound.h"
#include "reminders/logic/sound_list.h"

namespace zt {

AlarmSettingsSound::AlarmSettingsSound(SettingsStore& store, AlarmSound& sound, QWidget* parent)
    : AlarmSettingsTab(store, parent) {
    QStringList names;
    for (int i = 0; i <= kBuiltinSoundCount; ++i) names << QString::fromStdString(sound_caption(i));
    add_label(0, QStringLiteral("Звук:"));
    QComboBox* name = add_combo(0, 1, "ComboBoxSoundName", names,
                                [](Settings& s) -> int& { return s.alarm_sound.name; });
    name->setMaxVisibleItems(15);
    grid().addWidget(name, 0, 1, 1, 3);
    add_label(1, QStringLiteral("Файл:"));
    // Choosing a file switches the sound to "Из файла".
    QLineEdit* file = add_path(
        1, "EditSoundFile", "BitBtnSoundFileOpen", "BitBtnSoundFileClear",
        AlarmSound::file_filter(), [](Settings& s) -> std::string& { return s.alarm_sound.file; },
        [](Settings& s) { s.alarm_sound.name = 0; });
    // The file counts only with "Из файла".
    on_load([this, file] { file->setEnabled(settings().alarm_sound.name == 0); });
    add_check(2, 1, "CheckBoxSoundEnd", QStringLiteral("Пока оповещение на экране"),
              [](Settings& s) -> bool& { return s.alarm_sound.stop_at_end; });
    QPushButton* play = add_button(3, 1, "BitBtnSoundPlay", QStringLiteral("Воспроизвести"));
    QPushButton* stop = add_button(3, 2, "BitBtnSoundStop", QStringLiteral("Остановить"));
    grid().addWidget(stop, 3, 2, 1, 2);
    connect(play, &QPushButton::clicked, this,
            [this, &sound] { sound.play(settings().alarm_sound); });
    connect(stop, &QPushButton::clicked, this, [&sound] { sound.stop(); });
    grid().setRowStretch(4, 1);
}

}  // namespace zt
