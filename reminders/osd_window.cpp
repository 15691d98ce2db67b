#include "reminders/osd_window.h"

#include <QGuiApplication>
#include <QScreen>

#include "core/progress.h"
#include "reminders/logic/alarm_event.h"
#include "reminders/osd_picture.h"
#include "storage/settings_reminders.h"
#include "ui/cp_text.h"
#include "ui/image_lists.h"
#include "ui/monitors.h"

namespace zt {

OsdContent osd_content(const reminders::AlarmEvent& event, const LogoImages& logos) {
    OsdContent c;
    c.channel_caption = from_cp(event.ChannelCaption);
    c.start_text = from_cp(event.StartText);
    c.title_text = from_cp(event.TitleText);
    if (const QPixmap* logo = logos.logo(event.ChannelLogo, 32)) c.logo = *logo;
    if (event.GenreIcon >= 0) c.genre_icon = type_icon(event.GenreIcon, 32);
    return c;
}

AlarmOsd::AlarmOsd(UserInterface& ui, QObject* parent) : QObject(parent), m_ui(ui) {
    m_close.setSingleShot(true);
    connect(&m_close, &QTimer::timeout, this, &AlarmOsd::hide);
}

AlarmOsd::~AlarmOsd() {
    delete m_window;
}

bool AlarmOsd::overlay_supported() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

void AlarmOsd::show(const OsdContent& content, const AlarmOsdSettings& settings,
                    int close_after_seconds) {
    hide();
    const bool overlay = settings.out == 1;
    if (overlay && !overlay_supported()) {
        m_ui.show_msg(MsgKind::Error, "Ошибка оверлея: Оверлей не поддерживается.");
        return;
    }
    QScreen* screen = overlay ? QGuiApplication::primaryScreen() : monitor_screen(settings.monitor);
    if (!screen) return;
    // The overlay covers the whole display, full-screen windows included; the window stays
    // in the work area beside the panels.
    const QRect area = overlay ? screen->geometry() : screen->availableGeometry();
    const OsdPicture picture = draw_osd(content, settings, area);

    m_window = new TFAlarmOSD(overlay);
    m_window->set_picture(picture);
    m_window->setScreen(screen);
    m_window->setGeometry(QRect(picture.layout.origin, picture.layout.size));
    m_window->show();
    if (close_after_seconds > 0) m_close.start(close_after_seconds * 1000);
}

void AlarmOsd::hide() {
    m_close.stop();
    if (m_window) {
        m_window->hide();
        m_window->deleteLater();
        m_window = nullptr;
    }
}

}  // namespace zt
