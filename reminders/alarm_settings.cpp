#include "reminders/alarm_settings.h"

#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/progress.h"
#include "core/store.h"
#include "reminders/alarm_settings_general.h"
#include "reminders/alarm_settings_osd.h"
#include "reminders/alarm_settings_sound.h"
#include "reminders/alarm_settings_window.h"
#include "reminders/logic/alarm_tables.h"
#include "reminders/osd_window.h"
#include "storage/settings_store.h"
#include "ui/cp_text.h"
#include "ui/image_lists.h"

namespace zt {

TFAlarmSettings::TFAlarmSettings(SettingsStore& settings, IniFile& ini, UserInterface& ui,
                                 AlarmSound& sound, AlarmOsd& osd, const all_list& store,
                                 QWidget* parent)
    : QDialog(parent), m_settings(settings), m_ini(ini), m_ui(ui), m_store(store) {
    setObjectName(QStringLiteral("TFAlarmSettings"));
    setWindowTitle(QStringLiteral("Настройка оповещения"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setModal(false);

    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("PageControl"));
    auto* general = new AlarmSettingsGeneral(settings, tabs);
    auto* window = new AlarmSettingsWindow(settings, tabs);
    auto* sound_tab = new AlarmSettingsSound(settings, sound, tabs);
    auto* osd_tab = new AlarmSettingsOsd(
        settings, osd, [this] { return osd_sample(); },
        [&settings] { return reminders::AlarmDisplaySeconds(settings.get().alarm_general.hide); },
        tabs);
    QStyle* st = style();
    tabs->addTab(general, st->standardIcon(QStyle::SP_FileDialogDetailedView),
                 QStringLiteral("Основное"));
    tabs->addTab(window, st->standardIcon(QStyle::SP_TitleBarNormalButton), QStringLiteral("Окно"));
    tabs->addTab(sound_tab, st->standardIcon(QStyle::SP_MediaVolume), QStringLiteral("Звук"));
    tabs->addTab(osd_tab, st->standardIcon(QStyle::SP_DesktopIcon), QStringLiteral("OSD"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(tabs);

    connect(general, &AlarmSettingsGeneral::test_tray_requested, this,
            &TFAlarmSettings::test_tray_requested);
    connect(general, &AlarmSettingsGeneral::test_program_requested, this,
            &TFAlarmSettings::test_program_requested);
    connect(window, &AlarmSettingsWindow::test_window_requested, this,
            &TFAlarmSettings::test_window_requested);
    for (AlarmSettingsTab* tab :
         std::initializer_list<AlarmSettingsTab*>{general, window, sound_tab, osd_tab})
        tab->load();
    setFixedSize(sizeHint().expandedTo(QSize(431, 225)));
}

void TFAlarmSettings::open_centred() {
    if (QWidget* owner = parentWidget()) {
        QRect frame = geometry();
        frame.moveCenter(owner->frameGeometry().center());
        move(frame.topLeft());
    }
    show();
    raise();
    activateWindow();
}

OsdContent TFAlarmSettings::osd_sample() const {
    OsdContent sample;
    sample.channel_caption = QStringLiteral("[001] Канал");
    sample.start_text = QStringLiteral("12:00");
    sample.title_text = QStringLiteral("Название передачи");
    // The first channel with a logo lends the sample its name and logo, so the sample looks
    // as a reminder of the user's own channels will.
    LogoImages logos;
    logos.refresh(m_store);
    for (const auto& channel : m_store.channels) {
        if (channel->logo < 0) continue;
        if (const QPixmap* logo = logos.logo(channel->logo, 32)) {
            sample.channel_caption = QStringLiteral("[001] ") + from_cp(channel->name);
            sample.logo = *logo;
            break;
        }
    }
    if (!m_store.types.empty()) sample.genre_icon = type_icon(m_store.types.front()->image, 32);
    return sample;
}

void TFAlarmSettings::reject() {
    if (m_ui.show_msg(MsgKind::Question, "Сохранить настройки?")) {
        try {
            m_settings.get().save_group(m_ini, SettingsGroup::reminders);
        } catch (const SettingsWriteError& e) {
            m_ui.show_msg(MsgKind::Error, e.what());
        }
    }
    read_back();
    QDialog::reject();
}

void TFAlarmSettings::read_back() {
    Settings& model = m_settings.model();
    // The reminder window's size shares the section but is no control of this window: it
    // keeps the size the window has now.
    const int width = model.alarm_general.window_width;
    const int height = model.alarm_general.window_height;
    model.load_group(m_ini, SettingsGroup::reminders);
    model.alarm_general.window_width = width;
    model.alarm_general.window_height = height;
    m_settings.reloaded();
}

}  // namespace zt
